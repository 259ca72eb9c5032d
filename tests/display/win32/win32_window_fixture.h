#pragma once
// What the tests of the Windows window drivers in this process share: the
// desktop they need (under Wine an X display, which tools/wine-run.sh gives
// Wine from WT_WINE_DISPLAY), waiting for the refresh thread, the screen
// lock as the drawing thread takes it, and input sent to the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "display/win32/win32_window.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/console_end.h"
#include "runtime/runtime_context.h"
#include "support/gfx/screen_events.h"
#include "support/gfx/window_drivers.h"
#include "support/windows/wine_desktop.h"

namespace win32_test {

using namespace std::chrono_literals;

template <class F>
bool wait_until(F done, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
}

// Under the screen lock, as the drawing thread takes it.
template <class F>
auto locked(F f) {
    gfx_lock();
    auto result = f();
    gfx_unlock(1, 0);
    return result;
}

// Every row of the visible page has gone to the window.
inline bool all_rows_shown() {
    return locked([] {
        const GfxScreen* s = g_gfx_screen;
        for (int32_t y = 0; y < s->height; ++y)
            if (s->dirty_rows[y]) return false;
        return true;
    });
}

// A dot of the colour index on the visible page, marked (or not) for the
// display.
inline void dot(int32_t x, int32_t y, uint8_t index, bool mark) {
    gfx_lock();
    g_gfx_screen->visible_pixels[y * g_gfx_screen->pitch + x] = index;
    gfx_unlock(mark ? y : 1, mark ? y : 0);
}

// The keys the window posted, waiting up to a second for `count`, and
// then a little for any more.
inline std::vector<int32_t> keys(size_t count) {
    std::vector<int32_t> out;
    wait_until(
        [&] {
            while (int32_t code = key_take()) out.push_back(code);
            return out.size() >= count;
        },
        1s);
    std::this_thread::sleep_for(50ms);
    while (int32_t code = key_take()) out.push_back(code);
    return out;
}

// Presses (false) and releases (true) of virtual keys, as the keyboard
// makes them.
inline void send_keys(std::initializer_list<std::pair<WORD, bool>> presses) {
    std::vector<INPUT> inputs;
    for (const auto& [vk, up] : presses) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A test with the program's screen (512 x 512 x 8, four pages) in a window
// of the driver that `request` names ("ZVGFX"; empty: the default choice),
// which must be `driver`; every row shown and no event left over.
class WindowDriverTest : public ::testing::Test {
   protected:
    void open_screen(const char* request, const GfxDriver* driver) {
        if (wine_without_display()) GTEST_SKIP() << "Wine has no X display (set WT_WINE_DISPLAY)";
        runtime_init();
        drivers_.emplace(std::initializer_list<const GfxDriver*>{driver});
        _putenv_s("ZVGFX", request);
        key_queue() = KeyQueue{};
        ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
        ASSERT_EQ(g_gfx_screen->driver, driver) << "the driver is " << g_gfx_screen->driver->name;
        window_ = win32_window().window;
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(wait_until([] { return all_rows_shown(); }));
        take_screen_events();
    }
    void TearDown() override {
        gfx_screen_close();
        _putenv_s("ZVGFX", "");
        key_queue() = KeyQueue{};
        console_end_reset();
    }

    void post(UINT message, WPARAM wparam, LPARAM lparam) const { PostMessageA(window_, message, wparam, lparam); }

    HWND window_ = nullptr;
    std::optional<ScopedWindowDrivers> drivers_;
};

}  // namespace win32_test
