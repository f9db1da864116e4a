#include "hosts/win32/win32_form_factory.h"

#include "hosts/win32/win32_form.h"

namespace pictavo::platform::win32 {

std::unique_ptr<Form> Win32FormFactory::create(const FormSpec& design, FormHandler& handler,
                                               Form* owner) {
    TwipsScale scale{screen_.twipsPerPixelX(), screen_.twipsPerPixelY()};
    return std::make_unique<Win32Form>(design, handler, openForms_, dynamic_cast<Win32Form*>(owner),
                                       windows_, loop_, scale);
}

}  // namespace pictavo::platform::win32
