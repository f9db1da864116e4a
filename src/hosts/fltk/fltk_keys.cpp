#include "hosts/fltk/fltk_keys.h"

#include <FL/Enumerations.H>

namespace pictavo::platform::fltk {

namespace {

constexpr int kUnknownKey = 0xFF;

int punctuationKey(int key) {
    switch (key) {
        case ';':
            return 0xBA;
        case '=':
            return 0xBB;
        case ',':
            return 0xBC;
        case '-':
            return 0xBD;
        case '.':
            return 0xBE;
        case '/':
            return 0xBF;
        case '`':
            return 0xC0;
        case '[':
            return 0xDB;
        case '\\':
            return 0xDC;
        case ']':
            return 0xDD;
        case '\'':
            return 0xDE;
        default:
            return kUnknownKey;
    }
}

int namedKey(int key) {
    switch (key) {
        case FL_BackSpace:
            return 8;
        case FL_Tab:
            return 9;
        case FL_Enter:
        case FL_KP_Enter:
            return 13;
        case FL_Shift_L:
        case FL_Shift_R:
            return 16;
        case FL_Control_L:
        case FL_Control_R:
            return 17;
        case FL_Alt_L:
        case FL_Alt_R:
            return 18;
        case FL_Pause:
            return 19;
        case FL_Caps_Lock:
            return 20;
        case FL_Escape:
            return 27;
        case ' ':
            return 32;
        case FL_Page_Up:
            return 33;
        case FL_Page_Down:
            return 34;
        case FL_End:
            return 35;
        case FL_Home:
            return 36;
        case FL_Left:
            return 37;
        case FL_Up:
            return 38;
        case FL_Right:
            return 39;
        case FL_Down:
            return 40;
        case FL_Print:
            return 44;
        case FL_Insert:
            return 45;
        case FL_Delete:
            return 46;
        case FL_Meta_L:
            return 91;
        case FL_Meta_R:
            return 92;
        case FL_Menu:
            return 93;
        case FL_Num_Lock:
            return 144;
        case FL_Scroll_Lock:
            return 145;
        default:
            return 0;
    }
}

}  // namespace

int virtualKey(int fltkKey) {
    if (int named = namedKey(fltkKey); named != 0) return named;
    if (fltkKey >= 'a' && fltkKey <= 'z') return fltkKey - 'a' + 'A';
    if (fltkKey >= 'A' && fltkKey <= 'Z') return fltkKey;
    if (fltkKey >= '0' && fltkKey <= '9') return fltkKey;
    if (fltkKey > FL_F && fltkKey <= FL_F + 24) return 0x70 + (fltkKey - FL_F - 1);
    if (fltkKey >= FL_KP + '0' && fltkKey <= FL_KP + '9') return 0x60 + (fltkKey - FL_KP - '0');
    if (fltkKey == FL_KP + '*') return 0x6A;
    if (fltkKey == FL_KP + '+') return 0x6B;
    if (fltkKey == FL_KP + '-') return 0x6D;
    if (fltkKey == FL_KP + '.') return 0x6E;
    if (fltkKey == FL_KP + '/') return 0x6F;
    return punctuationKey(fltkKey);
}

int shiftState(int fltkState) {
    int state = 0;
    if ((fltkState & FL_SHIFT) != 0) state |= 1;
    if ((fltkState & FL_CTRL) != 0) state |= 2;
    if ((fltkState & FL_ALT) != 0) state |= 4;
    return state;
}

}  // namespace pictavo::platform::fltk
