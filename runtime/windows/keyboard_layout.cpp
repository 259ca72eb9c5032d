// The keyboard layer of Windows: the current keyboard layout answers.
#include <windows.h>

#include "runtime/os_keyboard_layout.h"

namespace {

int32_t layout_virtual_key_char(int32_t virtual_key) {
    return static_cast<int32_t>(MapVirtualKeyA(static_cast<UINT>(virtual_key), MAPVK_VK_TO_CHAR));
}

int32_t layout_virtual_key_scan(int32_t virtual_key) {
    return static_cast<int32_t>(MapVirtualKeyA(static_cast<UINT>(virtual_key), MAPVK_VK_TO_VSC));
}

// VkKeyScanA answers -1 (both bytes 0xFF) for a character no key types.
int32_t layout_char_virtual_key(int32_t character) {
    const SHORT key = VkKeyScanA(static_cast<CHAR>(character));
    return key == -1 ? -1 : static_cast<int32_t>(static_cast<uint16_t>(key));
}

constexpr OsKeyboardLayout WINDOWS_LAYOUT = {layout_virtual_key_char, layout_virtual_key_scan, layout_char_virtual_key};

}  // namespace

const OsKeyboardLayout* os_keyboard_layout() { return &WINDOWS_LAYOUT; }
