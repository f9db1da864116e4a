#include "hosts/win32/win32_host.h"

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>
#include <objbase.h>

#include "hosts/win32/wic_decoder.h"

namespace pictavo::platform::win32 {

ComApartment::ComApartment(bool multithreaded) {
    // S_FALSE: this thread had it already, and still needs the matching call.
    // A decoding thread has no windows, hence no message loop an apartment
    // of its own would need.
    const DWORD model = multithreaded ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED;
    HRESULT result = CoInitializeEx(nullptr, model | COINIT_DISABLE_OLE1DDE);
    initialised_ = SUCCEEDED(result);
}

ComApartment::~ComApartment() {
    if (initialised_) CoUninitialize();
}

imaging::DecoderList Win32Host::platformDecoders() {
    return wicDecoders();
}

std::unique_ptr<DecodingThreadScope> Win32Host::enterDecodingThread() {
    return std::make_unique<ComApartment>(true);
}

Win32Host::Win32Host() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

}  // namespace pictavo::platform::win32
