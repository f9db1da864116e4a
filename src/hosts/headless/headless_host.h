#pragma once
// The whole platform in memory, for the tests and pictavo-render: a fake
// clock, scripted input, recorded calls, presented frames handed to a sink.
// Files are real (std::filesystem).

#include <functional>
#include <string>

#include "adapters/posix/std_file_system.h"
#include "hosts/headless/fake_clock.h"
#include "hosts/headless/headless_dialogs.h"
#include "hosts/headless/headless_event_loop.h"
#include "hosts/headless/headless_forms.h"
#include "hosts/headless/headless_frames.h"
#include "hosts/headless/headless_registry.h"
#include "hosts/headless/headless_screen.h"
#include "hosts/headless/headless_system.h"
#include "hosts/headless/headless_window_system.h"
#include "imaging/decoder.h"
#include "imaging/decoders/eps.h"
#include "platform/host.h"
#include "settings/memory_store.h"

namespace pictavo::platform::headless {

class HeadlessHost : public Host {
  public:
    HeadlessHost();

    HeadlessScreen& screen() override { return screen_; }
    FakeClock& clock() override { return clock_; }
    HeadlessEventLoop& eventLoop() override { return loop_; }
    HeadlessCursor& cursor() override { return cursor_; }
    HeadlessWindowSystem& windows() override { return windows_; }
    HeadlessSystemInfo& system() override { return system_; }
    HeadlessRegistry& registry() override { return registry_; }
    settings::MemorySettingsStore& settings() override { return settings_; }
    StdFileSystem& files() override { return files_; }
    HeadlessDialogs& dialogs() override { return dialogs_; }
    HeadlessFormFactory& forms() override { return forms_; }
    imaging::DecoderList platformDecoders() override;
    std::string defaultPictureFolder() const override { return defaultFolder_; }
    std::shared_ptr<const imaging::PostScriptRenderer> postScriptRenderer() override {
        return postScript_;
    }
    void setPostScriptRenderer(std::shared_ptr<const imaging::PostScriptRenderer> renderer) {
        postScript_ = std::move(renderer);
    }

    void setDecoderSource(std::function<imaging::DecoderList()> source) {
        decoderSource_ = std::move(source);
    }
    void setDefaultPictureFolder(std::string folder) { defaultFolder_ = std::move(folder); }

    // What the host's surfaces present; setFrameSink gets every frame.
    HeadlessFrames& frames() { return frames_; }
    void setFrameSink(FrameSink* sink) { frames_.setSink(sink); }

  private:
    HeadlessScreen screen_;
    FakeClock clock_;
    HeadlessEventLoop loop_{clock_};
    HeadlessCursor cursor_;
    HeadlessWindowSystem windows_;
    HeadlessSystemInfo system_;
    HeadlessRegistry registry_;
    settings::MemorySettingsStore settings_;
    StdFileSystem files_;
    HeadlessDialogs dialogs_;
    HeadlessFrames frames_;
    HeadlessFormFactory forms_{loop_, windows_, screen_, frames_};
    std::function<imaging::DecoderList()> decoderSource_;
    std::string defaultFolder_ = "/usr/share/backgrounds";
    std::shared_ptr<const imaging::PostScriptRenderer> postScript_;
};

}  // namespace pictavo::platform::headless
