#pragma once
#include <cstdint>

// The keyboard layer's maps, answered by the system's own keyboard layout
// where it has one (os_keyboard_layout), else by the US layout
// (us_layout.h), in the same forms.

// The unshifted character of a virtual key, 0 when it has none.
int32_t virtual_key_char(int32_t virtual_key);

// The scan code of a virtual key, 0 when unknown.
int32_t virtual_key_scan_code(int32_t virtual_key);

// The key that types an ASCII character (virtual key in the low byte,
// 0x100 Shift, 0x200 Ctrl, 0x400 Alt), -1 when no key types it.
int32_t char_virtual_key(int32_t character);
