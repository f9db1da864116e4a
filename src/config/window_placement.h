#pragma once

#include "platform/forms.h"
#include "platform/screen.h"

namespace pictavo::config {

// Moves the window to the middle of the screen, keeping its size.
void centreOnScreen(platform::Form& form, const platform::Screen& screen);

// Pixels to twips and back along each axis, as the screen measures them.
int twipsX(const platform::Screen& screen, double pixels);
int twipsY(const platform::Screen& screen, double pixels);
int pixelsX(const platform::Screen& screen, double twips);
int pixelsY(const platform::Screen& screen, double twips);

}  // namespace pictavo::config
