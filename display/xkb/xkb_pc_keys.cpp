#include "display/xkb/xkb_pc_keys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include "runtime/console/keyboard_layout.h"
#include "runtime/console/us_layout.h"
#include "runtime/console/virtual_keys.h"

namespace {

constexpr int32_t VKEY_CLEAR = 0x0C;

struct KeysymRow {
    uint32_t keysym;
    uint8_t vk;
    uint8_t scan;
    bool enhanced;
};

// Keys that type no printable character, by keysym.
constexpr KeysymRow SPECIAL_KEYS[] = {
    {XKB_KEY_BackSpace, VKEY_BACK, 0x0E, false},
    {XKB_KEY_Tab, VKEY_TAB, 0x0F, false},
    {XKB_KEY_ISO_Left_Tab, VKEY_TAB, 0x0F, false},
    {XKB_KEY_Return, VKEY_RETURN, 0x1C, false},
    {XKB_KEY_Escape, VKEY_ESCAPE, 0x01, false},
    {XKB_KEY_space, VKEY_SPACE, 0x39, false},
    {XKB_KEY_Pause, VKEY_PAUSE, 0x45, false},
    {XKB_KEY_Scroll_Lock, VKEY_SCROLL, 0x46, false},
    {XKB_KEY_Num_Lock, VKEY_NUMLOCK, 0x45, true},
    {XKB_KEY_Caps_Lock, VKEY_CAPITAL, 0x3A, false},
    {XKB_KEY_Shift_L, VKEY_SHIFT, 0x2A, false},
    {XKB_KEY_Shift_R, VKEY_SHIFT, 0x36, false},
    {XKB_KEY_Control_L, VKEY_CONTROL, 0x1D, false},
    {XKB_KEY_Control_R, VKEY_CONTROL, 0x1D, true},
    {XKB_KEY_Alt_L, VKEY_MENU, 0x38, false},
    {XKB_KEY_Alt_R, VKEY_MENU, 0x38, true},
    {XKB_KEY_Meta_L, VKEY_MENU, 0x38, false},
    {XKB_KEY_Meta_R, VKEY_MENU, 0x38, true},
    {XKB_KEY_ISO_Level3_Shift, VKEY_MENU, 0x38, true},
    {XKB_KEY_Super_L, VKEY_LWIN, 0x5B, true},
    {XKB_KEY_Super_R, VKEY_RWIN, 0x5C, true},
    {XKB_KEY_Menu, VKEY_APPS, 0x5D, true},
    {XKB_KEY_Home, VKEY_HOME, 0x47, true},
    {XKB_KEY_Up, VKEY_UP, 0x48, true},
    {XKB_KEY_Prior, VKEY_PRIOR, 0x49, true},
    {XKB_KEY_Left, VKEY_LEFT, 0x4B, true},
    {XKB_KEY_Right, VKEY_RIGHT, 0x4D, true},
    {XKB_KEY_End, VKEY_END, 0x4F, true},
    {XKB_KEY_Down, VKEY_DOWN, 0x50, true},
    {XKB_KEY_Next, VKEY_NEXT, 0x51, true},
    {XKB_KEY_Insert, VKEY_INSERT, 0x52, true},
    {XKB_KEY_Delete, VKEY_DELETE, 0x53, true},
    {XKB_KEY_KP_Enter, VKEY_RETURN, 0x1C, true},
    {XKB_KEY_KP_Divide, VKEY_DIVIDE, 0x35, true},
    {XKB_KEY_KP_Multiply, VKEY_MULTIPLY, 0x37, false},
    {XKB_KEY_KP_Subtract, VKEY_SUBTRACT, 0x4A, false},
    {XKB_KEY_KP_Add, VKEY_ADD, 0x4E, false},
    {XKB_KEY_KP_Decimal, VKEY_DECIMAL, 0x53, false},
    {XKB_KEY_KP_Separator, VKEY_DECIMAL, 0x53, false},
    {XKB_KEY_KP_Delete, VKEY_DELETE, 0x53, false},
    {XKB_KEY_KP_Insert, VKEY_INSERT, 0x52, false},
    {XKB_KEY_KP_End, VKEY_END, 0x4F, false},
    {XKB_KEY_KP_Down, VKEY_DOWN, 0x50, false},
    {XKB_KEY_KP_Next, VKEY_NEXT, 0x51, false},
    {XKB_KEY_KP_Left, VKEY_LEFT, 0x4B, false},
    {XKB_KEY_KP_Begin, VKEY_CLEAR, 0x4C, false},
    {XKB_KEY_KP_Right, VKEY_RIGHT, 0x4D, false},
    {XKB_KEY_KP_Home, VKEY_HOME, 0x47, false},
    {XKB_KEY_KP_Up, VKEY_UP, 0x48, false},
    {XKB_KEY_KP_Prior, VKEY_PRIOR, 0x49, false},
    {XKB_KEY_KP_0, VKEY_NUMPAD0 + 0, 0x52, false},
    {XKB_KEY_KP_1, VKEY_NUMPAD0 + 1, 0x4F, false},
    {XKB_KEY_KP_2, VKEY_NUMPAD0 + 2, 0x50, false},
    {XKB_KEY_KP_3, VKEY_NUMPAD0 + 3, 0x51, false},
    {XKB_KEY_KP_4, VKEY_NUMPAD0 + 4, 0x4B, false},
    {XKB_KEY_KP_5, VKEY_NUMPAD0 + 5, 0x4C, false},
    {XKB_KEY_KP_6, VKEY_NUMPAD0 + 6, 0x4D, false},
    {XKB_KEY_KP_7, VKEY_NUMPAD0 + 7, 0x47, false},
    {XKB_KEY_KP_8, VKEY_NUMPAD0 + 8, 0x48, false},
    {XKB_KEY_KP_9, VKEY_NUMPAD0 + 9, 0x49, false},
    {XKB_KEY_F1, VKEY_F1 + 0, 0x3B, false},
    {XKB_KEY_F2, VKEY_F1 + 1, 0x3C, false},
    {XKB_KEY_F3, VKEY_F1 + 2, 0x3D, false},
    {XKB_KEY_F4, VKEY_F1 + 3, 0x3E, false},
    {XKB_KEY_F5, VKEY_F1 + 4, 0x3F, false},
    {XKB_KEY_F6, VKEY_F1 + 5, 0x40, false},
    {XKB_KEY_F7, VKEY_F1 + 6, 0x41, false},
    {XKB_KEY_F8, VKEY_F1 + 7, 0x42, false},
    {XKB_KEY_F9, VKEY_F1 + 8, 0x43, false},
    {XKB_KEY_F10, VKEY_F1 + 9, 0x44, false},
    {XKB_KEY_F11, VKEY_F1 + 10, 0x57, false},
    {XKB_KEY_F12, VKEY_F1 + 11, 0x58, false},
};

const KeysymRow* special_key(uint32_t keysym) {
    for (const KeysymRow& row : SPECIAL_KEYS)
        if (row.keysym == keysym) return &row;
    return nullptr;
}

// A printable key of the US layout, named by its unshifted character.
PcKey printable_key(uint32_t unshifted) {
    if (unshifted < 0x21 || unshifted > 0x7E) return {};
    const int32_t keys = char_virtual_key(static_cast<int32_t>(unshifted));
    if (keys < 0) return {};
    const int32_t vk = keys & 0xFF;
    return {vk, virtual_key_scan(vk), false};
}

}  // namespace

PcKey xkb_pc_key(uint32_t looked_up, uint32_t unshifted) {
    const KeysymRow* row = special_key(looked_up);
    if (!row) row = special_key(unshifted);
    if (row) return {row->vk, row->scan, row->enhanced};
    return printable_key(unshifted);
}
