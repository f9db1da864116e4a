#include "platform/win32/win32_host.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>
#include <objbase.h>

#include "platform/win32/wic_decoder.h"

namespace pictavo::platform::win32 {

ComApartment::ComApartment() {
    // S_FALSE: this thread had it already, and still needs the matching call.
    HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    initialised_ = SUCCEEDED(result);
}

ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

imaging::DecoderList Win32Host::platformDecoders() {
    return wicDecoders();
}

Win32Host::Win32Host() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

}  // namespace pictavo::platform::win32
