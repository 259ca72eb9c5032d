#pragma once
#include <cstdint>

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
