#include "display/x11/x11_refresh.h"

#include <poll.h>
#include <pthread.h>

#include <chrono>
#include <mutex>

#include "display/display_window.h"
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

// After a key or button press the program usually answers on the screen
// (an echo): passes come quicker for a moment so the answer shows sooner.
constexpr auto QUICK_SPELL = std::chrono::milliseconds(60);
constexpr int QUICK_PERIOD_MS = 2;

// Waits up to one period for the server to say something; events already
// read come first.
void wait_for_events(Clock::time_point quick_until) {
    X11State& x = x11_state();
    if (x.lost) return;
    if (x11.XPending(x.display) > 0 || x.lost) return;  // reading may find the server gone
    pollfd p{ConnectionNumber(x.display), POLLIN, 0};
    poll(&p, 1, Clock::now() < quick_until ? QUICK_PERIOD_MS : REFRESH_PERIOD_MS);
}

void refresh_pass() {
    x11_apply_requests();
    if (display_window().palette_changed.exchange(0)) gfx_mark_all_dirty();
    x11_refresh_picture();
    x11_drain_events();
    x11_refresh_key_states();
    if (!x11_state().lost) x11.XFlush(x11_state().display);
}

void refresh_loop() {
    DisplayWindow& w = display_window();
    Clock::time_point quick_until{};
    while (w.running.load()) {
        wait_for_events(quick_until);
        PassLock lock;
        t_in_pass = true;
        x11_state().input_seen = false;
        refresh_pass();
        if (x11_state().input_seen) quick_until = Clock::now() + QUICK_SPELL;
        t_in_pass = false;
        if (x11_state().lost) {
            x11_report_loss();
            return;
        }
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
