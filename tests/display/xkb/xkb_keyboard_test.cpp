// The keyboard of keymap-handing window systems (Wayland): a real US keymap
// compiled by xkbcommon, modifiers as the compositor reports them, and the
// keys through the shared key handling into the key queue, held to the
// table of the PC keyboard rules that the Windows side follows.
#include <gtest/gtest.h>

#include <xkbcommon/xkbcommon.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/display_window.h"
#include "display/xkb/xkb_keyboard.h"
#include "gfx/key_queue.h"
#include "runtime/console/key_codes.h"
#include "support/pc_key_rules.h"
#include "support/scoped_env.h"

namespace {

class XkbKeyboardTest : public ::testing::Test {
   protected:
    void SetUp() override {
        context_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        ASSERT_NE(context_, nullptr);
        display_window_clear();
        display_window().active = 1;
        key_queue() = KeyQueue{};
    }
    void TearDown() override {
        xkb_keyboard_reset();
        if (keymap_) xkb_keymap_unref(keymap_);
        xkb_context_unref(context_);
        key_queue() = KeyQueue{};
    }

    // The keymap of `layout` as a compositor hands it out.
    void use_layout(const char* layout, const char* variant = "") {
        const xkb_rule_names names{"evdev", "pc105", layout, variant, ""};
        keymap_ = xkb_keymap_new_from_names(context_, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        ASSERT_NE(keymap_, nullptr) << layout;
        char* text = xkb_keymap_get_as_string(keymap_, XKB_KEYMAP_FORMAT_TEXT_V1);
        ASSERT_NE(text, nullptr);
        const bool loaded = xkb_keyboard_set_keymap(text, std::strlen(text) + 1);
        std::free(text);
        ASSERT_TRUE(loaded);
    }

    // The key whose first keysym is `name`.
    uint32_t keycode_of(const char* name) const {
        const xkb_keysym_t want = xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
        for (xkb_keycode_t k = xkb_keymap_min_keycode(keymap_); k <= xkb_keymap_max_keycode(keymap_); ++k) {
            const xkb_keysym_t* syms = nullptr;
            if (xkb_keymap_key_get_syms_by_level(keymap_, k, 0, 0, &syms) > 0 && syms[0] == want) return k;
        }
        return 0;
    }

    // The modifiers the compositor reports while these keys are held.
    void hold(const std::vector<const char*>& keys) {
        xkb_state* state = xkb_state_new(keymap_);
        for (const char* k : keys) xkb_state_update_key(state, keycode_of(k), XKB_KEY_DOWN);
        xkb_keyboard_set_modifiers(xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
                                   xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
                                   xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
                                   xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
        xkb_state_unref(state);
    }

    // Presses and releases the key; what reached the key queue.
    std::vector<int32_t> press(const char* name) {
        const uint32_t code = keycode_of(name);
        EXPECT_NE(code, 0u) << name;
        char text[XKB_TEXT_CAPACITY];
        XkbKeyEvent e{};
        if (xkb_keyboard_event(code, true, &e, text)) xkb_key_press(e);
        if (xkb_keyboard_event(code, false, &e, text)) xkb_key_release(e);
        std::vector<int32_t> keys;
        while (!key_queue().empty()) keys.push_back(key_queue().take());
        return keys;
    }

    xkb_context* context_ = nullptr;
    xkb_keymap* keymap_ = nullptr;
};

TEST_F(XkbKeyboardTest, KeysWithModifiersPostWhatThePcRulesSay) {
    use_layout("us");
    for (const PcKeyRule& r : pc_key_rules()) {
        std::vector<const char*> held;
        if (r.modifiers & RULE_SHIFT) held.push_back("Shift_L");
        if (r.modifiers & RULE_CTRL) held.push_back("Control_L");
        if (r.modifiers & RULE_ALT) held.push_back("Alt_L");
        hold(held);
        EXPECT_EQ(press(r.key), r.posted) << pc_rule_chord(r);
    }
}

// Caps Lock changes what letters type, not what Ctrl makes of them.
TEST_F(XkbKeyboardTest, CapsLockAndNumLockFollowTheKeymap) {
    use_layout("us");
    xkb_state* state = xkb_state_new(keymap_);
    xkb_state_update_key(state, keycode_of("Caps_Lock"), XKB_KEY_DOWN);
    xkb_state_update_key(state, keycode_of("Caps_Lock"), XKB_KEY_UP);
    const uint32_t caps = xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED);
    xkb_state_unref(state);
    xkb_keyboard_set_modifiers(0, 0, caps, 0);
    EXPECT_EQ(press("a"), std::vector<int32_t>{'A'});
    EXPECT_EQ(press("1"), std::vector<int32_t>{'1'});
    // Without Num Lock the keypad is the cursor block's twin.
    xkb_keyboard_set_modifiers(0, 0, 0, 0);
    EXPECT_EQ(press("KP_Home"), std::vector<int32_t>{ext_key(0x47)});
}

// A dead key types nothing; the next key types the accented character, in
// code page 437.
TEST_F(XkbKeyboardTest, DeadKeysComposeAccentedCharacters) {
    ScopedEnv all("LC_ALL", "en_US.UTF-8");
    use_layout("us", "intl");
    xkb_keyboard_set_modifiers(0, 0, 0, 0);
    if (press("dead_acute") != std::vector<int32_t>{}) GTEST_SKIP() << "no compose table for en_US.UTF-8";
    EXPECT_EQ(press("e"), std::vector<int32_t>{static_cast<int8_t>(0x82)});
    EXPECT_EQ(press("e"), std::vector<int32_t>{'e'});
}

}  // namespace
