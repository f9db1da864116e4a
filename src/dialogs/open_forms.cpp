#include "dialogs/open_forms.h"

#include <algorithm>

#include "dialogs/form_base.h"

namespace pictavo::platform {

void OpenForms::remove(FormBase* form) {
    std::erase(forms_, form);
    std::erase(modal_, form);
}

void OpenForms::enterModal(FormBase* form) {
    std::erase(modal_, form);
    modal_.push_back(form);
}

void OpenForms::leaveModal(FormBase* form) {
    std::erase(modal_, form);
}

bool OpenForms::blocked(const FormBase& form) const {
    if (modal_.empty()) return false;
    // A form opened over the modal one (its about box) takes input too.
    for (const FormBase* f = &form; f != nullptr; f = f->ownerForm())
        if (f == modal_.back()) return false;
    return true;
}

bool OpenForms::anyLoaded() const {
    return std::any_of(forms_.begin(), forms_.end(),
                       [](const FormBase* form) { return form->loaded(); });
}

}  // namespace pictavo::platform
