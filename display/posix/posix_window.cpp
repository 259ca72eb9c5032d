// The window machinery on POSIX systems: the display lock is a mutex, the
// refresh thread a std::thread, and window changes asked for by the drawing
// thread are requests the refresh thread carries out.
#include "display/posix/posix_window.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "display/display_window.h"
#include "display/posix/posix_wake.h"
#include "display/window_events.h"
#include "display/window_platform.h"
#include "gfx/screen.h"
#include "runtime/console/bell.h"

namespace {

PosixWindow g_posix;
std::mutex g_display_lock;
std::thread g_refresh_thread;

// The start handshake: the drawing thread waits until the refresh thread
// has made its window (1) or given up (-1).
std::mutex g_start_mutex;
std::condition_variable g_start_changed;
int32_t g_start_state;

void ring_in_window() {
    g_posix.bells.fetch_add(1);
    window_wake();
}

bool start_refresh_thread() {
    try {
        g_refresh_thread = std::thread(display_window().backend.thread_main);
    } catch (...) {  // std::system_error: no thread to be had
        return false;
    }
    return true;
}

}  // namespace

PosixWindow& posix_window() { return g_posix; }

void window_platform_clear() {
    std::destroy_at(&g_posix);
    new (&g_posix) PosixWindow{};
}

int32_t display_window_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                            int32_t flags) {
    DisplayWindow& w = display_window();
    display_window_store(title, width, height, depth, refresh_rate, flags);
    window_events_reset();
    w.running.store(1);
    // An OpenGL window lives on the program's thread: its back-end makes
    // it, and no refresh thread or display lock is needed.
    if (flags & SCREEN_OPENGL) {
        bell_set_handler(ring_in_window);
        return 0;
    }
    if (!w.backend.thread_main) return -1;
    {
        std::lock_guard<std::mutex> lock(g_start_mutex);
        g_start_state = 0;
    }
    // Made before the thread and closed after it has ended: both threads
    // use it while the window lives. Without it the thread looks every
    // period instead.
    posix_wake_open();
    if (!start_refresh_thread()) {
        posix_wake_close();
        return -1;
    }
    std::unique_lock<std::mutex> lock(g_start_mutex);
    g_start_changed.wait(lock, [] { return g_start_state != 0; });
    if (g_start_state < 0) return -1;
    bell_set_handler(ring_in_window);
    gfx_set_change_listener(window_wake, window_show_now);
    return 0;
}

void display_window_started(bool made) {
    std::lock_guard<std::mutex> lock(g_start_mutex);
    g_start_state = made ? 1 : -1;
    g_start_changed.notify_all();
}

// The window itself is destroyed by the refresh thread as it ends: it is
// the only thread that talks to the windowing system.
void display_window_exit() {
    if (display_window().running.exchange(0) == 0) return;
    gfx_set_change_listener(nullptr, nullptr);
    window_wake();
    GfxScreen* s = g_gfx_screen;
    if (s && s->lock_count > 0) {
        s->lock_count = 0;
        if (g_refresh_thread.joinable()) window_unlock();  // the display lock is the driver's lock
    }
    if (g_refresh_thread.joinable()) g_refresh_thread.join();
    posix_wake_close();
    bell_set_handler(nullptr);
    window_events_reset();
}

void window_lock() { g_display_lock.lock(); }

void window_unlock() { g_display_lock.unlock(); }
