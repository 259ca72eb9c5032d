#pragma once
#include <cstdint>

// How a key of an X11 or Wayland keyboard maps onto the PC keyboard the
// key codes come from. Both name keys by keysyms, and xkbcommon's keysyms
// are X11's.
struct PcKey {
    int32_t virtual_key;  // 0 for none
    int32_t scan_code;    // PC scan code (set 1), 0 for none
    bool enhanced;        // the separate cursor block, keypad Enter and slash, right Ctrl and Alt...
};

// The key behind a press: `looked_up` is the keysym it gives with the held
// modifiers (Num Lock decides the keypad), `unshifted` its first keysym
// (the key's name on the US layout for printable keys).
PcKey xkb_pc_key(uint32_t looked_up, uint32_t unshifted);
