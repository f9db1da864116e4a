// pictavo-render show: the full-screen show on the headless host in
// simulated time, with the settings given on the command line.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/render/arguments.h"
#include "app/render/commands.h"
#include "app/render/png_writer.h"
#include "common/text.h"
#include "hosts/headless/headless_host.h"
#include "slideshow/show_trace.h"
#include "slideshow/slide_window.h"
#include "startup/main.h"

namespace pictavo::render {

namespace {

// Without the engine: the new slide replaces the old at once, after one
// look at the message loop as every transition step takes.
class CutTransitions : public slideshow::TransitionRunner {
  public:
    explicit CutTransitions(platform::EventLoop& loop) : loop_(loop) {}
    void Transition(int16_t effect, platform::Surface& picture1,
                    platform::Surface& picture2) override {
        if (effect < 0 || effect > 42) return;
        loop_.doEvents();
        if (loop_.endRequested()) return;
        picture2.copyFrom(picture1, 0, 0, picture1.width(), picture1.height(), 0, 0);
        picture2.present();
    }

  private:
    platform::EventLoop& loop_;
};

// One line per event, simulated milliseconds first; the screen after each
// slide change as a numbered PNG.
class ShowRecorder : public slideshow::ShowTrace {
  public:
    ShowRecorder(const platform::Clock& clock, slideshow::TransitionRunner& engine,
                 std::ostream* trace, std::string outDir)
        : ShowTrace(clock, 0, engine, trace, false), outDir_(std::move(outDir)) {}

    void slideChangeEnded(platform::Surface& screen) override {
        ++changes_;
        if (outDir_.empty() || !written_) return;
        char name[32];
        std::snprintf(name, sizeof name, "slide-%05d.png", changes_);
        auto saved = writePng((std::filesystem::path(outDir_) / name).string(), screen.snapshot());
        if (!saved) {
            std::cerr << "pictavo-render show: " << saved.error().message << "\n";
            written_ = false;
        }
    }

    int changes() const { return changes_; }
    bool ok() const { return written_ && ShowTrace::ok(); }

  private:
    std::string outDir_;
    int changes_ = 0;
    bool written_ = true;
};

struct ShowSettings {
    std::optional<PixelSize> size;  // always given
    std::string folder;
    int64_t seconds = 0;
    int32_t interval = 10;
    bool stretch = false;
    std::optional<uint32_t> seed;
    std::string trace;
    std::string outDir;
};

Result<ShowSettings> readShowSettings(const std::vector<std::string>& args) {
    auto parsed = readCommandArgs(
        args, {.valueOptions = {"--folder", "--size", "--seconds", "--interval", "--seed",
                                "--trace", "--out-dir"},
               .flags = {"--stretch"},
               .required = {{"--folder", "DIR"}, {"--size", "WxH"}, {"--seconds", "N"}}});
    if (!parsed) return parsed.error();
    ShowSettings settings;
    auto read = firstFailure({
        parsed->read("--size", settings.size),
        // A week of show is more than anyone renders.
        parsed->read("--seconds", 0, 7 * 24 * 3600, settings.seconds),
        parsed->read("--interval", 0, 86400, settings.interval),
        parsed->read("--seed", 0, UINT32_MAX, settings.seed),
    });
    if (!read) return read.error();
    settings.folder = parsed->valueOr("--folder");
    settings.stretch = parsed->has("--stretch");
    settings.trace = parsed->valueOr("--trace");
    settings.outDir = parsed->valueOr("--out-dir");
    return settings;
}

}  // namespace

int runShowCommand(const std::vector<std::string>& args, const RenderServices& services) {
    auto settings = readShowSettings(args);
    if (!settings) return badArguments("show", settings.error().message);

    platform::headless::HeadlessHost host;
    if (services.decoders) host.setDecoderSource(services.decoders);
    host.setPostScriptRenderer(services.postScript);
    host.screen().setPixels(settings->size->width, settings->size->height);
    SaverState state;
    measureScreen(host.screen(), state);
    state.PicturePath = settings->folder;
    if (state.PicturePath.empty() || state.PicturePath.back() != host.files().separator())
        state.PicturePath += host.files().separator();
    state.Interval = settings->interval;
    state.Stretch = settings->stretch ? 1 : 0;
    state.random.seed(settings->seed.value_or(host.clock().seedFromWallClock()));

    std::ofstream traceFile;
    if (!settings->trace.empty()) {
        traceFile.open(settings->trace);
        if (!traceFile) {
            std::cerr << "pictavo-render show: cannot write " << settings->trace << "\n";
            return 1;
        }
    }
    if (!settings->outDir.empty()) {
        std::error_code ignored;
        std::filesystem::create_directories(settings->outDir, ignored);
    }

    CutTransitions cut(host.eventLoop());
    std::unique_ptr<slideshow::TransitionRunner> engine =
        services.transitions ? services.transitions(host, state) : nullptr;
    ShowRecorder recorder(host.clock(), engine ? *engine : cut,
                          settings->trace.empty() ? nullptr : &traceFile, settings->outDir);
    // The show never sees input here, so the password is never asked for.
    slideshow::SlideWindow frmSS(host, state, recorder,
                                 [](const std::string& typed) { return typed; });
    frmSS.setObserver(&recorder);
    frmSS.show();
    host.eventLoop().runFor(settings->seconds * 1000);

    std::cout << recorder.changes() << " slide changes in " << settings->seconds << " s\n";
    traceFile.flush();
    return recorder.ok() ? 0 : 1;
}

}  // namespace pictavo::render
