#include "runtime/console/keyboard_layout.h"

#include "runtime/console/us_layout.h"
#include "runtime/os_keyboard_layout.h"

int32_t virtual_key_char(int32_t virtual_key) {
    const OsKeyboardLayout* layout = os_keyboard_layout();
    return layout ? layout->virtual_key_char(virtual_key) : us_virtual_key_char(virtual_key);
}

int32_t virtual_key_scan_code(int32_t virtual_key) {
    const OsKeyboardLayout* layout = os_keyboard_layout();
    return layout ? layout->virtual_key_scan(virtual_key) : virtual_key_scan(virtual_key);
}

int32_t char_virtual_key(int32_t character) {
    const OsKeyboardLayout* layout = os_keyboard_layout();
    return layout ? layout->char_virtual_key(character) : us_char_virtual_key(character);
}
