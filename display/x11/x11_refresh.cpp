#include "display/x11/x11_refresh.h"

#include <poll.h>
#include <pthread.h>

#include <chrono>
#include <mutex>

#include "display/display_window.h"
#include "display/posix/posix_wake.h"
#include "display/window_events.h"
#include "display/x11/x11_backend.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"

namespace {

// Held by the refresh thread for a whole pass; a guard, so that a thread
// that must end inside Xlib still gives the lock back.
struct PassLock {
    PassLock() { window_lock(); }
    ~PassLock() { window_unlock(); }
    PassLock(const PassLock&) = delete;
    PassLock& operator=(const PassLock&) = delete;
};

thread_local bool t_in_pass = false;

using Clock = std::chrono::steady_clock;

int32_t milliseconds_until(Clock::time_point t) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return left > 0 ? static_cast<int32_t>(left) + 1 : 0;
}

// Sleeps until there is work: the server says something, or the drawing
// thread wakes the window (rows marked, a palette change, a request, the
// end). Right after a pass that copied rows, marked rows wait for the rest
// of the period, so that a growing plot reaches the window at most once a
// period; the server, and a drawing thread that stops to wait for a key
// (an echo drawn), are answered at once.
void wait_for_work(Clock::time_point quiet_until) {
    X11State& x = x11_state();
    if (x.lost) return;
    if (x11.XPending(x.display) > 0 || x.lost) return;  // reading may find the server gone
    pollfd p[2] = {{ConnectionNumber(x.display), POLLIN, 0}, {posix_wake_fd(), POLLIN, 0}};
    const nfds_t count = p[1].fd >= 0 ? 2 : 1;
    if (count == 1) {  // without a wake-up pipe the thread looks every period
        poll(p, 1, REFRESH_PERIOD_MS);
        return;
    }
    bool woken = false;  // rows marked meanwhile: they are shown when the period is over
    while (Clock::now() < quiet_until) {
        if (poll(p, count, milliseconds_until(quiet_until)) <= 0 || (p[0].revents & (POLLIN | POLLERR | POLLHUP)))
            return;
        posix_wake_drain();
        woken = true;
        if (posix_wake_take_show_now()) return;
    }
    if (!woken) poll(p, count, -1);
}

// Whether the pass copies rows.
bool refresh_pass() {
    x11_apply_requests();
    if (display_window().palette_changed.exchange(0)) gfx_mark_all_dirty();
    const bool drew = x11_refresh_picture();
    x11_drain_events();
    x11_refresh_key_states();
    if (!x11_state().lost) x11.XFlush(x11_state().display);
    return drew;
}

void refresh_loop() {
    DisplayWindow& w = display_window();
    Clock::time_point quiet_until{};
    while (w.running.load()) {
        {
            PassLock lock;
            t_in_pass = true;
            posix_wake_drain();
            posix_wake_take_show_now();  // this pass shows it
            if (refresh_pass()) quiet_until = Clock::now() + std::chrono::milliseconds(REFRESH_PERIOD_MS);
            posix_wake_arm();  // what is marked from here on wakes the thread
            t_in_pass = false;
            if (x11_state().lost) {
                x11_report_loss();
                return;
            }
        }
        // Looked at after arming: an end asked for before the arming is
        // seen here, one asked for after it wakes the wait.
        if (!w.running.load()) break;
        wait_for_work(quiet_until);
    }
}

}  // namespace

void x11_end_thread_after_loss() {
    if (t_in_pass) {
        x11_report_loss();
    } else {
        PassLock lock;
        x11_report_loss();
    }
    pthread_exit(nullptr);
}

void x11_thread_main() {
    if (x11_open_display() != 0 || x11_window_init() != 0) {
        x11_window_exit();
        x11_close_display();
        display_window_started(false);
        return;
    }
    // Stored once, before the drawing thread goes on: it reads the rate
    // without the display lock.
    if (GfxScreen* s = g_gfx_screen) s->refresh_rate = x11_refresh_rate();
    display_window().active = 1;
    display_window_started(true);
    refresh_loop();
    x11_window_exit();
    x11_close_display();
}
