// The table of the PC keyboard rules through the real thing: the keyboard
// state set, the key message handled by the window procedure's key
// handling (ToAscii, MapVirtualKeyA, key_translate), and the character
// message TranslateMessage would make of the key (none under Alt: a system
// character). The X11 and Wayland keyboards are held to the same table.
#include <windows.h>

#include <gtest/gtest.h>

#include "display/display_window.h"
#include "display/win32/win32_input.h"
#include "gfx/key_queue.h"
#include "support/pc_key_rules.h"

namespace {

LPARAM key_lparam(const PcKeyRule& r) {
    LPARAM l = 1 | static_cast<LPARAM>(r.scan) << 16;
    if (r.enhanced) l |= LPARAM{1} << 24;
    if (r.modifiers & RULE_ALT) l |= LPARAM{1} << 29;
    return l;
}

void set_keyboard(uint8_t modifiers) {
    BYTE state[256] = {};
    if (modifiers & RULE_SHIFT) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    if (modifiers & RULE_CTRL) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    if (modifiers & RULE_ALT) state[VK_MENU] = state[VK_LMENU] = 0x80;
    ASSERT_TRUE(SetKeyboardState(state));
}

std::vector<int32_t> posted_for(const PcKeyRule& r) {
    key_queue() = KeyQueue{};
    set_keyboard(r.modifiers);
    const LPARAM lparam = key_lparam(r);
    const bool system = (r.modifiers & RULE_ALT) || r.vk == VK_F10;
    win32_key(system ? WM_SYSKEYDOWN : WM_KEYDOWN, r.vk, lparam);
    BYTE state[256];
    GetKeyboardState(state);
    WORD typed[2] = {};
    if (!system && ToAscii(r.vk, r.scan, state, typed, 0) == 1) win32_char(typed[0] & 0xFF, lparam);
    std::vector<int32_t> keys;
    while (!key_queue().empty()) keys.push_back(key_queue().take());
    return keys;
}

// Wine says who it is through an entry point of its own.
bool under_wine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

TEST(Win32KeyRules, KeysWithModifiersPostWhatTheTableSays) {
    display_window_clear();
    display_window().active = 1;
    const bool wine = under_wine();
    for (const PcKeyRule& r : pc_key_rules())
        EXPECT_EQ(posted_for(r), wine && r.on_wine ? *r.on_wine : r.posted) << pc_rule_chord(r);
    set_keyboard(0);
    key_queue() = KeyQueue{};
}

}  // namespace
