#include "runtime/console/key_string.h"

#include "runtime/console/key_codes.h"
#include "runtime/strings.h"

StringDesc* key_code_string(int32_t code) {
    int32_t bytes[2] = {code & 255, (code >> 8) & 255};
    StringDesc* result = temp_string_from_chars(code > 255 ? 2 : 1, bytes);
    return result ? result : string_empty();
}

int32_t key_string_code(const StringDesc* key) {
    const uint64_t length = string_length(key);
    if (length == 0 || key->data == nullptr) return 0;
    if (length == 1) return key->data[0];
    if (length == 2 && key->data[0] == EXT_KEY_PREFIX) return ext_key(key->data[1]);
    return -1;
}
