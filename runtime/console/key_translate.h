#pragma once
#include <cstdint>

// Key code of a key event, or -1 when it has none.
int32_t key_translate(int32_t character, int32_t scan_code, int32_t virtual_key, uint32_t modifiers, int32_t strict);
