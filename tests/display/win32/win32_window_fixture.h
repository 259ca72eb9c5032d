#pragma once
// What the tests of the Windows window drivers in this process share: the
// desktop they need (under Wine an X display, which tools/wine-run.sh gives
// Wine from WT_WINE_DISPLAY), waiting for the refresh thread, the screen
// lock as the drawing thread takes it, and input sent to the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "display/win32/win32_window.h"
#include "gfx/key_queue.h"
#include "gfx/palette.h"
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

// A pattern on every row and column of the visible page, every colour in
// it, marked for the display.
inline void draw_pattern() {
    gfx_lock();
    GfxScreen* s = g_gfx_screen;
    for (int32_t y = 0; y < s->height; ++y)
        for (int32_t x = 0; x < s->width; ++x)
            s->visible_pixels[y * s->pitch + x] = static_cast<uint8_t>((x * 7) ^ (y * 13) ^ (y >> 3));
    gfx_unlock(-1, -1);
}

// A picture as 0x00RRGGBB pixels, rows top-down.
struct Picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    bool operator==(const Picture&) const = default;
};

// What the window's client area shows on the desktop, read back from the
// screen's device context over the client area, so that it is what the
// user sees whoever drew it (GDI into the window, DirectDraw onto the
// display). Empty when it can't be read.
inline Picture window_picture(HWND window) {
    Picture p;
    RECT client{};
    POINT origin{0, 0};
    if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin)) return p;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (screen && memory && bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY)) {
            GdiFlush();
            p.width = client.right;
            p.height = client.bottom;
            const auto* first = static_cast<const uint32_t*>(bits);
            p.pixels.assign(first, first + static_cast<size_t>(p.width) * static_cast<size_t>(p.height));
            for (uint32_t& pixel : p.pixels) pixel &= 0xFFFFFF;
        }
        SelectObject(memory, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    if (screen) ReleaseDC(nullptr, screen);
    return p;
}

// The visible page through the device palette (0x00BBGGRR), each pixel a
// block of `scale` x `scale` device pixels.
inline Picture expected_picture(int scale) {
    return locked([&] {
        const GfxScreen* s = g_gfx_screen;
        Picture p{s->width * scale, s->height * scale, {}};
        p.pixels.resize(static_cast<size_t>(p.width) * static_cast<size_t>(p.height));
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const uint32_t c = s->device_palette[s->visible_pixels[(y / scale) * s->pitch + x / scale]];
                p.pixels[static_cast<size_t>(y) * static_cast<size_t>(p.width) + static_cast<size_t>(x)] =
                    (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
            }
        return p;
    });
}

// Where two pictures differ first, and how often, for a failure message.
inline std::string picture_difference(const Picture& got, const Picture& want) {
    if (got.width != want.width || got.height != want.height)
        return "shown " + std::to_string(got.width) + " x " + std::to_string(got.height) + ", wanted " +
               std::to_string(want.width) + " x " + std::to_string(want.height);
    size_t differ = 0, first = 0;
    for (size_t i = want.pixels.size(); i-- > 0;)
        if (got.pixels[i] != want.pixels[i]) {
            ++differ;
            first = i;
        }
    if (differ == 0) return "the same";
    char text[160];
    std::snprintf(text, sizeof text, "%zu pixels differ, the first at (%zu, %zu): shown %06X, wanted %06X", differ,
                  first % static_cast<size_t>(want.width), first / static_cast<size_t>(want.width), got.pixels[first],
                  want.pixels[first]);
    return text;
}

// Waits until the window shows the visible page at `scale`.
inline ::testing::AssertionResult shows_the_page(HWND window, int scale) {
    Picture got;
    Picture want;
    if (wait_until([&] {
            want = expected_picture(scale);
            got = window_picture(window);
            return got == want;
        }))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << picture_difference(got, want);
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
        scale_ = desktop_scale();
    }

    // The scale the window must have: the whole factor of the desktop's
    // DPI, as the screen's device context tells it. A run that asked Wine
    // for a DPI (WT_WINE_DPI, tools/wine-run.sh) must have it.
    static int desktop_scale() {
        HDC screen = GetDC(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        if (const char* asked = std::getenv("WT_WINE_DPI")) {
            EXPECT_EQ(dpi, std::atoi(asked));
        }
        return dpi / 96 > 1 ? dpi / 96 : 1;
    }

    // A picture pixel's place in the client area: the last device pixel of
    // its block.
    int client_of(int picture) const { return picture * scale_ + scale_ - 1; }
    void TearDown() override {
        gfx_screen_close();
        _putenv_s("ZVGFX", "");
        key_queue() = KeyQueue{};
        console_end_reset();
    }

    void post(UINT message, WPARAM wparam, LPARAM lparam) const { PostMessageA(window_, message, wparam, lparam); }

    // What the user sees: every pixel of the window, the last row and
    // column too, shows the visible page's colour, each as a block of the
    // window's scale, before and after a palette change.
    void show_whole_page() {
        draw_pattern();
        EXPECT_TRUE(shows_the_page(window_, scale_));
        gfx_palette_set(0, 0x563412);
        gfx_palette_set(255, 0x0000FF);
        EXPECT_TRUE(shows_the_page(window_, scale_));
    }

    // The window goes to a monitor of another scale (2 from 1, 1 from
    // more), as the system tells it: the picture is shown at the new scale
    // in a window of its size, at the place the system suggests, and the
    // window is pinned to that size.
    void change_dpi() {
        draw_pattern();
        ASSERT_TRUE(shows_the_page(window_, scale_));
        const int other = scale_ == 1 ? 2 : 1;
        RECT suggested{};  // near the desktop's corner, so that a larger window fits
        ASSERT_TRUE(GetWindowRect(window_, &suggested));
        OffsetRect(&suggested, 16 - suggested.left, 8 - suggested.top);
        SendMessageA(window_, WM_DPICHANGED, MAKEWPARAM(96 * other, 96 * other), reinterpret_cast<LPARAM>(&suggested));
        RECT client{}, outer{};
        ASSERT_TRUE(GetClientRect(window_, &client));
        ASSERT_TRUE(GetWindowRect(window_, &outer));
        EXPECT_EQ(client.right, 512 * other);
        EXPECT_EQ(client.bottom, 512 * other);
        EXPECT_EQ(outer.left, suggested.left);
        EXPECT_EQ(outer.top, suggested.top);
        MINMAXINFO pinned{};
        SendMessageA(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&pinned));
        EXPECT_EQ(pinned.ptMaxTrackSize.x, outer.right - outer.left);
        EXPECT_EQ(pinned.ptMaxTrackSize.y, outer.bottom - outer.top);
        scale_ = other;
        POINT origin{0, 0};
        ClientToScreen(window_, &origin);
        if (origin.x + client.right > GetSystemMetrics(SM_CXSCREEN) ||
            origin.y + client.bottom > GetSystemMetrics(SM_CYSCREEN))
            GTEST_SKIP() << "the desktop is too small to show the window at scale " << scale_;
        EXPECT_TRUE(shows_the_page(window_, scale_));
    }

    HWND window_ = nullptr;
    int scale_ = 1;  // device pixels per picture pixel
    std::optional<ScopedWindowDrivers> drivers_;
};

}  // namespace win32_test
