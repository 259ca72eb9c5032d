#pragma once
#include <cstdint>

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
