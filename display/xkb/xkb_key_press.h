#pragma once
// Key presses of X11 and Wayland keyboards on the rules of the PC keyboard
// layer: the character a key types is the one ToAscii gives for the key and
// its modifiers (Ctrl combinations by the PC layout's rules, not by the X
// keyboard's own control conversions), and the key message goes through the
// window procedure's key handling. Shared by the X11 and Wayland back-ends.
#include <cstdint>

#include "display/xkb/xkb_pc_keys.h"

struct XkbModifiers {
    bool shift, ctrl, alt;
};

inline constexpr int32_t XKB_TEXT_CAPACITY = 64;

// One press or release as the keyboard layer reported it.
struct XkbKeyEvent {
    uint32_t looked_up;  // keysym with the held modifiers
    uint32_t unshifted;  // the key's first keysym
    XkbModifiers modifiers;
    // The UTF-8 text the key types without Ctrl (the input method's or
    // the compose sequence's result); may be empty.
    const char* text;
    int32_t text_length;
    int32_t repeat;  // presses this one stands for, at least 1
    bool was_down;   // an autorepeat of a held key
};

// What ToAscii gives for the key with the modifiers: the character (0 ..
// 255, code page 437; 0 for Ctrl+Shift+2) or -1 for none. `layout_char` is
// what the layout types without Ctrl (-1 for nothing).
int32_t xkb_key_character(const PcKey& key, const XkbModifiers& modifiers, int32_t layout_char);

// A press: the key message to the key handling, then the typed characters
// (none while Alt is held: those are system characters).
void xkb_key_press(const XkbKeyEvent& event);
void xkb_key_release(const XkbKeyEvent& event);
