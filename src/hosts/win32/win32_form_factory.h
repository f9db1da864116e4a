#pragma once

#include "dialogs/open_forms.h"
#include "hosts/win32/open_windows.h"
#include "hosts/win32/win32_event_loop.h"
#include "platform/forms.h"
#include "platform/screen.h"

namespace pictavo::platform::win32 {

class Win32FormFactory : public FormFactory {
  public:
    Win32FormFactory(OpenWindows& windows, Win32EventLoop& loop, const Screen& screen)
        : windows_(windows), loop_(loop), screen_(screen) {}

    // The form is not loaded when the system refused to create its window.
    std::unique_ptr<Form> create(const FormSpec& design, FormHandler& handler,
                                 Form* owner) override;

  private:
    OpenWindows& windows_;
    Win32EventLoop& loop_;
    const Screen& screen_;
    OpenForms openForms_;
};

}  // namespace pictavo::platform::win32
