// Keysyms on the PC keyboard: the key codes they become.
#include <gtest/gtest.h>

#include "display/xkb/xkb_pc_keys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

#include "runtime/console/key_codes.h"
#include "runtime/console/key_translate.h"
#include "runtime/console/virtual_keys.h"

namespace {

struct KeyCase {
    const char* what;
    uint32_t looked_up, unshifted;
    uint32_t modifiers;
    int32_t character;
    int32_t code;  // what key_translate gives (-1: nothing)
};

// The mapping is judged by the key codes the key handling makes of it.
TEST(XkbPcKeys, KeysBecomeTheirKeyCodes) {
    const KeyCase cases[] = {
        {"Up", XKB_KEY_Up, XKB_KEY_Up, 0, 0, ext_key(0x48)},
        {"keypad 8 without Num Lock", XKB_KEY_KP_Up, XKB_KEY_KP_Up, 0, 0, ext_key(0x48)},
        {"Ctrl+Home", XKB_KEY_Home, XKB_KEY_Home, KEYMOD_LEFT_CTRL, 0, ext_key(0x77)},
        {"Alt+Home", XKB_KEY_Home, XKB_KEY_Home, KEYMOD_LEFT_ALT, 0, ext_key(0x97)},
        {"Delete", XKB_KEY_Delete, XKB_KEY_Delete, 0, 0, ext_key(0x53)},
        {"keypad Enter", XKB_KEY_KP_Enter, XKB_KEY_KP_Enter, 0, 13, 13},
        {"F1", XKB_KEY_F1, XKB_KEY_F1, 0, 0, ext_key(0x3B)},
        {"Shift+F1", XKB_KEY_F1, XKB_KEY_F1, KEYMOD_SHIFT, 0, ext_key(0x54)},
        {"F12", XKB_KEY_F12, XKB_KEY_F12, 0, 0, ext_key(0x86)},
        {"Shift+Tab", XKB_KEY_ISO_Left_Tab, XKB_KEY_Tab, KEYMOD_SHIFT, 9, ext_key(0x0F)},
        {"Alt+x", XKB_KEY_x, XKB_KEY_x, KEYMOD_LEFT_ALT, 'x', ext_key(0x2D)},
        {"Alt+2", XKB_KEY_2, XKB_KEY_2, KEYMOD_LEFT_ALT, '2', ext_key(0x79)},
        {"a", XKB_KEY_a, XKB_KEY_a, 0, 'a', 'a'},
        {"Shift+1", XKB_KEY_exclam, XKB_KEY_1, KEYMOD_SHIFT, '!', '!'},
    };
    for (const KeyCase& c : cases) {
        const PcKey key = xkb_pc_key(c.looked_up, c.unshifted);
        const uint32_t modifiers = c.modifiers | (key.enhanced ? KEYMOD_ENHANCED : 0);
        EXPECT_EQ(key_translate(c.character, key.scan_code, key.virtual_key, modifiers, 0), c.code) << c.what;
    }
}

TEST(XkbPcKeys, KeysWithoutPcCounterpartHaveNone) {
    const PcKey key = xkb_pc_key(XKB_KEY_eacute, XKB_KEY_eacute);
    EXPECT_EQ(key.virtual_key, 0);
    EXPECT_EQ(key.scan_code, 0);
}

TEST(XkbPcKeys, KeyStateRowsOfModifiers) {
    EXPECT_EQ(xkb_pc_key(XKB_KEY_Shift_R, XKB_KEY_Shift_R).virtual_key, VKEY_SHIFT);
    EXPECT_EQ(xkb_pc_key(XKB_KEY_Control_R, XKB_KEY_Control_R).virtual_key, VKEY_CONTROL);
    EXPECT_TRUE(xkb_pc_key(XKB_KEY_Control_R, XKB_KEY_Control_R).enhanced);
    EXPECT_EQ(xkb_pc_key(XKB_KEY_Alt_L, XKB_KEY_Alt_L).virtual_key, VKEY_MENU);
}

}  // namespace
