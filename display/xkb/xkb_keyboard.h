#pragma once
// The keyboard of a window system that hands its clients an xkb keymap
// (Wayland): the keymap and its state, dead keys and compose sequences, and
// the key events the key handling takes. Used by one thread, the one that
// talks to the window system.
#include <cstddef>
#include <cstdint>

#include "display/xkb/xkb_key_press.h"

// Compiles the keymap text (it replaces the one before); false, with no
// keymap, when it does not compile or libxkbcommon is missing.
bool xkb_keyboard_set_keymap(const char* text, size_t size);
// Frees the keymap, its state and the compose state.
void xkb_keyboard_reset();
bool xkb_keyboard_ready();

void xkb_keyboard_set_modifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group);

// A press or release of the key `keycode` (xkb's numbering): the event for
// the key handling, whose text points into `text`. False without a keymap.
bool xkb_keyboard_event(uint32_t keycode, bool pressed, XkbKeyEvent* event, char (&text)[XKB_TEXT_CAPACITY]);

// The keymap says the key repeats while held.
bool xkb_keyboard_repeats(uint32_t keycode);

// The PC virtual key of a key by its first keysym, 0 for none: the rows of
// the key states.
int32_t xkb_keyboard_virtual_key(uint32_t keycode);

// The keyboard left the window: a compose sequence begun is dropped.
void xkb_keyboard_focus_lost();
