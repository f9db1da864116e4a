#pragma once
// A text box whose text is shown as one mask character per character typed,
// drawn like any other text box: the same frame, font, caret and selection.
// It stays a secret input to FLTK, which then refuses to copy its text to
// the clipboard or the selection.

#include <FL/Fl_Secret_Input.H>

#include <string>

namespace pictavo::platform::fltk {

class PasswordInput : public Fl_Secret_Input {
  public:
    PasswordInput(int x, int y, int width, int height, char mask);
    void draw() override;

    // What is drawn for text: one mask per character (not per byte).
    static std::string masked(const char* text, int bytes, char mask);

  private:
    // Characters before byte offset bytes of the text.
    int charactersBefore(int bytes) const;

    char mask_;
    int scroll_ = 0;  // pixels of the masked text scrolled out at the left
};

}  // namespace pictavo::platform::fltk
