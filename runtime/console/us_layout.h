#pragma once
#include <cstdint>

// The US keyboard layout, which stands in for the system's where it has
// none to ask (keyboard_layout.h).

// The unshifted character of a virtual key, 0 when it has none.
int32_t us_virtual_key_char(int32_t virtual_key);

// The scan code of a virtual key: the first row of scan_vk_table whose key
// or alternative matches; 0 when unknown (also for virtual key 0).
int32_t virtual_key_scan(int32_t virtual_key);

// The key that types an ASCII character, in the keyboard layer's
// "character to virtual key" form: virtual key in the low byte, 0x100
// Shift, 0x200 Ctrl. Control characters 1..31 are Ctrl with their key
// (1..26 the letters, 10 Ctrl+Return), except Backspace, Tab, Return and
// Escape, which are keys of their own. -1 when no key types it: 0, 127 and
// bytes of 128 or more.
int32_t us_char_virtual_key(int32_t character);
