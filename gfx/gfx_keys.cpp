#include "gfx/gfx_keys.h"

#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/console.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/key_sleep.h"
#include "runtime/console/key_string.h"
#include "runtime/strings.h"

namespace {

// A display without a thread of its own (OpenGL) takes in its window's
// events only when asked, after each flip. Key polls and waits ask too, so
// that a program waiting for a key without flipping still gets its keys
// and the close.
void poll_display() {
    const GfxScreen* s = g_gfx_screen;
    if (s && s->driver && s->driver->poll_events) s->driver->poll_events();
}

}  // namespace

StringDesc* gfx_inkey() {
    if (!g_gfx_screen) return string_empty();
    poll_display();
    int32_t code = key_take();
    key_poll_pause(code != 0);
    return code ? key_code_string(code) : string_empty();
}

int32_t gfx_getkey() {
    for (;;) {
        if (!g_gfx_screen) return 0;
        poll_display();
        int32_t code = key_take();
        if (code != 0) return code;
        console_sleep(20);  // through the console's sleep hook
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
    sleep_until_key(milliseconds, [] {
        poll_display();
        return key_pressed_take() != 0;
    });
}
