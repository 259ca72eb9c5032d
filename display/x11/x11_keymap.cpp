#include "display/x11/x11_keymap.h"

#include <X11/keysym.h>

#include "runtime/console/keyboard_layout.h"
#include "runtime/console/us_layout.h"
#include "runtime/console/virtual_keys.h"

namespace {

constexpr int32_t VKEY_CLEAR = 0x0C;

struct KeysymRow {
    KeySym keysym;
    uint8_t vk;
    uint8_t scan;
    bool enhanced;
};

// Keys that type no printable character, by keysym.
// clang-format off
constexpr KeysymRow SPECIAL_KEYS[] = {
    {XK_BackSpace, VKEY_BACK, 0x0E, false},      {XK_Tab, VKEY_TAB, 0x0F, false},
    {XK_ISO_Left_Tab, VKEY_TAB, 0x0F, false},    {XK_Return, VKEY_RETURN, 0x1C, false},
    {XK_Escape, VKEY_ESCAPE, 0x01, false},       {XK_space, VKEY_SPACE, 0x39, false},
    {XK_Pause, VKEY_PAUSE, 0x45, false},         {XK_Scroll_Lock, VKEY_SCROLL, 0x46, false},
    {XK_Num_Lock, VKEY_NUMLOCK, 0x45, true},     {XK_Caps_Lock, VKEY_CAPITAL, 0x3A, false},
    {XK_Shift_L, VKEY_SHIFT, 0x2A, false},       {XK_Shift_R, VKEY_SHIFT, 0x36, false},
    {XK_Control_L, VKEY_CONTROL, 0x1D, false},   {XK_Control_R, VKEY_CONTROL, 0x1D, true},
    {XK_Alt_L, VKEY_MENU, 0x38, false},          {XK_Alt_R, VKEY_MENU, 0x38, true},
    {XK_Meta_L, VKEY_MENU, 0x38, false},         {XK_Meta_R, VKEY_MENU, 0x38, true},
    {XK_ISO_Level3_Shift, VKEY_MENU, 0x38, true}, {XK_Super_L, VKEY_LWIN, 0x5B, true},
    {XK_Super_R, VKEY_RWIN, 0x5C, true},         {XK_Menu, VKEY_APPS, 0x5D, true},
    {XK_Home, VKEY_HOME, 0x47, true},            {XK_Up, VKEY_UP, 0x48, true},
    {XK_Prior, VKEY_PRIOR, 0x49, true},          {XK_Left, VKEY_LEFT, 0x4B, true},
    {XK_Right, VKEY_RIGHT, 0x4D, true},          {XK_End, VKEY_END, 0x4F, true},
    {XK_Down, VKEY_DOWN, 0x50, true},            {XK_Next, VKEY_NEXT, 0x51, true},
    {XK_Insert, VKEY_INSERT, 0x52, true},        {XK_Delete, VKEY_DELETE, 0x53, true},
    {XK_KP_Enter, VKEY_RETURN, 0x1C, true},      {XK_KP_Divide, VKEY_DIVIDE, 0x35, true},
    {XK_KP_Multiply, VKEY_MULTIPLY, 0x37, false}, {XK_KP_Subtract, VKEY_SUBTRACT, 0x4A, false},
    {XK_KP_Add, VKEY_ADD, 0x4E, false},          {XK_KP_Decimal, VKEY_DECIMAL, 0x53, false},
    {XK_KP_Separator, VKEY_DECIMAL, 0x53, false}, {XK_KP_Delete, VKEY_DELETE, 0x53, false},
    {XK_KP_Insert, VKEY_INSERT, 0x52, false},    {XK_KP_End, VKEY_END, 0x4F, false},
    {XK_KP_Down, VKEY_DOWN, 0x50, false},        {XK_KP_Next, VKEY_NEXT, 0x51, false},
    {XK_KP_Left, VKEY_LEFT, 0x4B, false},        {XK_KP_Begin, VKEY_CLEAR, 0x4C, false},
    {XK_KP_Right, VKEY_RIGHT, 0x4D, false},      {XK_KP_Home, VKEY_HOME, 0x47, false},
    {XK_KP_Up, VKEY_UP, 0x48, false},            {XK_KP_Prior, VKEY_PRIOR, 0x49, false},
    {XK_KP_0, VKEY_NUMPAD0 + 0, 0x52, false},    {XK_KP_1, VKEY_NUMPAD0 + 1, 0x4F, false},
    {XK_KP_2, VKEY_NUMPAD0 + 2, 0x50, false},    {XK_KP_3, VKEY_NUMPAD0 + 3, 0x51, false},
    {XK_KP_4, VKEY_NUMPAD0 + 4, 0x4B, false},    {XK_KP_5, VKEY_NUMPAD0 + 5, 0x4C, false},
    {XK_KP_6, VKEY_NUMPAD0 + 6, 0x4D, false},    {XK_KP_7, VKEY_NUMPAD0 + 7, 0x47, false},
    {XK_KP_8, VKEY_NUMPAD0 + 8, 0x48, false},    {XK_KP_9, VKEY_NUMPAD0 + 9, 0x49, false},
    {XK_F1, VKEY_F1 + 0, 0x3B, false},           {XK_F2, VKEY_F1 + 1, 0x3C, false},
    {XK_F3, VKEY_F1 + 2, 0x3D, false},           {XK_F4, VKEY_F1 + 3, 0x3E, false},
    {XK_F5, VKEY_F1 + 4, 0x3F, false},           {XK_F6, VKEY_F1 + 5, 0x40, false},
    {XK_F7, VKEY_F1 + 6, 0x41, false},           {XK_F8, VKEY_F1 + 7, 0x42, false},
    {XK_F9, VKEY_F1 + 8, 0x43, false},           {XK_F10, VKEY_F1 + 9, 0x44, false},
    {XK_F11, VKEY_F1 + 10, 0x57, false},         {XK_F12, VKEY_F1 + 11, 0x58, false},
};
// clang-format on

const KeysymRow* special_key(KeySym keysym) {
    for (const KeysymRow& row : SPECIAL_KEYS)
        if (row.keysym == keysym) return &row;
    return nullptr;
}

// A printable key of the US layout, named by its unshifted character.
X11Key printable_key(KeySym unshifted) {
    if (unshifted < 0x21 || unshifted > 0x7E) return {};
    const int32_t keys = char_virtual_key(static_cast<int32_t>(unshifted));
    if (keys < 0) return {};
    const int32_t vk = keys & 0xFF;
    return {vk, virtual_key_scan(vk), false};
}

}  // namespace

X11Key x11_key_for(KeySym looked_up, KeySym unshifted) {
    const KeysymRow* row = special_key(looked_up);
    if (!row) row = special_key(unshifted);
    if (row) return {row->vk, row->scan, row->enhanced};
    return printable_key(unshifted);
}
