#pragma once
#include <cstdint>

// The system's own keyboard layout, in the keyboard layer's forms (see
// runtime/console/keyboard_layout.h), or null where the system has none to
// ask: keys then arrive as characters or key symbols, and the console
// takes the US layout.
struct OsKeyboardLayout {
    int32_t (*virtual_key_char)(int32_t virtual_key);  // unshifted character, 0 for none
    int32_t (*virtual_key_scan)(int32_t virtual_key);  // scan code, 0 when unknown
    int32_t (*char_virtual_key)(int32_t character);    // the key that types it, -1 for none
};

const OsKeyboardLayout* os_keyboard_layout();
