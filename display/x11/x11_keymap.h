#pragma once
#include <X11/X.h>

#include <cstdint>

// How an X key maps onto the PC keyboard the key codes come from.
struct X11Key {
    int32_t virtual_key;  // 0 for none
    int32_t scan_code;    // PC scan code (set 1), 0 for none
    bool enhanced;        // the separate cursor block, keypad Enter and slash, right Ctrl and Alt...
};

// The key behind an event: `looked_up` is the keysym it gives with the
// held modifiers (Num Lock decides the keypad), `unshifted` its first
// keysym (the key's name on the US layout for printable keys).
X11Key x11_key_for(KeySym looked_up, KeySym unshifted);
