// X keys on the PC keyboard: the key codes they become.
#include <gtest/gtest.h>

#include "display/x11/x11_keymap.h"

#include <X11/keysym.h>

#include "runtime/console/key_codes.h"
#include "runtime/console/key_translate.h"
#include "runtime/console/virtual_keys.h"

namespace {

struct KeyCase {
    const char* what;
    KeySym looked_up, unshifted;
    uint32_t modifiers;
    int32_t character;
    int32_t code;  // what key_translate gives (-1: nothing)
};

// The mapping is judged by the key codes the key handling makes of it.
TEST(X11Keymap, KeysBecomeTheirKeyCodes) {
    const KeyCase cases[] = {
        {"Up", XK_Up, XK_Up, 0, 0, ext_key(0x48)},
        {"keypad 8 without Num Lock", XK_KP_Up, XK_KP_Up, 0, 0, ext_key(0x48)},
        {"Ctrl+Home", XK_Home, XK_Home, KEYMOD_LEFT_CTRL, 0, ext_key(0x77)},
        {"Alt+Home", XK_Home, XK_Home, KEYMOD_LEFT_ALT, 0, ext_key(0x97)},
        {"Delete", XK_Delete, XK_Delete, 0, 0, ext_key(0x53)},
        {"keypad Enter", XK_KP_Enter, XK_KP_Enter, 0, 13, 13},
        {"F1", XK_F1, XK_F1, 0, 0, ext_key(0x3B)},
        {"Shift+F1", XK_F1, XK_F1, KEYMOD_SHIFT, 0, ext_key(0x54)},
        {"F12", XK_F12, XK_F12, 0, 0, ext_key(0x86)},
        {"Shift+Tab", XK_ISO_Left_Tab, XK_Tab, KEYMOD_SHIFT, 9, ext_key(0x0F)},
        {"Alt+x", XK_x, XK_x, KEYMOD_LEFT_ALT, 'x', ext_key(0x2D)},
        {"Alt+2", XK_2, XK_2, KEYMOD_LEFT_ALT, '2', ext_key(0x79)},
        {"a", XK_a, XK_a, 0, 'a', 'a'},
        {"Shift+1", XK_exclam, XK_1, KEYMOD_SHIFT, '!', '!'},
    };
    for (const KeyCase& c : cases) {
        const X11Key key = x11_key_for(c.looked_up, c.unshifted);
        const uint32_t modifiers = c.modifiers | (key.enhanced ? KEYMOD_ENHANCED : 0);
        EXPECT_EQ(key_translate(c.character, key.scan_code, key.virtual_key, modifiers, 0), c.code) << c.what;
    }
}

TEST(X11Keymap, KeysWithoutPcCounterpartHaveNone) {
    const X11Key key = x11_key_for(XK_eacute, XK_eacute);
    EXPECT_EQ(key.virtual_key, 0);
    EXPECT_EQ(key.scan_code, 0);
}

TEST(X11Keymap, KeyStateRowsOfModifiers) {
    EXPECT_EQ(x11_key_for(XK_Shift_R, XK_Shift_R).virtual_key, VKEY_SHIFT);
    EXPECT_EQ(x11_key_for(XK_Control_R, XK_Control_R).virtual_key, VKEY_CONTROL);
    EXPECT_TRUE(x11_key_for(XK_Control_R, XK_Control_R).enhanced);
    EXPECT_EQ(x11_key_for(XK_Alt_L, XK_Alt_L).virtual_key, VKEY_MENU);
}

}  // namespace
