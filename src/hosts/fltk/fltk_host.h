#pragma once
// The Linux desktop host: FLTK 1.3 windows on X11, the settings and the
// system's few values in files under $XDG_CONFIG_HOME/pictavo, real time.
//
// Checklist of the seam:
//   Screen        FltkScreen       the primary monitor, twips per pixel from Xft.dpi
//   Clock         SystemClock      steady clock, sleeps
//   EventLoop     FltkEventLoop    Fl::wait / Fl::check, SIGTERM ends it
//   Cursor        FltkCursor       display count, invisible cursor below 0
//   WindowSystem  FltkWindowSystem titles, topmost, reparenting, close hooks
//   SystemInfo    FltkSystemInfo   platform id 1, no screen-saver flag
//   Registry      FileRegistry     system.ini
//   SettingsStore FileSettingsStore settings.ini
//   FileSystem    StdFileSystem    mounted file systems as drives
//   Dialogs       FltkDialogs      message and input boxes
//   FormFactory   FltkFormFactory  any layout as FLTK widgets

#include <memory>
#include <optional>
#include <string>

#include "common/result.h"
// Before any X11 header, which defines None.
#include "adapters/posix/file_registry.h"
#include "adapters/posix/file_settings_store.h"
#include "adapters/posix/std_file_system.h"
#include "adapters/posix/system_clock.h"
#include "hosts/fltk/fltk_cursor.h"
#include "hosts/fltk/fltk_dialogs.h"
#include "hosts/fltk/fltk_embedding.h"
#include "hosts/fltk/fltk_event_loop.h"
#include "hosts/fltk/fltk_forms.h"
#include "hosts/fltk/fltk_screen.h"
#include "hosts/fltk/fltk_system.h"
#include "hosts/fltk/fltk_window_system.h"
#include "imaging/decoder.h"
#include "imaging/decoders/eps.h"
#include "platform/host.h"

namespace pictavo::platform::fltk {

// Opens the display DISPLAY names and hands it to FLTK, before a host is
// made. The reason, naming the display, when it cannot be opened: FLTK
// itself would end the program with a bare "Can't open display".
std::optional<std::string> openDisplay();

// Opens the display and sets FLTK up before any member needs it.
struct FltkSession {
    FltkSession();
};

class FltkHost : public Host {
  public:
    FltkHost();
    ~FltkHost() override;

    FltkScreen& screen() override { return screen_; }
    posix::SystemClock& clock() override { return clock_; }
    FltkEventLoop& eventLoop() override { return loop_; }
    FltkCursor& cursor() override { return cursor_; }
    FltkWindowSystem& windows() override { return windows_; }
    FltkSystemInfo& system() override { return system_; }
    posix::FileRegistry& registry() override { return registry_; }
    posix::FileSettingsStore& settings() override { return settings_; }
    StdFileSystem& files() override { return files_; }
    FltkDialogs& dialogs() override { return dialogs_; }
    FltkFormFactory& forms() override { return forms_; }
    imaging::DecoderList platformDecoders() override;
    std::unique_ptr<DecodingThreadScope> enterDecodingThread() override;
    std::string defaultPictureFolder() const override;
    std::shared_ptr<const imaging::PostScriptRenderer> postScriptRenderer() override;

    // From now on every window is drawn inside target, which stands for the
    // screen; the program takes no input, leaves the pointer alone and ends
    // when target is destroyed. An error when target does not exist.
    Result<void> embedInto(WindowHandle target);
    // The same on the root window (or the screen-saver host's virtual root).
    Result<void> embedIntoRoot();

  private:
    // The window drawn into stands for the screen: a new size of it is a
    // new screen size, and the windows that covered the old one cover it.
    void followEmbedTarget(int width, int height);

    FltkSession session_;
    FltkScreen screen_;
    posix::SystemClock clock_;
    FltkEventLoop loop_{clock_};
    FltkCursor cursor_;
    FltkWindowSystem windows_;
    FltkSystemInfo system_;
    posix::FileRegistry registry_;
    posix::FileSettingsStore settings_;
    StdFileSystem files_;
    FltkDialogs dialogs_{loop_, screen_};
    FltkFormFactory forms_{loop_, screen_, cursor_};
    std::unique_ptr<EmbedWatch> embedWatch_;
};

}  // namespace pictavo::platform::fltk
