// The refresh thread. It sleeps in poll on the compositor's connection and
// on the window's wake-up pipe (display/posix/posix_wake.h), with a
// time-out only for key repeat: an idle window costs no wake-ups. Passes
// that take rows come at most every 10 ms while the picture changes;
// frames are drawn only when the compositor asks.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>

#include "display/display_window.h"
#include "display/posix/posix_wake.h"
#include "display/wayland/wl_backend.h"
#include "gfx/screen.h"

namespace {

void dispatch_locked() {
    WaylandState& s = wl_state();
    window_lock();
    if (wl.wl_display_dispatch_pending(s.display) < 0) s.lost = true;
    window_unlock();
}

enum Fired { NOTHING = 0, EVENTS = 1, WOKEN = 2 };

// Waits for the compositor, the wake-up or the time-out (-1: none), and
// reads what the compositor sent. Which of them came.
int wait(int64_t timeout_ms) {
    WaylandState& s = wl_state();
    while (!s.lost && wl.wl_display_prepare_read(s.display) != 0) dispatch_locked();
    if (s.lost) return NOTHING;
    wl_flush();
    pollfd fds[2] = {{wl.wl_display_get_fd(s.display), POLLIN, 0}, {posix_wake_fd(), POLLIN, 0}};
    // Without a wake-up pipe the thread looks every period.
    if (fds[1].fd < 0 && (timeout_ms < 0 || timeout_ms > REFRESH_PERIOD_MS)) timeout_ms = REFRESH_PERIOD_MS;
    const int n = poll(fds, fds[1].fd >= 0 ? 2 : 1, static_cast<int>(std::min<int64_t>(timeout_ms, INT32_MAX)));
    int fired = NOTHING;
    if (n > 0 && (fds[0].revents & (POLLIN | POLLERR | POLLHUP))) {
        fired |= EVENTS;
        if (wl.wl_display_read_events(s.display) < 0) s.lost = true;
    } else {
        wl.wl_display_cancel_read(s.display);
    }
    if (n > 0 && (fds[1].revents & POLLIN)) {
        fired |= WOKEN;
        posix_wake_drain();
    }
    if (n < 0 && errno != EINTR) s.lost = true;
    return fired;
}

// Under the display lock: the window procedure, the drawing thread's
// requests, the rows it drew; then the frame, when the compositor wants
// one. Whether rows were taken.
bool pass(int64_t now) {
    WaylandState& s = wl_state();
    bool drew = false;
    window_lock();
    posix_wake_take_show_now();  // this pass shows it
    if (!s.lost && wl.wl_display_dispatch_pending(s.display) < 0) s.lost = true;
    if (!s.lost) {
        wl_keyboard_repeat(now);
        wl_apply_requests();
        if (display_window().palette_changed.exchange(0)) gfx_mark_all_dirty();
        drew = wl_picture_take_rows();
        wl_keyboard_refresh_states();
    }
    if (s.lost || !wl_flush()) wl_report_loss();
    posix_wake_arm();  // what is marked from here on wakes the thread
    window_unlock();
    if (!s.lost) wl_picture_show();
    return drew;
}

// Sleeps until the compositor says something, the drawing thread wakes
// the window or a key repeats. Right after a pass that took rows, marked
// rows wait for the rest of the period, so that a growing plot is shown at
// most once a period; the compositor, and a drawing thread that stops to
// wait for a key after drawing an echo, are answered at once.
void wait_for_work(int64_t quiet_until) {
    bool woken = false;  // rows marked meanwhile: they are shown when the period is over
    for (int64_t now = wl_now_ms(); now < quiet_until; now = wl_now_ms()) {
        const int64_t repeat = wl_keyboard_repeat_wait(now);
        const int64_t left = quiet_until - now;
        const int fired = wait(repeat >= 0 && repeat < left ? repeat : left);
        woken = woken || (fired & WOKEN);
        if ((fired & EVENTS) || posix_wake_take_show_now() || (fired == NOTHING && repeat >= 0 && repeat < left))
            return;
    }
    if (!woken) wait(wl_keyboard_repeat_wait(wl_now_ms()));
}

void refresh_loop() {
    WaylandState& s = wl_state();
    int64_t quiet_until = 0;
    while (display_window().running.load()) {
        // A pass after the compositor went away reports the loss.
        if (pass(wl_now_ms())) quiet_until = wl_now_ms() + REFRESH_PERIOD_MS;
        // Looked at after arming: an end asked for before the arming is
        // seen here, one asked for after it wakes the wait.
        if (!display_window().running.load() || s.lost) break;
        wait_for_work(quiet_until);
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
