#pragma once
// Everything the core asks of the platform, handed to Main as one object.
// Each host (Win32, FLTK, headless) implements every interface once.

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/cursor.h"
#include "platform/decoding_thread.h"
#include "platform/dialogs.h"
#include "platform/event_loop.h"
#include "platform/file_system.h"
#include "platform/forms.h"
#include "platform/registry.h"
#include "platform/screen.h"
#include "platform/settings_store.h"
#include "platform/system_info.h"
#include "platform/window_system.h"

// The decoders a platform brings are the core's to use; the seam only
// hands them over, so it needs no more than their names.
namespace pictavo::imaging {
class Decoder;
class PostScriptRenderer;
}  // namespace pictavo::imaging

namespace pictavo::platform {

class Host {
  public:
    virtual ~Host() = default;
    virtual Screen& screen() = 0;
    virtual Clock& clock() = 0;
    virtual EventLoop& eventLoop() = 0;
    virtual Cursor& cursor() = 0;
    virtual WindowSystem& windows() = 0;
    virtual SystemInfo& system() = 0;
    virtual Registry& registry() = 0;
    virtual SettingsStore& settings() = 0;
    virtual FileSystem& files() = 0;
    virtual Dialogs& dialogs() = 0;
    virtual FormFactory& forms() = 0;
    // Decoders the platform brings (JPEG, PNG, TIFF through system
    // libraries); the core adds its own for the legacy formats. Called on
    // the thread that will use them, after enterDecodingThread there.
    virtual std::vector<std::unique_ptr<imaging::Decoder>> platformDecoders() = 0;
    // Called first on a thread of the program's own that decodes pictures;
    // what it returns lives as long as that thread (nullptr: nothing needed).
    virtual std::unique_ptr<DecodingThreadScope> enterDecodingThread() { return nullptr; }
    // The picture folder of a fresh installation, without a final separator.
    virtual std::string defaultPictureFolder() const = 0;
    // Draws PostScript for EPS pictures; nullptr where the platform has no
    // interpreter (EPS files then show their embedded preview). May be
    // called on a decoding thread.
    virtual std::shared_ptr<const imaging::PostScriptRenderer> postScriptRenderer() {
        return nullptr;
    }
};

}  // namespace pictavo::platform
