#pragma once
// The Windows host: every platform interface on the Win32 API, all owned by
// one object that lives as long as the program.

#include "hosts/win32/open_windows.h"
#include "hosts/win32/registry_settings_store.h"
#include "hosts/win32/win32_clock.h"
#include "hosts/win32/win32_cursor.h"
#include "hosts/win32/win32_dialogs.h"
#include "hosts/win32/win32_event_loop.h"
#include "hosts/win32/win32_file_system.h"
#include "hosts/win32/win32_form_factory.h"
#include "hosts/win32/win32_registry.h"
#include "hosts/win32/win32_screen.h"
#include "hosts/win32/win32_system_info.h"
#include "hosts/win32/win32_window_system.h"
#include "imaging/decoder.h"
#include "imaging/decoders/eps.h"
#include "platform/host.h"

namespace pictavo::platform::win32 {

// COM for one thread while the object lives (the picture decoders need
// it): the window's thread for as long as the host lives, and each thread
// that decodes pictures for as long as it runs.
class ComApartment : public DecodingThreadScope {
  public:
    explicit ComApartment(bool multithreaded = false);
    ~ComApartment() override;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool initialised_ = false;
};

class Win32Host : public Host {
  public:
    Win32Host();

    Screen& screen() override { return screen_; }
    Clock& clock() override { return clock_; }
    EventLoop& eventLoop() override { return eventLoop_; }
    Cursor& cursor() override { return cursor_; }
    WindowSystem& windows() override { return windowSystem_; }
    SystemInfo& system() override { return systemInfo_; }
    Registry& registry() override { return registry_; }
    SettingsStore& settings() override { return settings_; }
    FileSystem& files() override { return files_; }
    Dialogs& dialogs() override { return dialogs_; }
    FormFactory& forms() override { return forms_; }
    // JPEG, PNG and TIFF through the Windows Imaging Component.
    imaging::DecoderList platformDecoders() override;
    // COM, multithreaded, for the imaging component on that thread.
    std::unique_ptr<DecodingThreadScope> enterDecodingThread() override;
    std::string defaultPictureFolder() const override { return "C:\\WINDOWS"; }

  private:
    ComApartment com_;  // first in, last out
    OpenWindows openWindows_;
    Win32Screen screen_;
    Win32Clock clock_;
    Win32EventLoop eventLoop_{openWindows_, clock_};
    Win32Cursor cursor_;
    Win32WindowSystem windowSystem_;
    Win32SystemInfo systemInfo_;
    Win32Registry registry_;
    RegistrySettingsStore settings_;
    Win32FileSystem files_;
    Win32Dialogs dialogs_;
    Win32FormFactory forms_{openWindows_, eventLoop_, screen_};
};

}  // namespace pictavo::platform::win32
