#pragma once
#include <cstdint>

struct StringDesc;

// The key's string form as a temporary string (the static empty string
// when no temporary is free).
StringDesc* key_code_string(int32_t code);

// The key code a one- or two-byte key string stands for: 0 for an empty or
// null string, the byte (1..255, or 0) for one byte, scan * 256 + 255 for
// 255 followed by a scan code; -1 for any other string.
int32_t key_string_code(const StringDesc* key);
