#pragma once
// A slide show on the headless host: a folder of its own, the settings in
// a SaverState, and a transition engine stand-in that records each call and
// yields to the loop the way the real pacing does.

#include <algorithm>
#include <cctype>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hosts/headless/headless_host.h"
#include "slideshow/slide_window.h"
#include "slideshow/transition_runner.h"
#include "startup/main.h"
#include "state/saver_state.h"
#include "temp_folder.h"
#include "test_pictures.h"

namespace pictavo::testing {

class FakeTransitions : public slideshow::TransitionRunner {
  public:
    struct Call {
        int effect = 0;
        int64_t atMs = 0;
    };

    explicit FakeTransitions(platform::headless::HeadlessHost& host) : host_(host) {}

    // Each transition pauses this many times, each pause moving the clock on
    // and letting the loop dispatch, as TransitionDelay does.
    void setPauses(int pauses, int64_t millisecondsEach) {
        pauses_ = pauses;
        pauseMs_ = millisecondsEach;
    }

    void Transition(int16_t effect, platform::Surface& picture1,
                    platform::Surface& picture2) override {
        calls.push_back({effect, host_.clock().nowMillis()});
        ++depth;
        deepest = std::max(deepest, depth);
        for (int i = 0; i < pauses_; ++i) {
            if (onPause) onPause(static_cast<int>(calls.size()), i);
            host_.clock().advance(pauseMs_ * 1000);
            host_.eventLoop().doEvents();
            ++pausesRun;
            if (host_.eventLoop().endRequested()) {
                ++cutShort;
                --depth;
                return;
            }
        }
        picture2.copyFrom(picture1, 0, 0, picture1.width(), picture1.height(), 0, 0);
        --depth;
    }

    // Runs before each pause: (number of the transition from 1, pause from 0).
    std::function<void(int, int)> onPause;
    std::vector<Call> calls;
    int depth = 0;
    int deepest = 0;
    int pausesRun = 0;
    int cutShort = 0;

  private:
    platform::headless::HeadlessHost& host_;
    int pauses_ = 0;
    int64_t pauseMs_ = 0;
};

// Records what the show did.
class ShowLog : public slideshow::SlideShowObserver {
  public:
    void picturePlaced(int index, const std::string& name) override {
        placed.push_back(index);
        names.push_back(name);
    }
    void linePrinted(const std::string& line) override { lines.push_back(line); }
    void slideChangeEnded(platform::Surface&) override { ++changes; }

    std::vector<int> placed;
    std::vector<std::string> names;
    std::vector<std::string> lines;
    int changes = 0;
};

// Like the real encoding: case-blind, and as long as the text.
inline std::string fakeEncode(const std::string& typed) {
    std::string encoded = typed;
    for (char& c : encoded) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)) + 1);
    return encoded;
}

struct ShowFixture {
    ShowFixture(int screenWidth = 64, int screenHeight = 48) {
        host.setDecoderSource(ppmDecoders);
        host.screen().setPixels(screenWidth, screenHeight);
        measureScreen(host.screen(), state);
        state.PicturePath = folder.withSeparator();
        state.Interval = 0;
    }

    void addPicture(const std::string& name, int width, int height, imaging::Pixel colour) const {
        writePpm(folder.path() / name, width, height, colour);
    }

    slideshow::SlideWindow& start() {
        window = std::make_unique<slideshow::SlideWindow>(host, state, transitions, fakeEncode);
        window->setObserver(&log);
        window->show();
        return *window;
    }

    platform::headless::HeadlessForm& frmSS() { return *host.forms().find("frmSS"); }
    platform::headless::HeadlessForm* prompt() { return host.forms().find("frmSSPassword"); }
    platform::Surface& picture1() { return *frmSS().control("Picture1").surface(); }
    platform::Surface& picture2() { return *frmSS().control("Picture2").surface(); }
    void runSeconds(int seconds) { host.eventLoop().runFor(int64_t{seconds} * 1000); }
    bool ended() { return host.eventLoop().endRequested(); }

    platform::headless::HeadlessHost host;
    SaverState state;
    TempFolder folder;
    FakeTransitions transitions{host};
    ShowLog log;
    std::unique_ptr<slideshow::SlideWindow> window;
};

}  // namespace pictavo::testing
