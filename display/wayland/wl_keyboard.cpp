// The seat's keyboard: the compositor's keymap, focus, keys through the
// shared keysym path, and key repeat done here from the compositor's rate
// and delay.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "display/display_window.h"
#include "display/wayland/wl_backend.h"
#include "display/window_events.h"
#include "display/xkb/xkb_keyboard.h"

namespace {

constexpr size_t KEYCODES = 768;          // xkb keycodes followed
constexpr uint32_t EVDEV_TO_XKB = 8;      // xkb numbers keys 8 above evdev
constexpr uint32_t MAX_KEYMAP = 1 << 24;  // bytes; a larger one is refused

WlInput& input() { return wl_state().input; }

bool ours(wl_surface* surface) { return surface && surface == wl_state().window.surface; }

void keymap(void*, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0 && size <= MAX_KEYMAP) {
        void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (text != MAP_FAILED) {
            xkb_keyboard_set_keymap(static_cast<const char*>(text), size);
            munmap(text, size);
        }
    }
    close(fd);
    input().keys_changed = true;
}

void stop_repeat() { input().repeat_key = 0; }

void enter(void*, wl_keyboard*, uint32_t, wl_surface* surface, wl_array* keys) {
    if (!ours(surface)) return;
    WlInput& in = input();
    std::fill(in.keys_down.begin(), in.keys_down.end(), uint8_t{0});
    const auto* held = static_cast<const uint32_t*>(keys->data);
    for (size_t i = 0; i < keys->size / sizeof *held; ++i)
        if (held[i] + EVDEV_TO_XKB < KEYCODES) in.keys_down[held[i] + EVDEV_TO_XKB] = 1;
    window_activate(true);
    in.keys_changed = true;
}

// Keys held as the focus goes are released for the program: their states
// clear, nothing repeats.
void leave(void*, wl_keyboard*, uint32_t, wl_surface*) {
    WlInput& in = input();
    stop_repeat();
    std::fill(in.keys_down.begin(), in.keys_down.end(), uint8_t{0});
    xkb_keyboard_focus_lost();
    window_activate(false);
}

void post(uint32_t keycode, bool pressed, bool was_down, int32_t repeat) {
    char text[XKB_TEXT_CAPACITY];
    XkbKeyEvent e{};
    if (!xkb_keyboard_event(keycode, pressed, &e, text)) return;
    e.was_down = was_down;
    e.repeat = repeat;
    if (pressed)
        xkb_key_press(e);
    else
        xkb_key_release(e);
}

void key(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t evdev_key, uint32_t state) {
    WlInput& in = input();
    const uint32_t code = evdev_key + EVDEV_TO_XKB;
    if (code >= KEYCODES) return;
    const bool pressed = state == WL_KEYBOARD_KEY_STATE_PRESSED;
    in.keys_down[code] = pressed ? 1 : 0;
    in.keys_changed = true;
    if (pressed) {
        // A new press ends the repeat of the key before it.
        in.repeat_key = in.repeat_rate > 0 && xkb_keyboard_repeats(code) ? code : 0;
        in.repeat_next_ms = wl_now_ms() + in.repeat_delay;
    } else if (in.repeat_key == code) {
        stop_repeat();
    }
    post(code, pressed, false, 1);
}

void modifiers(void*, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group) {
    xkb_keyboard_set_modifiers(depressed, latched, locked, group);
}

void repeat_info(void*, wl_keyboard*, int32_t rate, int32_t delay) {
    WlInput& in = input();
    in.repeat_rate = std::max(0, rate);
    in.repeat_delay = std::max(0, delay);
    if (in.repeat_rate == 0) stop_repeat();
}

// Built field by field: newer headers add events of versions not bound.
const wl_keyboard_listener KEYBOARD_LISTENER = [] {
    wl_keyboard_listener l{};
    l.keymap = keymap;
    l.enter = enter;
    l.leave = leave;
    l.key = key;
    l.modifiers = modifiers;
    l.repeat_info = repeat_info;
    return l;
}();

}  // namespace

void wl_keyboard_start(wl_seat* seat) {
    WlInput& in = input();
    in.keys_down.assign(KEYCODES, 0);
    // Until the compositor says otherwise: the rate and delay X servers use.
    in.repeat_rate = 25;
    in.repeat_delay = 660;
    in.keyboard = wl_seat_get_keyboard(seat);
    if (in.keyboard) wl_keyboard_add_listener(in.keyboard, &KEYBOARD_LISTENER, nullptr);
}

void wl_keyboard_stop() {
    WlInput& in = input();
    if (in.keyboard) wl_keyboard_destroy(in.keyboard);
    in.keyboard = nullptr;
    stop_repeat();
    xkb_keyboard_reset();
}

// Repeats due since the last are one press that stands for all of them.
void wl_keyboard_repeat(int64_t now_ms) {
    WlInput& in = input();
    if (!in.repeat_key || now_ms < in.repeat_next_ms || in.repeat_rate <= 0) return;
    const int64_t interval = std::max<int64_t>(1, 1000 / in.repeat_rate);
    const int64_t count = 1 + (now_ms - in.repeat_next_ms) / interval;
    in.repeat_next_ms += count * interval;
    post(in.repeat_key, true, true, static_cast<int32_t>(std::min<int64_t>(count, 0x7FFF)));
}

int64_t wl_keyboard_repeat_wait(int64_t now_ms) {
    const WlInput& in = input();
    if (!in.repeat_key || in.repeat_rate <= 0) return -1;
    return std::max<int64_t>(0, in.repeat_next_ms - now_ms);
}

// The key states follow the keys the compositor reports down.
void wl_keyboard_refresh_states() {
    WlInput& in = input();
    if (!display_window().active || !in.keys_changed || in.keys_down.empty()) return;
    in.keys_changed = false;
    uint8_t vk_down[256] = {};
    for (uint32_t code = 0; code < KEYCODES; ++code)
        if (in.keys_down[code]) vk_down[xkb_keyboard_virtual_key(code) & 0xFF] = 1;
    vk_down[0] = 0;
    window_refresh_key_states(vk_down);
}
