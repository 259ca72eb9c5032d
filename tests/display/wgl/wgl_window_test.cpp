// The "OpenGL" driver over WGL in this process: its window, its context,
// its messages handled on this thread when the program polls, and the
// end. Needs a desktop with OpenGL: under Wine an X display, whose GLX
// Wine's opengl32 draws through; without one only the clean failure is
// checked.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "display/display_window.h"
#include "display/opengl/gl_driver.h"
#include "display/opengl/gl_extensions.h"
#include "display/opengl/gl_options.h"
#include "display/opengl/gl_platform.h"
#include "display/wgl/wgl_backend.h"
#include "display/win32/win32_window.h"
#include "display/window_events.h"
#include "gfx/gfx_pages.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/key_codes.h"
#include "runtime/runtime_context.h"
#include "support/gfx/screen_events.h"
#include "support/gfx/window_drivers.h"
#include "support/windows/wine_desktop.h"

namespace {

using namespace std::chrono_literals;

constexpr int32_t WIDTH = 64, HEIGHT = 48;

// Messages reach the window only when the program polls: polls until
// `done` holds, or a few seconds are over.
template <class F>
bool poll_until(F done) {
    const auto end = std::chrono::steady_clock::now() + 5s;
    for (;;) {
        gl_poll_events();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
}

HGLRC current_context() {
    auto get = reinterpret_cast<decltype(&::wglGetCurrentContext)>(gl_get_proc_address("wglGetCurrentContext"));
    return get ? get() : nullptr;
}

DWORD style_of(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }

class WglWindow : public ::testing::Test {
   protected:
    void SetUp() override {
        if (wine_without_display()) GTEST_SKIP() << "Wine has no X display (set WT_WINE_DISPLAY)";
        runtime_init();
        key_queue() = KeyQueue{};
        gl_options() = GlOptions{};
        ASSERT_NO_FATAL_FAILURE(open(0));
    }
    void TearDown() override {
        gfx_screen_close();
        key_queue() = KeyQueue{};
        gl_options() = GlOptions{};
    }

    ScopedWindowDrivers drivers_{&gl_driver};

    void open(int32_t flags) {
        ASSERT_EQ(gfx_screen_res(WIDTH, HEIGHT, 32, 1, SCREEN_OPENGL | flags, 0), ERR_NONE);
        ASSERT_EQ(g_gfx_screen->driver, &gl_driver);
        window_ = win32_window().window;
        ASSERT_NE(window_, nullptr);
        take_screen_events();
    }

    static std::vector<int32_t> keys() {
        std::vector<int32_t> out;
        while (int32_t code = key_take()) out.push_back(code);
        return out;
    }

    HWND window_ = nullptr;
};

// A framed window of the screen's client size, centred, shown and in
// front, its context current on this thread; no refresh thread, no lock.
TEST_F(WglWindow, CentredFramedWindowWithItsContextCurrentOnTheProgramsThread) {
    const DWORD style = style_of(window_);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
              static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_EQ(style & (WS_POPUP | WS_THICKFRAME), 0u);
    EXPECT_TRUE(IsWindowVisible(window_));
    RECT client{}, outer{};
    ASSERT_TRUE(GetClientRect(window_, &client));
    ASSERT_TRUE(GetWindowRect(window_, &outer));
    EXPECT_EQ(client.right, WIDTH);
    EXPECT_EQ(client.bottom, HEIGHT);
    RECT want{0, 0, WIDTH, HEIGHT};
    AdjustWindowRect(&want, style, FALSE);
    const int outer_width = want.right - want.left, outer_height = want.bottom - want.top;
    EXPECT_EQ(outer.right - outer.left, outer_width);
    EXPECT_EQ(display_window().outer_width, outer_width);
    EXPECT_EQ(display_window().outer_height, outer_height);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &info));
    const RECT& m = info.rcMonitor;
    EXPECT_EQ(outer.left, m.left + ((m.right - m.left - outer_width) >> 1));
    EXPECT_EQ(outer.top, m.top + ((m.bottom - m.top - outer_height) >> 1));
    EXPECT_EQ(GetClassLongA(window_, GCL_STYLE), static_cast<DWORD>(CS_DBLCLKS));
    EXPECT_EQ(GetForegroundWindow(), window_);
    EXPECT_EQ(display_window().active, 1);

    EXPECT_NE(wgl_state().context, nullptr);
    EXPECT_EQ(current_context(), wgl_state().context);
    EXPECT_EQ(win32_window().refresh_thread, nullptr);
    EXPECT_FALSE(win32_window().lock_made);
    // The set-up window and its context are gone.
    EXPECT_EQ(FindWindowA(display_window().class_name, "OpenGL setup"), nullptr);
    EXPECT_EQ(wgl_state().probe_context, nullptr);
}

// The OpenGL extensions, then the window system's, within the limit; the
// format chooser of the implementation was taken while the set-up context
// was current.
TEST_F(WglWindow, ExtensionTextAndTheFormatChooser) {
    const std::string text = gl_extension_text();
    EXPECT_LE(text.size(), static_cast<size_t>(GL_EXTENSION_TEXT_MAX));
    EXPECT_TRUE(gl_has_extension("GL_EXT_bgra"));
    if (!gl_has_extension("WGL_ARB_pixel_format")) GTEST_SKIP() << "no WGL_ARB_pixel_format here: " << text;
    EXPECT_LT(text.find("GL_EXT_bgra"), text.find("WGL_ARB_pixel_format"));
    EXPECT_NE(wgl_state().api.wglChoosePixelFormatARB, nullptr);
}

// The window's messages wait in its queue until the program polls: the
// close button then brings the close key, once, and the window stays.
TEST_F(WglWindow, TheCloseButtonArrivesWhenTheProgramPolls) {
    PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(keys().empty());
    gl_poll_events();
    EXPECT_EQ(keys(), std::vector<int32_t>{KEY_CLOSE});
    EXPECT_TRUE(IsWindow(window_));
    // Among what the window did since it was made (focus, the pointer).
    int closes = 0;
    for (const GfxEvent& e : take_screen_events()) closes += e.type == EVENT_WINDOW_CLOSE;
    EXPECT_EQ(closes, 1);
}

// Typed text and extended keys through the page copy, as a frame loop
// takes them; the key states follow the keyboard while the window is
// active.
TEST_F(WglWindow, KeysAndKeyStatesThroughThePageCopy) {
    PostMessageA(window_, WM_CHAR, 'x', 1);
    PostMessageA(window_, WM_KEYDOWN, VK_UP, 2 | 0x48 << 16 | 1 << 24);
    gfx_copy_page(0, 0);
    EXPECT_EQ(keys(), (std::vector<int32_t>{'x', KEY_UP, KEY_UP}));
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_SHIFT;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(VK_SHIFT, MAPVK_VK_TO_VSC));
    SendInput(1, &in, sizeof in);
    const bool seen = poll_until([] { return g_gfx_screen->key_states[42] != 0; });
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof in);
    ASSERT_TRUE(seen);
    EXPECT_TRUE(poll_until([] { return g_gfx_screen->key_states[42] == 0; }));
}

// The request's frame: no maximise box without switching, a popup without
// a frame (its outer size is the client size).
TEST_F(WglWindow, TheRequestFlagsShapeTheFrame) {
    struct Case {
        int32_t flags;
        DWORD set, clear;
    };
    const Case cases[] = {
        {SCREEN_NO_SWITCH, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_MAXIMIZEBOX | WS_POPUP | WS_THICKFRAME},
        {SCREEN_NO_FRAME, WS_POPUP, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX},
    };
    for (const Case& c : cases) {
        ASSERT_NO_FATAL_FAILURE(open(c.flags));
        const DWORD style = style_of(window_);
        EXPECT_EQ(style & c.set, c.set) << std::hex << c.flags;
        EXPECT_EQ(style & c.clear, 0u) << std::hex << c.flags;
        RECT client{};
        GetClientRect(window_, &client);
        EXPECT_EQ(client.right, WIDTH);
        EXPECT_EQ(client.bottom, HEIGHT);
        EXPECT_EQ(current_context(), wgl_state().context);
    }
    RECT outer{};
    GetWindowRect(window_, &outer);
    EXPECT_EQ(outer.right - outer.left, WIDTH);
}

// Maximising asks for full screen on the same window, so the context
// stays; where the display refuses the mode the window comes back framed.
TEST_F(WglWindow, MaximisingKeepsTheWindowAndItsContext) {
    const HGLRC context = wgl_state().context;
    PostMessageA(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    gl_poll_events();
    EXPECT_EQ(win32_window().window, window_);
    EXPECT_EQ(wgl_state().context, context);
    EXPECT_EQ(current_context(), context);
    EXPECT_TRUE(IsWindowVisible(window_));
    const bool full = (display_window().flags & SCREEN_FULLSCREEN) != 0;
    EXPECT_EQ(style_of(window_) & WS_POPUP, full ? static_cast<DWORD>(WS_POPUP) : 0u);
    RECT client{};
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, WIDTH);
    EXPECT_EQ(client.bottom, HEIGHT);
}

// At the end the context, the window and its class go; the record is
// stopped.
TEST_F(WglWindow, AtTheEndEverythingGoes) {
    const std::string class_name = display_window().class_name;
    const HINSTANCE instance = win32_window().instance;
    gfx_screen_close();
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(current_context(), nullptr);
    WNDCLASSA c{};
    EXPECT_FALSE(GetClassInfoA(instance, class_name.c_str(), &c));
    EXPECT_EQ(display_window().running.load(), 0);
    EXPECT_EQ(wgl_state().library, nullptr);
    EXPECT_EQ(wgl_state().dc, nullptr);
}

// Exactly the depth asked for: unlike the GDI list, 24 bits does not take
// the 32-bit modes.
TEST(WglModes, ListTheDisplayModesOfExactlyTheDepth) {
    for (int32_t depth : {32, 24, 16}) {
        std::vector<int32_t> want;
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
            if (static_cast<int32_t>(mode.dmBitsPerPel) == depth)
                want.push_back(static_cast<int32_t>(mode.dmPelsWidth << 16 | mode.dmPelsHeight));
        int32_t count = -1;
        int32_t* modes = gl_fetch_modes(depth, &count);
        ASSERT_EQ(count, static_cast<int32_t>(want.size())) << depth;
        EXPECT_EQ(modes == nullptr, want.empty());
        for (int32_t i = 0; i < count; ++i) EXPECT_EQ(modes[i], want[static_cast<size_t>(i)]);
        std::free(modes);
    }
}

// Without a desktop (Wine with no X display) no OpenGL screen opens, at
// once and leaving nothing behind; the program goes on without one.
TEST(WglWithoutDisplay, NoOpenGlScreenOpens) {
    if (!wine_without_display()) GTEST_SKIP() << "a desktop is there";
    runtime_init();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(gfx_screen_res(WIDTH, HEIGHT, 32, 1, SCREEN_OPENGL, 0), ERR_NONE);
    EXPECT_EQ(g_gfx_screen, nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_EQ(wgl_state().library, nullptr);
    EXPECT_EQ(win32_window().window, nullptr);
    EXPECT_EQ(display_window().running.load(), 0);
}

}  // namespace
