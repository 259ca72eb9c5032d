#include "gfx/key_codes.h"

// Extended codes of the PC BIOS keyboard scheme, by scan code:
// normal, Shift, Ctrl, Alt.
const KeyTableRow key_main_table[KEY_MAIN_ROWS] = {
    {     0,      0,      0,      0},  // 00
    {     0,      0,      0, 0x0100},  // 01 Esc
    {     0,      0,      0, 0x7800},  // 02 1
    {     0,      0, 0x0300, 0x7900},  // 03 2
    {     0,      0,      0, 0x7A00},  // 04 3
    {     0,      0,      0, 0x7B00},  // 05 4
    {     0,      0,      0, 0x7C00},  // 06 5
    {     0,      0,      0, 0x7D00},  // 07 6
    {     0,      0,      0, 0x7E00},  // 08 7
    {     0,      0,      0, 0x7F00},  // 09 8
    {     0,      0,      0, 0x8000},  // 0A 9
    {     0,      0,      0, 0x8100},  // 0B 0
    {     0,      0,      0, 0x8200},  // 0C -
    {     0,      0,      0, 0x8300},  // 0D =
    {     0,      0,      0, 0xE000},  // 0E Backspace
    {     0, 0x0F00, 0x9400, 0x0F00},  // 0F Tab
    {     0,      0,      0, 0x1000},  // 10 Q
    {     0,      0,      0, 0x1100},  // 11 W
    {     0,      0,      0, 0x1200},  // 12 E
    {     0,      0,      0, 0x1300},  // 13 R
    {     0,      0,      0, 0x1400},  // 14 T
    {     0,      0,      0, 0x1500},  // 15 Y
    {     0,      0,      0, 0x1600},  // 16 U
    {     0,      0,      0, 0x1700},  // 17 I
    {     0,      0,      0, 0x1800},  // 18 O
    {     0,      0,      0, 0x1900},  // 19 P
    {     0,      0,      0, 0x1A00},  // 1A [
    {     0,      0,      0, 0x1B00},  // 1B ]
    {     0,      0,      0, 0x1C00},  // 1C Enter
    {     0,      0,      0,      0},  // 1D Ctrl
    {     0,      0,      0, 0x1E00},  // 1E A
    {     0,      0,      0, 0x1F00},  // 1F S
    {     0,      0,      0, 0x2000},  // 20 D
    {     0,      0,      0, 0x2100},  // 21 F
    {     0,      0,      0, 0x2200},  // 22 G
    {     0,      0,      0, 0x2300},  // 23 H
    {     0,      0,      0, 0x2400},  // 24 J
    {     0,      0,      0, 0x2500},  // 25 K
    {     0,      0,      0, 0x2600},  // 26 L
    {     0,      0,      0, 0x2700},  // 27 ;
    {     0,      0,      0, 0x2800},  // 28 '
    {     0,      0,      0, 0x2900},  // 29 `
    {     0,      0,      0,      0},  // 2A left Shift
    {     0,      0,      0,      0},  // 2B backslash
    {     0,      0,      0, 0x2C00},  // 2C Z
    {     0,      0,      0, 0x2D00},  // 2D X
    {     0,      0,      0, 0x2E00},  // 2E C
    {     0,      0,      0, 0x2F00},  // 2F V
    {     0,      0,      0, 0x3000},  // 30 B
    {     0,      0,      0, 0x3100},  // 31 N
    {     0,      0,      0, 0x3200},  // 32 M
    {     0,      0,      0, 0x3300},  // 33 ,
    {     0,      0,      0, 0x3400},  // 34 .
    {     0,      0,      0, 0x3500},  // 35 /
    {     0,      0,      0,      0},  // 36 right Shift
    {     0,      0,      0,      0},  // 37 keypad *
    {     0,      0,      0,      0},  // 38 Alt
    {     0,      0,      0,      0},  // 39 Space
    {     0,      0,      0,      0},  // 3A Caps Lock
    {0x3B00, 0x5400, 0x5E00, 0x6800},  // 3B F1
    {0x3C00, 0x5500, 0x5F00, 0x6900},  // 3C F2
    {0x3D00, 0x5600, 0x6000, 0x6A00},  // 3D F3
    {0x3E00, 0x5700, 0x6100, 0x6B00},  // 3E F4
    {0x3F00, 0x5800, 0x6200, 0x6C00},  // 3F F5
    {0x4000, 0x5900, 0x6300, 0x6D00},  // 40 F6
    {0x4100, 0x5A00, 0x6400, 0x6E00},  // 41 F7
    {0x4200, 0x5B00, 0x6500, 0x6F00},  // 42 F8
    {0x4300, 0x5C00, 0x6600, 0x7000},  // 43 F9
    {0x4400, 0x5D00, 0x6700, 0x7100},  // 44 F10
    {     0,      0,      0,      0},  // 45 Num Lock
    {     0,      0,      0,      0},  // 46 Scroll Lock
    {0x4700,      0, 0x7700,      0},  // 47 Home
    {0x4800,      0, 0x8D00,      0},  // 48 Up
    {0x4900,      0, 0x8400,      0},  // 49 Page Up
    {     0,      0,      0,      0},  // 4A keypad -
    {0x4B00,      0, 0x7300,      0},  // 4B Left
    {0x4C00,      0, 0x8F00, 0x4C00},  // 4C keypad 5
    {0x4D00,      0, 0x7400,      0},  // 4D Right
    {     0,      0,      0,      0},  // 4E keypad +
    {0x4F00,      0, 0x7500,      0},  // 4F End
    {0x5000,      0, 0x9100,      0},  // 50 Down
    {0x5100,      0, 0x7600,      0},  // 51 Page Down
    {0x5200,      0, 0x9200,      0},  // 52 Insert
    {0x5300,      0, 0x9300,      0},  // 53 Delete
    {     0,      0,      0,      0},  // 54
    {     0,      0,      0,      0},  // 55
    {     0,      0,      0,      0},  // 56
    {0x8500, 0x8700, 0x8900, 0x8B00},  // 57 F11
    {0x8600, 0x8800, 0x8A00, 0x8C00},  // 58 F12
};

// Keys Windows flags as enhanced; Enter and slash keep their characters.
const KeyEnhancedRow key_enhanced_table[KEY_ENHANCED_ROWS] = {
    {0x1C, {    13,     13,     10, 0xA600}},  // keypad Enter
    {0x35, {    47,     63, 0x9500, 0xA400}},  // keypad /
    {0x47, {0x4700, 0x4700, 0x7700, 0x9700}},  // Home
    {0x48, {0x4800, 0x4800, 0x8D00, 0x9800}},  // Up
    {0x49, {0x4900, 0x4900, 0x8400, 0x9900}},  // Page Up
    {0x4B, {0x4B00, 0x4B00, 0x7300, 0x9B00}},  // Left
    {0x4D, {0x4D00, 0x4D00, 0x7400, 0x9D00}},  // Right
    {0x4F, {0x4F00, 0x4F00, 0x7500, 0x9F00}},  // End
    {0x50, {0x5000, 0x5000, 0x9100, 0xA000}},  // Down
    {0x51, {0x5100, 0x5100, 0x7600, 0xA100}},  // Page Down
    {0x52, {0x5200, 0x5200, 0x9200, 0xA200}},  // Insert
    {0x53, {0x5300, 0x5300, 0x9300, 0xA300}},  // Delete
};

// Scan code, virtual key, numeric-pad twin. Both Shift keys map to 0x10.
const ScanVkRow scan_vk_table[SCAN_VK_ROWS] = {
    {1, 0x1B, 0}, {2, 0x31, 0}, {3, 0x32, 0}, {4, 0x33, 0}, {5, 0x34, 0}, {6, 0x35, 0}, {7, 0x36, 0},
    {8, 0x37, 0}, {9, 0x38, 0}, {10, 0x39, 0}, {11, 0x30, 0}, {12, 0xBD, 0x6D}, {13, 0xBB, 0}, {14, 0x08, 0},
    {15, 0x09, 0}, {16, 0x51, 0}, {17, 0x57, 0}, {18, 0x45, 0}, {19, 0x52, 0}, {20, 0x54, 0}, {21, 0x59, 0},
    {22, 0x55, 0}, {23, 0x49, 0}, {24, 0x4F, 0}, {25, 0x50, 0}, {26, 0xDB, 0}, {27, 0xDD, 0}, {28, 0x0D, 0},
    {29, 0x11, 0}, {30, 0x41, 0}, {31, 0x53, 0}, {32, 0x44, 0}, {33, 0x46, 0}, {34, 0x47, 0}, {35, 0x48, 0},
    {36, 0x4A, 0}, {37, 0x4B, 0}, {38, 0x4C, 0}, {39, 0xBA, 0}, {40, 0xDE, 0}, {41, 0xC0, 0}, {42, 0x10, 0},
    {43, 0xDC, 0}, {44, 0x5A, 0}, {45, 0x58, 0}, {46, 0x43, 0}, {47, 0x56, 0}, {48, 0x42, 0}, {49, 0x4E, 0},
    {50, 0x4D, 0}, {51, 0xBC, 0}, {52, 0xBE, 0}, {53, 0xBF, 0x6F}, {54, 0x10, 0}, {55, 0x6A, 0},
    {56, 0x12, 0}, {57, 0x20, 0}, {58, 0x14, 0}, {59, 0x70, 0}, {60, 0x71, 0}, {61, 0x72, 0}, {62, 0x73, 0},
    {63, 0x74, 0}, {64, 0x75, 0}, {65, 0x76, 0}, {66, 0x77, 0}, {67, 0x78, 0}, {68, 0x79, 0}, {69, 0x90, 0},
    {70, 0x91, 0}, {71, 0x24, 0x67}, {72, 0x26, 0x68}, {73, 0x21, 0x69}, {75, 0x25, 0x64}, {77, 0x27, 0x66},
    {78, 0x6B, 0}, {79, 0x23, 0x61}, {80, 0x28, 0x62}, {81, 0x22, 0x63}, {82, 0x2D, 0x60}, {83, 0x2E, 0x6E},
    {87, 0x7A, 0}, {88, 0x7B, 0}, {91, 0x5B, 0}, {92, 0x5C, 0}, {93, 0x5D, 0},
};

namespace {

// Keys of the US layout that type punctuation or a digit: the key's own
// character and the one it types with Shift.
struct CharKey {
    char plain;
    char shifted;
    uint8_t vk;
};

constexpr CharKey kCharKeys[] = {
    {'1', '!', '1'},        {'2', '@', '2'},          {'3', '#', '3'},         {'4', '$', '4'},
    {'5', '%', '5'},        {'6', '^', '6'},          {'7', '&', '7'},         {'8', '*', '8'},
    {'9', '(', '9'},        {'0', ')', '0'},          {' ', ' ', VKEY_SPACE},    {';', ':', VKEY_OEM_1},
    {'=', '+', VKEY_OEM_PLUS}, {',', '<', VKEY_OEM_COMMA}, {'-', '_', VKEY_OEM_MINUS}, {'.', '>', VKEY_OEM_PERIOD},
    {'/', '?', VKEY_OEM_2},   {'`', '~', VKEY_OEM_3},     {'[', '{', VKEY_OEM_4},    {'\\', '|', VKEY_OEM_5},
    {']', '}', VKEY_OEM_6},   {'\'', '"', VKEY_OEM_7},
};

// Unshifted characters of the keys that are not letters or digits.
struct VkChar {
    uint8_t vk;
    char character;
};

constexpr VkChar kVkChars[] = {
    {VKEY_BACK, 8},          {VKEY_TAB, 9},          {VKEY_RETURN, 13},      {VKEY_ESCAPE, 27},     {VKEY_SPACE, ' '},
    {VKEY_MULTIPLY, '*'},    {VKEY_ADD, '+'},        {VKEY_SUBTRACT, '-'},   {VKEY_DECIMAL, '.'},   {VKEY_DIVIDE, '/'},
    {VKEY_OEM_1, ';'},       {VKEY_OEM_PLUS, '='},   {VKEY_OEM_COMMA, ','},  {VKEY_OEM_MINUS, '-'}, {VKEY_OEM_PERIOD, '.'},
    {VKEY_OEM_2, '/'},       {VKEY_OEM_3, '`'},      {VKEY_OEM_4, '['},      {VKEY_OEM_5, '\\'},    {VKEY_OEM_6, ']'},
    {VKEY_OEM_7, '\''},
};

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
