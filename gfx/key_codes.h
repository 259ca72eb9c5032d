#pragma once
#include <cstdint>

struct StringDesc;

// A key code is a character 1..255 in code page 437, or an extended key:
// scan code * 256 + 255. Its string form is the one byte, or the byte 255
// followed by the scan code.
inline constexpr int32_t EXT_KEY_PREFIX = 255;

constexpr int32_t ext_key(int32_t scan) { return scan * 256 + EXT_KEY_PREFIX; }

inline constexpr int32_t KEY_BACKSPACE = 8;
inline constexpr int32_t KEY_TAB = 9;
inline constexpr int32_t KEY_LINE_FEED = 10;
inline constexpr int32_t KEY_ENTER = 13;
inline constexpr int32_t KEY_ESCAPE = 27;
inline constexpr int32_t KEY_HOME = ext_key(0x47);
inline constexpr int32_t KEY_UP = ext_key(0x48);
inline constexpr int32_t KEY_PAGE_UP = ext_key(0x49);
inline constexpr int32_t KEY_LEFT = ext_key(0x4B);
inline constexpr int32_t KEY_RIGHT = ext_key(0x4D);
inline constexpr int32_t KEY_END = ext_key(0x4F);
inline constexpr int32_t KEY_DOWN = ext_key(0x50);
inline constexpr int32_t KEY_PAGE_DOWN = ext_key(0x51);
inline constexpr int32_t KEY_INSERT = ext_key(0x52);
inline constexpr int32_t KEY_DELETE = ext_key(0x53);
inline constexpr int32_t KEY_F1 = ext_key(0x3B);
inline constexpr int32_t KEY_F10 = ext_key(0x44);
inline constexpr int32_t KEY_CLOSE = ext_key(0x6B);  // window closed; also Alt+F4

// Modifier bits of a key event (control-key state).
inline constexpr uint32_t KEYMOD_RIGHT_ALT = 0x01;
inline constexpr uint32_t KEYMOD_LEFT_ALT = 0x02;
inline constexpr uint32_t KEYMOD_RIGHT_CTRL = 0x04;
inline constexpr uint32_t KEYMOD_LEFT_CTRL = 0x08;
inline constexpr uint32_t KEYMOD_SHIFT = 0x10;
inline constexpr uint32_t KEYMOD_ENHANCED = 0x100;

// Virtual key numbers used by the key tables (those of the PC keyboard
// layer the tables come from).
enum VirtualKey : int32_t {
    VKEY_BACK = 0x08, VKEY_TAB = 0x09, VKEY_RETURN = 0x0D, VKEY_SHIFT = 0x10, VKEY_CONTROL = 0x11, VKEY_MENU = 0x12,
    VKEY_PAUSE = 0x13, VKEY_CAPITAL = 0x14, VKEY_ESCAPE = 0x1B, VKEY_SPACE = 0x20, VKEY_PRIOR = 0x21, VKEY_NEXT = 0x22,
    VKEY_END = 0x23, VKEY_HOME = 0x24, VKEY_LEFT = 0x25, VKEY_UP = 0x26, VKEY_RIGHT = 0x27, VKEY_DOWN = 0x28,
    VKEY_INSERT = 0x2D, VKEY_DELETE = 0x2E, VKEY_LWIN = 0x5B, VKEY_RWIN = 0x5C, VKEY_APPS = 0x5D,
    VKEY_NUMPAD0 = 0x60, VKEY_MULTIPLY = 0x6A, VKEY_ADD = 0x6B, VKEY_SEPARATOR = 0x6C, VKEY_SUBTRACT = 0x6D,
    VKEY_DECIMAL = 0x6E, VKEY_DIVIDE = 0x6F, VKEY_F1 = 0x70, VKEY_F10 = 0x79, VKEY_F12 = 0x7B,
    VKEY_NUMLOCK = 0x90, VKEY_SCROLL = 0x91, VKEY_LSHIFT = 0xA0, VKEY_RSHIFT = 0xA1, VKEY_LCONTROL = 0xA2,
    VKEY_RCONTROL = 0xA3, VKEY_LMENU = 0xA4, VKEY_RMENU = 0xA5,
    VKEY_OEM_1 = 0xBA, VKEY_OEM_PLUS = 0xBB, VKEY_OEM_COMMA = 0xBC, VKEY_OEM_MINUS = 0xBD, VKEY_OEM_PERIOD = 0xBE,
    VKEY_OEM_2 = 0xBF, VKEY_OEM_3 = 0xC0, VKEY_OEM_4 = 0xDB, VKEY_OEM_5 = 0xDC, VKEY_OEM_6 = 0xDD, VKEY_OEM_7 = 0xDE,
};

// Scan-code tables of the key translation. Values above 255 are extended
// keys: their high byte is the scan code to report. Lower values are never
// used (the character comes from the keyboard layout) and are stored as 0.
struct KeyTableRow {
    uint16_t normal, shift, ctrl, alt;
};
inline constexpr int32_t KEY_MAIN_ROWS = 89;  // scan codes 0..88
extern const KeyTableRow key_main_table[KEY_MAIN_ROWS];

// Keys flagged as enhanced (cursor block, keypad Enter and slash), searched
// in order. Here values of 255 or less are codes themselves.
struct KeyEnhancedRow {
    uint16_t scan;
    KeyTableRow values;
};
inline constexpr int32_t KEY_ENHANCED_ROWS = 12;
extern const KeyEnhancedRow key_enhanced_table[KEY_ENHANCED_ROWS];

// US-layout scan code of each virtual key (alt_vk: the numeric-pad twin or
// 0). Also the rows of the 128 key states kept by the display.
struct ScanVkRow {
    uint8_t scan;
    uint8_t vk;
    uint8_t alt_vk;
};
inline constexpr int32_t SCAN_VK_ROWS = 86;
extern const ScanVkRow scan_vk_table[SCAN_VK_ROWS];

// Key code of a key event, or -1 when it has none.
int32_t key_translate(int32_t character, int32_t scan_code, int32_t virtual_key, uint32_t modifiers,
                      int32_t strict);

// The key's string form as a temporary string (the static empty string
// when no temporary is free).
StringDesc* key_code_string(int32_t code);

// The key code a one- or two-byte key string stands for: 0 for an empty or
// null string, the byte (1..255, or 0) for one byte, scan * 256 + 255 for
// 255 followed by a scan code; -1 for any other string.
int32_t key_string_code(const StringDesc* key);

// The unshifted character of a virtual key, 0 when it has none: the
// keyboard layer's "virtual key to character" map: the system's own layout
// where it has one (runtime/<os>/keyboard_layout.cpp), else the US layout
// of us_virtual_key_char.
int32_t virtual_key_char(int32_t virtual_key);
int32_t us_virtual_key_char(int32_t virtual_key);

// The scan code of a virtual key on the US layout: the first row of
// scan_vk_table whose key or alternative matches; 0 when unknown (also for
// virtual key 0).
int32_t virtual_key_scan(int32_t virtual_key);

// The key that types an ASCII character (on the system's layout, as above;
// us_char_virtual_key: on the US layout), in the keyboard layer's
// "character to virtual key" form: virtual key in the low byte,
// 0x100 Shift, 0x200 Ctrl. Control characters 1..31 are Ctrl with their
// key (1..26 the letters, 10 Ctrl+Return), except Backspace, Tab, Return
// and Escape, which are keys of their own. -1 when no key types it
// (0, 127 and bytes of 128 or more).
int32_t char_virtual_key(int32_t character);
int32_t us_char_virtual_key(int32_t character);
