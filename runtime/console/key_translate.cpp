#include "runtime/console/key_translate.h"

#include "runtime/console/key_codes.h"
#include "runtime/console/key_tables.h"
#include "runtime/console/keyboard_layout.h"

namespace {

constexpr uint32_t kAltMask = KEYMOD_RIGHT_ALT | KEYMOD_LEFT_ALT;
constexpr uint32_t kCtrlMask = KEYMOD_RIGHT_CTRL | KEYMOD_LEFT_CTRL;

// Case swap of ASCII letters only: the character is a code page 437 byte,
// which the C locale's classification must not reinterpret.
int32_t swap_ascii_case(int32_t c) {
    if (c >= 'A' && c <= 'Z') return c - 'A' + 'a';
    if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
    return c;
}

// The row value the held modifiers select, Alt before Ctrl before Shift.
// `plain` is used when none is held.
int32_t modifier_value(const KeyTableRow& row, uint32_t modifiers, int32_t plain) {
    if (modifiers & kAltMask) return row.alt;
    if (modifiers & kCtrlMask) return row.ctrl;
    if (modifiers & KEYMOD_SHIFT) return row.shift;
    return plain;
}

int32_t extended_code(int32_t value) { return (value & 0xFF00) + EXT_KEY_PREFIX; }

int32_t translate_enhanced(int32_t scan_code, uint32_t modifiers) {
    for (const KeyEnhancedRow& entry : key_enhanced_table) {
        if (entry.scan != scan_code) continue;
        const bool modified = (modifiers & (kAltMask | kCtrlMask | KEYMOD_SHIFT)) != 0;
        const int32_t value = modifier_value(entry.values, modifiers, entry.values.normal);
        if (modified && value == 0) return -1;
        return value <= 255 ? value : extended_code(value);
    }
    return -1;
}

// A main-table code, or -1 when the key's table value is not an extended
// key or the typed character is not the key's own.
int32_t translate_main(int32_t character, int32_t scan_code, int32_t virtual_key, uint32_t modifiers) {
    const KeyTableRow& row = key_main_table[scan_code];
    const int32_t m = virtual_key_char(virtual_key) & 0xFFFF;
    const int32_t plain = character == 0 ? row.normal : m;
    const int32_t candidate = modifier_value(row, modifiers, plain);
    if (candidate > 255 && (character == m || character == swap_ascii_case(m))) return extended_code(candidate);
    return -1;
}

}  // namespace

int32_t key_translate(int32_t character, int32_t scan_code, int32_t virtual_key, uint32_t modifiers, int32_t strict) {
    if ((modifiers & KEYMOD_ENHANCED) && character == 0) return translate_enhanced(scan_code, modifiers);
    if (scan_code >= 0 && scan_code < KEY_MAIN_ROWS) {
        const int32_t code = translate_main(character, scan_code, virtual_key, modifiers);
        if (code != -1) return code;
    }
    if (strict) return -1;
    return character != 0 ? character : -1;
}
