#pragma once
// Every entry point of libxkbcommon that the keysym-based keyboards use, in
// one list. The library is loaded at run time (xkb_library_load), so the
// program starts where it is missing; the headers only lend the types.
#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

// Groups: XKB entries are needed; XKB_COMPOSE entries (dead keys and
// compose sequences) may be missing, and then keys type as they are.
#define XKB_SYMBOLS(X)                                \
    X(XKB, xkb_context_new)                           \
    X(XKB, xkb_context_unref)                         \
    X(XKB, xkb_keymap_new_from_buffer)                \
    X(XKB, xkb_keymap_unref)                          \
    X(XKB, xkb_keymap_key_repeats)                    \
    X(XKB, xkb_keymap_key_get_syms_by_level)          \
    X(XKB, xkb_keymap_min_keycode)                    \
    X(XKB, xkb_keymap_max_keycode)                    \
    X(XKB, xkb_state_new)                             \
    X(XKB, xkb_state_unref)                           \
    X(XKB, xkb_state_update_mask)                     \
    X(XKB, xkb_state_key_get_one_sym)                 \
    X(XKB, xkb_state_key_get_layout)                  \
    X(XKB, xkb_state_mod_name_is_active)              \
    X(XKB, xkb_keysym_to_utf8)                        \
    X(XKB_COMPOSE, xkb_compose_table_new_from_locale) \
    X(XKB_COMPOSE, xkb_compose_table_unref)           \
    X(XKB_COMPOSE, xkb_compose_state_new)             \
    X(XKB_COMPOSE, xkb_compose_state_unref)           \
    X(XKB_COMPOSE, xkb_compose_state_feed)            \
    X(XKB_COMPOSE, xkb_compose_state_get_status)      \
    X(XKB_COMPOSE, xkb_compose_state_get_utf8)        \
    X(XKB_COMPOSE, xkb_compose_state_reset)

enum XkbSymbolGroup { XKB, XKB_COMPOSE };

struct XkbApi {
#define XKB_API_MEMBER(group, name) decltype(&::name) name;
    XKB_SYMBOLS(XKB_API_MEMBER)
#undef XKB_API_MEMBER
};

// The resolved entry points; valid after xkb_library_load returned true.
extern XkbApi xkb;

// Loads libxkbcommon once per process; false when it or a needed entry is
// missing.
bool xkb_library_load();
