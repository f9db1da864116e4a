#include "platform/win32/win32_form_factory.h"

#include "platform/win32/handles.h"
#include "platform/win32/win32_form.h"

namespace pictavo::platform::win32 {

std::unique_ptr<Form> Win32FormFactory::create(const FormSpec& design, FormHandler& handler,
                                               Form* owner) {
    TwipsScale scale{screen_.twipsPerPixelX(), screen_.twipsPerPixelY()};
    HWND ownerWindow = owner != nullptr ? toHwnd(owner->handle()) : nullptr;
    return std::make_unique<Win32Form>(design, handler, ownerWindow, windows_, loop_, scale);
}

}  // namespace pictavo::platform::win32
