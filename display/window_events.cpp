#include "display/window_events.h"

#include <cstring>

#include "display/display_window.h"
#include "display/window_platform.h"
#include "gfx/drivers.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/console_end.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/key_tables.h"
#include "runtime/os.h"

void event_post(const GfxEvent& event) {
    GfxScreen* s = g_gfx_screen;
    if (!s || !s->events || !s->event_lock) return;
    os_lock_enter(s->event_lock);
    s->events[s->event_head] = event;
    s->event_head = (s->event_head + 1) % EVENT_QUEUE_SIZE;
    if (s->event_head == s->event_tail) s->event_tail = (s->event_tail + 1) % EVENT_QUEUE_SIZE;
    os_lock_leave(s->event_lock);
}

void window_close_request() {
    key_post(KEY_CLOSE);
    event_post(GfxEvent{EVENT_WINDOW_CLOSE, 0, 0, 0, 0});
}

void window_system_lost(bool& reported) {
    if (reported) return;
    reported = true;
    window_close_request();
    console_mark_ended();
}

namespace {

void confine_pointer(int32_t on) {
    if (auto confine = display_window().backend.confine_pointer) confine(on);
}

void clear_key_states() {
    if (GfxScreen* s = g_gfx_screen) std::memset(s->key_states, 0, KEY_STATE_COUNT);
}

}  // namespace

void window_activate(bool active, bool while_minimised) {
    DisplayWindow& w = display_window();
    MouseState& m = mouse_state();
    w.active = active ? 1 : 0;
    clear_key_states();
    m.buttons = 0;
    gfx_mark_all_dirty();
    if (!active) {
        if (m.tracking) {
            event_post(GfxEvent{EVENT_MOUSE_EXIT, 0, 0, 0, 0});
            m.tracking = 0;
            window_platform_leave_notice(false);
        }
        if (!while_minimised) event_post(GfxEvent{EVENT_WINDOW_LOST_FOCUS, 0, 0, 0, 0});
        if (m.clip) confine_pointer(0);
        return;
    }
    event_post(GfxEvent{EVENT_WINDOW_GOT_FOCUS, 0, 0, 0, 0});
    if (m.inside)
        window_mouse_enter();
    else if (m.clip)
        confine_pointer(1);
}

void window_refresh_key_states(const uint8_t vk_down[256]) {
    GfxScreen* s = g_gfx_screen;
    if (!s) return;
    for (const ScanVkRow& row : scan_vk_table)
        s->key_states[row.scan] = vk_down[row.vk] || (row.alt_vk && vk_down[row.alt_vk]) ? 1 : 0;
}

void fullscreen_toggle() {
    DisplayWindow& w = display_window();
    MouseState& m = mouse_state();
    if (m.tracking) event_post(GfxEvent{EVENT_MOUSE_EXIT, 0, 0, 0, 0});
    if (w.flags & SCREEN_NO_SWITCH) return;
    window_platform_before_switch();
    if (m.clip) confine_pointer(0);
    w.backend.window_exit();
    w.flags ^= SCREEN_FULLSCREEN;
    if (w.backend.window_init() != 0) {
        w.backend.window_exit();
        w.flags ^= SCREEN_FULLSCREEN;
        w.backend.window_init();
    }
    GfxScreen* s = g_gfx_screen;
    if (s && s->driver && s->driver->set_palette) {
        for (int32_t i = 0; i < PALETTE_SIZE; ++i) {
            const uint32_t c = s->device_palette[i];
            s->driver->set_palette(i, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        }
    }
    gfx_mark_all_dirty();
    w.active = 1;
    m.tracking = 0;
}
