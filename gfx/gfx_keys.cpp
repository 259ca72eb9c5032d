#include "gfx/gfx_keys.h"

#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/console.h"
#include "runtime/console/console_end.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/key_signal.h"
#include "runtime/console/key_sleep.h"
#include "runtime/console/key_string.h"
#include "runtime/strings.h"

namespace {

// A display without a thread of its own (OpenGL) takes in its window's
// events only when asked, after each flip. Key polls and waits ask too, so
// that a program waiting for a key without flipping still gets its keys
// and the close.
bool display_needs_polls() {
    const GfxScreen* s = g_gfx_screen;
    return s && s->driver && s->driver->poll_events;
}

void poll_display() {
    if (display_needs_polls()) g_gfx_screen->driver->poll_events();
}

// Such a display is asked this often while a key is awaited.
constexpr int32_t DISPLAY_POLL_MS = 20;

uint64_t note_keys() { return key_signal_count(); }

// Keys come from the window's thread through key_post, which wakes this.
void wait_for_keys(uint64_t noted, int32_t timeout_ms) {
    gfx_drawing_paused();
    if (display_needs_polls() && (timeout_ms < 0 || timeout_ms > DISPLAY_POLL_MS)) timeout_ms = DISPLAY_POLL_MS;
    key_signal_wait(noted, timeout_ms);
}

constexpr KeyWaiter KEY_QUEUE_WAITER = {note_keys, wait_for_keys};

}  // namespace

StringDesc* gfx_inkey() {
    if (!g_gfx_screen) return string_empty();
    const uint64_t noted = note_keys();
    poll_display();
    int32_t code = key_take();
    key_poll_pause(code != 0, noted, KEY_QUEUE_WAITER);
    return code ? key_code_string(code) : string_empty();
}

int32_t gfx_getkey() {
    for (;;) {
        if (!g_gfx_screen) return 0;
        const uint64_t noted = note_keys();
        poll_display();
        int32_t code = key_take();
        if (code != 0) return code;
        // Nobody can type any more: the wait ends as a closed window's.
        if (console_ended()) return KEY_CLOSE;
        wait_for_keys(noted, -1);
    }
}

int32_t gfx_keyhit() {
    if (!g_gfx_screen) return 0;
    poll_display();
    gfx_lock();
    int32_t waiting = key_queue().empty() ? 0 : 1;
    gfx_unlock(1, 0);
    return waiting;
}

int32_t gfx_key_state(int32_t scan_code) {
    GfxScreen* s = g_gfx_screen;
    if (!s || static_cast<uint32_t>(scan_code) >= KEY_STATE_COUNT) return 0;
    gfx_lock();
    int32_t down = s->key_states[scan_code] ? -1 : 0;
    gfx_unlock(1, 0);
    return down;
}

void gfx_sleep(int32_t milliseconds) {
    sleep_until_key(
        milliseconds,
        [] {
            poll_display();
            return key_pressed_take() != 0;
        },
        KEY_QUEUE_WAITER);
}
