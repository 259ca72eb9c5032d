#include "display/xkb/xkb_keyboard.h"

#include <cstdlib>

#include "display/xkb/xkb_symbols.h"

namespace {

struct Keyboard {
    xkb_context* context;
    xkb_keymap* keymap;
    xkb_state* state;
    xkb_compose_table* compose_table;
    xkb_compose_state* compose;
};

Keyboard g_keyboard;

bool active(const char* modifier) {
    return xkb.xkb_state_mod_name_is_active(g_keyboard.state, modifier, XKB_STATE_MODS_EFFECTIVE) > 0;
}

uint32_t first_keysym(uint32_t keycode, xkb_layout_index_t layout) {
    const xkb_keysym_t* syms = nullptr;
    const int n = xkb.xkb_keymap_key_get_syms_by_level(g_keyboard.keymap, keycode, layout, 0, &syms);
    return n > 0 && syms ? syms[0] : XKB_KEY_NoSymbol;
}

// The locale's compose sequences, where it has any and libxkbcommon has
// the entries; without them keys type as they are.
void open_compose() {
    if (!xkb.xkb_compose_table_new_from_locale || g_keyboard.compose_table) return;
    const char* locale = std::getenv("LC_ALL");
    if (!locale || !*locale) locale = std::getenv("LC_CTYPE");
    if (!locale || !*locale) locale = std::getenv("LANG");
    if (!locale || !*locale) locale = "C";
    g_keyboard.compose_table =
        xkb.xkb_compose_table_new_from_locale(g_keyboard.context, locale, XKB_COMPOSE_COMPILE_NO_FLAGS);
    if (g_keyboard.compose_table)
        g_keyboard.compose = xkb.xkb_compose_state_new(g_keyboard.compose_table, XKB_COMPOSE_STATE_NO_FLAGS);
}

int32_t keysym_text(uint32_t sym, char (&text)[XKB_TEXT_CAPACITY]) {
    const int n = xkb.xkb_keysym_to_utf8(sym, text, sizeof text);
    return n > 1 ? n - 1 : 0;  // the count includes the terminating zero
}

// What a press types: the keysym's character, or a compose sequence's
// result when the keysym ends one (nothing while one is under way).
int32_t press_text(uint32_t sym, char (&text)[XKB_TEXT_CAPACITY]) {
    xkb_compose_state* compose = g_keyboard.compose;
    if (!compose || xkb.xkb_compose_state_feed(compose, sym) != XKB_COMPOSE_FEED_ACCEPTED)
        return keysym_text(sym, text);
    switch (xkb.xkb_compose_state_get_status(compose)) {
    case XKB_COMPOSE_COMPOSING: return 0;
    case XKB_COMPOSE_COMPOSED: {
        const int n = xkb.xkb_compose_state_get_utf8(compose, text, sizeof text);
        xkb.xkb_compose_state_reset(compose);
        return n > 0 && n < XKB_TEXT_CAPACITY ? n : 0;
    }
    case XKB_COMPOSE_CANCELLED: xkb.xkb_compose_state_reset(compose); return 0;
    default: return keysym_text(sym, text);
    }
}

}  // namespace

bool xkb_keyboard_set_keymap(const char* text, size_t size) {
    if (!xkb_library_load()) return false;
    if (!g_keyboard.context) g_keyboard.context = xkb.xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!g_keyboard.context) return false;
    if (g_keyboard.state) xkb.xkb_state_unref(g_keyboard.state);
    if (g_keyboard.keymap) xkb.xkb_keymap_unref(g_keyboard.keymap);
    g_keyboard.state = nullptr;
    // The text may or may not end in a zero; xkbcommon takes it without one.
    while (size > 0 && text[size - 1] == '\0') --size;
    g_keyboard.keymap = xkb.xkb_keymap_new_from_buffer(g_keyboard.context, text, size, XKB_KEYMAP_FORMAT_TEXT_V1,
                                                       XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (!g_keyboard.keymap) return false;
    g_keyboard.state = xkb.xkb_state_new(g_keyboard.keymap);
    open_compose();
    return g_keyboard.state != nullptr;
}

void xkb_keyboard_reset() {
    if (!xkb_library_load()) return;
    if (g_keyboard.compose) xkb.xkb_compose_state_unref(g_keyboard.compose);
    if (g_keyboard.compose_table) xkb.xkb_compose_table_unref(g_keyboard.compose_table);
    if (g_keyboard.state) xkb.xkb_state_unref(g_keyboard.state);
    if (g_keyboard.keymap) xkb.xkb_keymap_unref(g_keyboard.keymap);
    if (g_keyboard.context) xkb.xkb_context_unref(g_keyboard.context);
    g_keyboard = Keyboard{};
}

bool xkb_keyboard_ready() { return g_keyboard.state != nullptr; }

void xkb_keyboard_set_modifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group) {
    if (g_keyboard.state) xkb.xkb_state_update_mask(g_keyboard.state, depressed, latched, locked, 0, 0, group);
}

bool xkb_keyboard_event(uint32_t keycode, bool pressed, XkbKeyEvent* event, char (&text)[XKB_TEXT_CAPACITY]) {
    if (!g_keyboard.state) return false;
    const uint32_t sym = xkb.xkb_state_key_get_one_sym(g_keyboard.state, keycode);
    XkbKeyEvent e{};
    e.looked_up = sym;
    e.unshifted = first_keysym(keycode, xkb.xkb_state_key_get_layout(g_keyboard.state, keycode));
    e.modifiers = {active(XKB_MOD_NAME_SHIFT), active(XKB_MOD_NAME_CTRL), active(XKB_MOD_NAME_ALT)};
    e.text = text;
    e.text_length = pressed ? press_text(sym, text) : keysym_text(sym, text);
    e.repeat = 1;
    *event = e;
    return true;
}

bool xkb_keyboard_repeats(uint32_t keycode) {
    return g_keyboard.keymap && xkb.xkb_keymap_key_repeats(g_keyboard.keymap, keycode) == 1;
}

int32_t xkb_keyboard_virtual_key(uint32_t keycode) {
    if (!g_keyboard.keymap) return 0;
    const uint32_t sym = first_keysym(keycode, 0);
    return xkb_pc_key(sym, sym).virtual_key;
}

void xkb_keyboard_focus_lost() {
    if (g_keyboard.compose) xkb.xkb_compose_state_reset(g_keyboard.compose);
}
