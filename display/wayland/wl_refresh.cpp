// The refresh thread. It sleeps in poll on the compositor's connection and
// on a wake-up descriptor the drawing thread pokes when it left rows to
// show (wl_driver.cpp), with a time-out only for key repeat: an idle
// window costs no wake-ups. Passes come at most every 10 ms while the
// picture changes, quicker for a moment after a key press so that its
// echo shows at once; frames are drawn only when the compositor asks.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>

#include "display/display_window.h"
#include "display/wayland/wl_backend.h"
#include "display/wayland/wl_wake.h"
#include "gfx/screen.h"

namespace {

constexpr int64_t QUICK_SPELL_MS = 60;
constexpr int64_t QUICK_PERIOD_MS = 2;

void dispatch_locked() {
    WaylandState& s = wl_state();
    window_lock();
    if (wl.wl_display_dispatch_pending(s.display) < 0) s.lost = true;
    window_unlock();
}

enum Fired { NOTHING = 0, EVENTS = 1, WOKEN = 2 };

// Waits for the compositor, a wake-up (when `with_wake`) or the time-out
// (-1: none), and reads what the compositor sent. Which of them came.
int wait(int64_t timeout_ms, bool with_wake) {
    WaylandState& s = wl_state();
    while (!s.lost && wl.wl_display_prepare_read(s.display) != 0) dispatch_locked();
    if (s.lost) return NOTHING;
    wl_flush();
    pollfd fds[2] = {{wl.wl_display_get_fd(s.display), POLLIN, 0}, {wl_wake_fd(), POLLIN, 0}};
    const int n = poll(fds, with_wake ? 2 : 1, static_cast<int>(std::min<int64_t>(timeout_ms, INT32_MAX)));
    int fired = NOTHING;
    if (n > 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP))) {
        fired |= EVENTS;
        if (wl.wl_display_read_events(s.display) < 0) s.lost = true;
    } else {
        wl.wl_display_cancel_read(s.display);
    }
    if (n > 0 && with_wake && (fds[1].revents & POLLIN)) {
        fired |= WOKEN;
        wl_wake_drain();
    }
    if (n < 0 && errno != EINTR) s.lost = true;
    return fired;
}

// Under the display lock: the window procedure, the drawing thread's
// requests, the rows it drew.
void pass(int64_t now) {
    WaylandState& s = wl_state();
    window_lock();
    wl_wake_rearm();
    s.input.input_seen = false;
    if (!s.lost && wl.wl_display_dispatch_pending(s.display) < 0) s.lost = true;
    if (!s.lost) {
        wl_keyboard_repeat(now);
        wl_apply_requests();
        if (display_window().palette_changed.exchange(0)) gfx_mark_all_dirty();
        wl_picture_take_rows();
        wl_keyboard_refresh_states();
    }
    if (s.lost || !wl_flush()) wl_report_loss();
    window_unlock();
    if (!s.lost) wl_picture_show();
}

// Sleeps until the compositor says something, the drawing thread pokes or
// a key repeats. A poke that comes sooner than a period after the last
// pass waits for the rest of it: the picture is shown at most that often.
void refresh_loop() {
    WaylandState& s = wl_state();
    int64_t last_pass = 0, quick_until = 0;
    while (display_window().running.load() && !wl_wake_stopping() && !s.lost) {
        const int fired = wait(wl_keyboard_repeat_wait(wl_now_ms()), true);
        const int64_t period = last_pass < quick_until ? QUICK_PERIOD_MS : REFRESH_PERIOD_MS;
        const int64_t early = last_pass + period - wl_now_ms();
        if (fired == WOKEN && early > 0) wait(early, false);
        last_pass = wl_now_ms();
        pass(last_pass);
        if (s.input.input_seen) quick_until = last_pass + QUICK_SPELL_MS;
    }
}

int32_t refresh_rate() {
    const WlGlobals& g = wl_state().globals;
    for (int32_t i = 0; i < g.output_count; ++i)
        if (g.outputs[i].refresh > 0) return g.outputs[i].refresh;
    return 0;
}

}  // namespace

int64_t wl_now_ms() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void wl_thread_main() {
    if (wl_connect() != 0 || wl_window_init() != 0 || !wl_window_show_first()) {
        wl_window_exit();
        wl_disconnect();
        display_window_started(false);
        return;
    }
    // Stored once, before the drawing thread goes on: it reads the rate
    // without the display lock.
    if (GfxScreen* s = g_gfx_screen) s->refresh_rate = refresh_rate();
    display_window().active = 1;
    display_window_started(true);
    refresh_loop();
    wl_window_exit();
    wl_disconnect();
}
