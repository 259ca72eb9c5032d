// What the Windows window procedure reads from key, character and mouse
// messages: the control-key state, the key message's fields, the typed
// character in code page 437, the extra buttons.
#include "display/win32/win32_input.h"

#include <gtest/gtest.h>

#include "display/display_window.h"
#include "display/win32/win32_window.h"
#include "runtime/console/key_codes.h"

namespace {

constexpr LPARAM key_lparam(int32_t repeat, int32_t scan, bool extended = false, bool alt = false,
                            bool was_down = false) {
    return static_cast<LPARAM>(repeat & 0xFFFF) | static_cast<LPARAM>(scan & 0xFF) << 16 |
           (extended ? LPARAM{1} << 24 : 0) | (alt ? LPARAM{1} << 29 : 0) | (was_down ? LPARAM{1} << 30 : 0);
}

TEST(Win32KeyMessages, ControlKeyStateFromTheKeyboardState) {
    struct Case {
        std::vector<int> down;
        LPARAM lparam;
        uint32_t modifiers;
    };
    const Case cases[] = {
        {{}, 0, 0},
        {{VK_SHIFT}, 0, KEYMOD_SHIFT},
        {{VK_LSHIFT}, 0, KEYMOD_SHIFT},
        {{VK_RSHIFT}, 0, KEYMOD_SHIFT},
        {{VK_CONTROL}, 0, KEYMOD_LEFT_CTRL},
        {{VK_LCONTROL}, 0, KEYMOD_LEFT_CTRL},
        {{VK_CONTROL, VK_RCONTROL}, 0, KEYMOD_LEFT_CTRL | KEYMOD_RIGHT_CTRL},  // both: Control is down too
        {{VK_MENU}, 0, KEYMOD_LEFT_ALT},
        {{VK_LMENU}, 0, KEYMOD_LEFT_ALT},
        {{VK_RMENU}, 0, KEYMOD_RIGHT_ALT},
        {{}, key_lparam(1, 0x48, true), KEYMOD_ENHANCED},
        {{VK_SHIFT, VK_MENU}, key_lparam(1, 0x48, true), KEYMOD_SHIFT | KEYMOD_LEFT_ALT | KEYMOD_ENHANCED},
    };
    for (const Case& c : cases) {
        BYTE state[256] = {};
        for (int vk : c.down) state[vk] = 0x80;
        state['A'] = 0x01;  // toggled, not down
        EXPECT_EQ(win32_key_modifiers(state, c.lparam), c.modifiers) << c.down.size();
    }
}

TEST(Win32KeyMessages, FieldsOfAKeyMessage) {
    BYTE state[256] = {};
    KeyMessage k = win32_key_message(WM_KEYDOWN, VK_UP, key_lparam(3, 0x48, true, false, true), state, 0);
    EXPECT_EQ(k.virtual_key, VK_UP);
    EXPECT_EQ(k.scan_code, 0x48);
    EXPECT_EQ(k.modifiers, KEYMOD_ENHANCED);
    EXPECT_EQ(k.repeat, 3);
    EXPECT_TRUE(k.was_down);
    EXPECT_FALSE(k.system_key);

    state[VK_MENU] = 0x80;
    k = win32_key_message(WM_SYSKEYDOWN, 'X', key_lparam(1, 0x2D, false, true), state, 'x');
    EXPECT_EQ(k.character, 'x');
    EXPECT_EQ(k.modifiers, KEYMOD_LEFT_ALT);
    EXPECT_FALSE(k.was_down);
    EXPECT_TRUE(k.system_key);

    // The virtual key is wParam's low word.
    k = win32_key_message(WM_KEYUP, 0x10000 | VK_F1, key_lparam(1, 0x3B), state, 0);
    EXPECT_EQ(k.virtual_key, VK_F1);
}

// The system's keyboard layout answers; Wine's default one is the US
// layout.
TEST(Win32KeyMessages, CharacterTheKeyTypes) {
    BYTE state[256] = {};
    EXPECT_EQ(win32_key_character('A', key_lparam(1, 0x1E), state), 'a');
    state[VK_SHIFT] = 0x80;
    EXPECT_EQ(win32_key_character('1', key_lparam(1, 0x02), state), '!');
    EXPECT_EQ(win32_key_character(VK_UP, key_lparam(1, 0x48, true), state), 0);
    EXPECT_EQ(win32_key_character(VK_F1, key_lparam(1, 0x3B), state), 0);
}

// The byte is read in the code page it was typed in: the same byte is
// another letter in another one.
TEST(Win32KeyMessages, TypedBytesOfACodePageInCodePage437) {
    struct Case {
        UINT code_page;
        uint8_t typed, cp437;
    };
    const Case cases[] = {
        {1252, 'a', 'a'},   {1252, 0xE9, 0x82}, {1252, 0xFC, 0x81}, {1252, 0xA3, 0x9C},
        {1252, 0xDF, 0xE1}, {1252, 0xE1, 0xA0}, {1253, 0xE1, 0xE0},  // Western a acute, Greek alpha
    };
    for (const Case& c : cases) {
        uint8_t got = 0;
        ASSERT_TRUE(win32_cp437_of(c.typed, c.code_page, &got)) << c.code_page << ": " << int(c.typed);
        EXPECT_EQ(got, c.cp437) << c.code_page << ": " << int(c.typed);
    }
    // The buffers grew once and are kept between messages.
    const Win32Window& w32 = win32_window();
    EXPECT_GE(w32.wide.capacity, 2);
    EXPECT_GE(w32.bytes.capacity, 2);
    display_window_clear();
    EXPECT_EQ(w32.wide.data, nullptr);
    EXPECT_EQ(w32.wide.capacity, 0);
}

TEST(Win32MouseMessages, ExtraButtonsFromTheKeyFlags) {
    EXPECT_EQ(win32_extra_buttons(0), 0);
    EXPECT_EQ(win32_extra_buttons(0x20), MOUSE_EXTRA1);
    EXPECT_EQ(win32_extra_buttons(0x40), MOUSE_EXTRA2);
    EXPECT_EQ(win32_extra_buttons(0x60 | MK_LBUTTON | 0x20000), MOUSE_EXTRA1 | MOUSE_EXTRA2);
}

}  // namespace
