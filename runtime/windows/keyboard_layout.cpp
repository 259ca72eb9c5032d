// The keyboard layer of Windows: the current keyboard layout answers.
#include <windows.h>

#include "gfx/key_codes.h"

int32_t virtual_key_char(int32_t virtual_key) {
    return static_cast<int32_t>(MapVirtualKeyA(static_cast<UINT>(virtual_key), MAPVK_VK_TO_CHAR));
}

// VkKeyScanA answers -1 (both bytes 0xFF) for a character no key types.
int32_t char_virtual_key(int32_t character) {
    const SHORT key = VkKeyScanA(static_cast<CHAR>(character));
    return key == -1 ? -1 : static_cast<int32_t>(static_cast<uint16_t>(key));
}
