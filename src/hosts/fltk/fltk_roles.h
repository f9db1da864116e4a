#pragma once
// The roles of the FLTK host's controls, one maker per role; the table
// that picks one by control kind is makeFltkRole.

#include <memory>

#include "hosts/fltk/fltk_role.h"

namespace pictavo::platform::fltk {

std::unique_ptr<FltkRole> makeLabelRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makeButtonRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makeTextBoxRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makeScrollBarRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makeDriveListRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makeListRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makePictureRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makeImageRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makeShapeRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makeLineRole(FltkForm& form, Control& control);
std::unique_ptr<FltkRole> makeTimerRole(FltkForm& form, Control& control);

}  // namespace pictavo::platform::fltk
