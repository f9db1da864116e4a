#include "platform/forms.h"

#include <stdexcept>
#include <string>

namespace pictavo::platform {

Control& Form::control(std::string_view name) {
    Control* found = find(name);
    if (found == nullptr)
        throw std::logic_error("form " + design().name + " has no control " + std::string(name));
    return *found;
}

}  // namespace pictavo::platform
