#pragma once
// The program's live forms, kept by a backend's form factory, and which of
// them is modal now: while a modal form is up, the others take no input
// (the forms opened over it excepted).

#include <vector>

namespace pictavo::platform {

class FormBase;

class OpenForms {
  public:
    void add(FormBase* form) { forms_.push_back(form); }
    void remove(FormBase* form);
    void enterModal(FormBase* form);
    void leaveModal(FormBase* form);
    bool blocked(const FormBase& form) const;
    bool anyLoaded() const;
    // Oldest first.
    const std::vector<FormBase*>& forms() const { return forms_; }

  private:
    std::vector<FormBase*> forms_;
    std::vector<FormBase*> modal_;
};

}  // namespace pictavo::platform
