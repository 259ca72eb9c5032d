#include "display/display_window.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "display/window_events.h"
#include "gfx/screen.h"
#include "runtime/bell.h"

namespace {

DisplayWindow g_window;
std::mutex g_display_lock;
std::thread g_refresh_thread;

// The start handshake: the drawing thread waits until the refresh thread
// has made its window (1) or given up (-1).
std::mutex g_start_mutex;
std::condition_variable g_start_changed;
int32_t g_start_state;

void ring_in_window() { g_window.bells.fetch_add(1); }

// The drawing thread may already hold the display lock through gfx_lock;
// the lock is not recursive, so it is taken only when not held.
template <class F>
void with_display_lock(F action) {
    const GfxScreen* s = g_gfx_screen;
    const bool held = s && s->lock_count > 0;
    if (!held) g_display_lock.lock();
    action();
    if (!held) g_display_lock.unlock();
}

bool start_refresh_thread() {
    try {
        g_refresh_thread = std::thread(g_window.backend.thread_main);
    } catch (...) {  // std::system_error: no thread to be had
        return false;
    }
    return true;
}

}  // namespace

DisplayWindow& display_window() { return g_window; }

void display_window_clear() {
    std::destroy_at(&g_window);
    new (&g_window) DisplayWindow{};
}

int32_t display_window_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                            int32_t flags) {
    DisplayWindow& w = g_window;
    std::snprintf(w.title, sizeof w.title, "%s", title ? title : "");
    std::snprintf(w.class_name, sizeof w.class_name, "zvgfxclass_%p", static_cast<void*>(&w));
    w.width = width;
    w.height = height;
    w.depth = depth;
    w.flags = flags;
    w.refresh_rate = refresh_rate;
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
    if (!start_refresh_thread()) return -1;
    std::unique_lock<std::mutex> lock(g_start_mutex);
    g_start_changed.wait(lock, [] { return g_start_state != 0; });
    if (g_start_state < 0) return -1;
    bell_set_handler(ring_in_window);
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
    if (g_window.running.exchange(0) == 0) return;
    GfxScreen* s = g_gfx_screen;
    if (s && s->lock_count > 0) {
        s->lock_count = 0;
        if (g_refresh_thread.joinable()) window_unlock();  // the display lock is the driver's lock
    }
    if (g_refresh_thread.joinable()) g_refresh_thread.join();
    bell_set_handler(nullptr);
    window_events_reset();
}

void window_lock() { g_display_lock.lock(); }

void window_unlock() { g_display_lock.unlock(); }

// Callers pass 0..255; the index is masked so that no other value can
// write outside the palette.
void window_set_palette(int32_t index, int32_t red, int32_t green, int32_t blue) {
    g_window.palette[index & 0xFF] = {static_cast<uint8_t>(red), static_cast<uint8_t>(green), static_cast<uint8_t>(blue),
                               PALETTE_NO_COLLAPSE};
    g_window.palette_changed.store(1);
}

void window_wait_frame() {
    const GfxScreen* s = g_gfx_screen;
    const int32_t rate = s ? s->refresh_rate : 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(rate > 0 ? 1000 / rate : 16));
}

// The refresh thread sets the title on its next pass, so the drawing thread
// never waits for it and need not give up a lock it holds.
void window_set_title(const char* text) {
    with_display_lock([&] {
        std::snprintf(g_window.title, sizeof g_window.title, "%s", text ? text : "");
        g_window.requests.title = true;
    });
}

int32_t window_set_pos(int32_t x, int32_t y) {
    constexpr int32_t QUERY = static_cast<int32_t>(0x80000000u);
    int32_t result = 0;
    with_display_lock([&] {
        if (g_window.flags & SCREEN_FULLSCREEN) return;
        if (x == QUERY && y == QUERY) {
            result = static_cast<int32_t>(static_cast<uint32_t>(g_window.window_y) << 16 |
                                          (static_cast<uint32_t>(g_window.window_x) & 0xFFFF));
            return;
        }
        g_window.requests.move = true;
        g_window.requests.move_x = x;
        g_window.requests.move_y = y;
    });
    return result;
}
