#include "runtime/console/us_layout.h"

#include "runtime/console/key_tables.h"
#include "runtime/console/virtual_keys.h"

namespace {

// Keys of the US layout that type punctuation or a digit: the key's own
// character and the one it types with Shift.
struct CharKey {
    char plain;
    char shifted;
    uint8_t vk;
};

// clang-format off
constexpr CharKey kCharKeys[] = {
    {'1', '!', '1'},        {'2', '@', '2'},          {'3', '#', '3'},         {'4', '$', '4'},
    {'5', '%', '5'},        {'6', '^', '6'},          {'7', '&', '7'},         {'8', '*', '8'},
    {'9', '(', '9'},        {'0', ')', '0'},          {' ', ' ', VKEY_SPACE},    {';', ':', VKEY_OEM_1},
    {'=', '+', VKEY_OEM_PLUS}, {',', '<', VKEY_OEM_COMMA}, {'-', '_', VKEY_OEM_MINUS}, {'.', '>', VKEY_OEM_PERIOD},
    {'/', '?', VKEY_OEM_2},   {'`', '~', VKEY_OEM_3},     {'[', '{', VKEY_OEM_4},    {'\\', '|', VKEY_OEM_5},
    {']', '}', VKEY_OEM_6},   {'\'', '"', VKEY_OEM_7},
};
// clang-format on

// Unshifted characters of the keys that are not letters or digits.
struct VkChar {
    uint8_t vk;
    char character;
};

// clang-format off
constexpr VkChar kVkChars[] = {
    {VKEY_BACK, 8},          {VKEY_TAB, 9},          {VKEY_RETURN, 13},      {VKEY_ESCAPE, 27},     {VKEY_SPACE, ' '},
    {VKEY_MULTIPLY, '*'},    {VKEY_ADD, '+'},        {VKEY_SUBTRACT, '-'},   {VKEY_DECIMAL, '.'},   {VKEY_DIVIDE, '/'},
    {VKEY_OEM_1, ';'},       {VKEY_OEM_PLUS, '='},   {VKEY_OEM_COMMA, ','},  {VKEY_OEM_MINUS, '-'}, {VKEY_OEM_PERIOD, '.'},
    {VKEY_OEM_2, '/'},       {VKEY_OEM_3, '`'},      {VKEY_OEM_4, '['},      {VKEY_OEM_5, '\\'},    {VKEY_OEM_6, ']'},
    {VKEY_OEM_7, '\''},
};
// clang-format on

// Control characters 28..31 and the keys that type them with Ctrl.
constexpr int32_t kControlKeys[] = {VKEY_OEM_5, VKEY_OEM_6, 0x100 | '6', 0x100 | VKEY_OEM_MINUS};

constexpr int32_t kShiftBit = 0x100;
constexpr int32_t kCtrlBit = 0x200;

}  // namespace

int32_t us_virtual_key_char(int32_t virtual_key) {
    if ((virtual_key >= 'A' && virtual_key <= 'Z') || (virtual_key >= '0' && virtual_key <= '9')) return virtual_key;
    if (virtual_key >= VKEY_NUMPAD0 && virtual_key <= VKEY_NUMPAD0 + 9) return '0' + virtual_key - VKEY_NUMPAD0;
    for (const VkChar& row : kVkChars) {
        if (row.vk == virtual_key) return row.character;
    }
    return 0;
}

int32_t virtual_key_scan(int32_t virtual_key) {
    if (virtual_key <= 0) return 0;
    for (const ScanVkRow& row : scan_vk_table) {
        if (row.vk == virtual_key || row.alt_vk == virtual_key) return row.scan;
    }
    return 0;
}

int32_t us_char_virtual_key(int32_t character) {
    if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
    if (character >= 'A' && character <= 'Z') return kShiftBit | character;
    switch (character) {
    case 8: return VKEY_BACK;
    case 9: return VKEY_TAB;
    case 10: return kCtrlBit | VKEY_RETURN;
    case 13: return VKEY_RETURN;
    case 27: return VKEY_ESCAPE;
    default: break;
    }
    if (character >= 1 && character <= 26) return kCtrlBit | ('A' + character - 1);
    if (character >= 28 && character <= 31) return kCtrlBit | kControlKeys[character - 28];
    for (const CharKey& key : kCharKeys) {
        if (key.plain == character) return key.vk;
        if (key.shifted == character) return kShiftBit | key.vk;
    }
    return -1;
}
