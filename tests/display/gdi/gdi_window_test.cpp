// The "GDI" driver in this process: its window, its picture, the window
// procedure on real messages, the driver operations and the end. Needs a
// desktop: under Wine an X display (tools/wine-run.sh gives Wine the one
// named by WT_WINE_DISPLAY); without one the window tests are skipped and
// only the clean failure is checked.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "display/display_window.h"
#include "display/gdi/gdi_backend.h"
#include "display/gdi/gdi_driver.h"
#include "display/win32/win32_window.h"
#include "display/win32/win32_window_fixture.h"
#include "display/window_events.h"
#include "gfx/gfx_mouse.h"
#include "gfx/key_queue.h"
#include "gfx/palette.h"
#include "gfx/screen.h"
#include "runtime/console/console_end.h"
#include "runtime/console/key_codes.h"
#include "runtime/runtime_context.h"
#include "support/gfx/screen_events.h"

namespace {

using namespace std::chrono_literals;
using namespace win32_test;

class GdiWindow : public WindowDriverTest {
   protected:
    void SetUp() override {
        BOOL active = FALSE;
        SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
        screen_saver_before_ = active;
        open_screen("GDI", &gdi_driver);
    }

    // The colour the window shows at a picture pixel, 0x00BBGGRR.
    COLORREF shown(int x, int y) const {
        HDC dc = GetDC(window_);
        const COLORREF c = GetPixel(dc, client_of(x), client_of(y));
        ReleaseDC(window_, dc);
        return c;
    }

    static COLORREF palette_colour(int32_t index) { return g_gfx_screen->device_palette[index]; }

    BOOL screen_saver_before_ = FALSE;
};

TEST_F(GdiWindow, CentredFramedWindowOfTheScreenSizeWithTheProgramsClassAndTitle) {
    const LONG style = GetWindowLongA(window_, GWL_STYLE);
    EXPECT_EQ(static_cast<DWORD>(style) & 0x10CB0000u, 0x10CB0000u);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_POPUP), 0);
    RECT client{}, outer{};
    ASSERT_TRUE(GetClientRect(window_, &client));
    ASSERT_TRUE(GetWindowRect(window_, &outer));
    EXPECT_EQ(client.right, 512 * scale_);
    EXPECT_EQ(client.bottom, 512 * scale_);
    RECT want{0, 0, 512 * scale_, 512 * scale_};
    AdjustWindowRect(&want, 0x00CB0000, FALSE);
    const int outer_width = want.right - want.left, outer_height = want.bottom - want.top;
    EXPECT_EQ(outer.right - outer.left, outer_width);
    EXPECT_EQ(outer.bottom - outer.top, outer_height);
    EXPECT_EQ(display_window().outer_width, outer_width);
    // Centred on the monitor under the cursor; here the primary display.
    HMONITOR monitor = MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetMonitorInfoA(monitor, &info));
    const RECT& m = info.rcMonitor;
    EXPECT_EQ(outer.left, m.left + ((m.right - m.left - outer_width) >> 1));
    EXPECT_EQ(outer.top, m.top + ((m.bottom - m.top - outer_height) >> 1));

    char name[64] = {};
    GetClassNameA(window_, name, sizeof name);
    EXPECT_STREQ(name, display_window().class_name);
    EXPECT_EQ(std::string(name).rfind("zvgfxclass_", 0), 0u);
    GetWindowTextA(window_, name, sizeof name);
    EXPECT_STREQ(name, "display_gdi_tests");  // this test program's name
    // The test program carries no icon of its own: the standard one.
    EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrA(window_, GCLP_HICON)), LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(GetClassLongA(window_, GCL_STYLE), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(GetForegroundWindow(), window_);
    EXPECT_EQ(display_window().active, 1);
}

// The 8-bit screen of a width of whole words is shown as it is: no
// conversion, a top-down bitmap of 256 colours carrying the palette.
TEST_F(GdiWindow, TheVisiblePageGoesToTheWindowUnconverted) {
    EXPECT_EQ(display_window().converter, nullptr);
    const BITMAPINFO* header = gdi_state().header;
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->bmiHeader.biHeight, -512 * scale_);  // the bitmap shown: the page at the window's scale
    EXPECT_EQ(header->bmiHeader.biBitCount, 8);
    EXPECT_EQ(header->bmiHeader.biClrUsed, 256u);
    const RGBQUAD white = header->bmiColors[15];
    EXPECT_EQ(white.rgbRed, 255);
    EXPECT_EQ(white.rgbGreen, 255);
    EXPECT_EQ(white.rgbBlue, 255);
    EXPECT_NE(g_gfx_screen->refresh_rate, 1);  // the "default rate" answer counts as unknown
}

TEST_F(GdiWindow, TheWindowShowsTheWholePage) { show_whole_page(); }

TEST_F(GdiWindow, ADpiChangeRescalesThePicture) { change_dpi(); }

TEST_F(GdiWindow, ChangedRowsAndTheCleanRowsBetweenThemReachTheWindow) {
    dot(10, 300, 12, true);
    ASSERT_TRUE(wait_until([&] { return shown(10, 300) == palette_colour(12); }));
    // A row changed without being marked stays as it was until a pass
    // copies a span around it.
    dot(20, 200, 9, false);
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(shown(20, 200), palette_colour(0));
    locked([] {  // both marked before a pass can run
        dot(30, 100, 5, true);
        dot(30, 400, 5, true);
        return 0;
    });
    ASSERT_TRUE(wait_until([&] { return shown(30, 400) == palette_colour(5); }));
    EXPECT_EQ(shown(20, 200), palette_colour(9));
    EXPECT_TRUE(all_rows_shown());
}

TEST_F(GdiWindow, APaletteChangeRewritesTheColourTable) {
    dot(40, 40, 7, true);
    gfx_lock();
    g_gfx_screen->driver->set_palette(7, 0x12, 0x34, 0x56);
    gfx_unlock(1, 0);
    EXPECT_EQ(display_window().palette[7].flags, PALETTE_NO_COLLAPSE);
    gfx_lock();
    gfx_mark_all_dirty();
    gfx_unlock(1, 0);
    ASSERT_TRUE(wait_until([&] { return shown(40, 40) == RGB(0x12, 0x34, 0x56); }));
    const RGBQUAD entry = gdi_state().header->bmiColors[7];
    EXPECT_EQ(entry.rgbRed, 0x12);
    EXPECT_EQ(entry.rgbBlue, 0x56);
}

TEST_F(GdiWindow, TypedCharactersAndExtendedKeysReachTheKeyQueue) {
    post(WM_CHAR, '1', 1);
    post(WM_CHAR, '2', 1);
    post(WM_CHAR, VK_RETURN, 0x1C0001);
    post(WM_KEYDOWN, VK_UP, 3 | 0x48 << 16 | 1 << 24 | 1 << 30);  // held: three presses in one message
    post(WM_CHAR, 0x1234, 1);                                     // not a byte: nothing
    EXPECT_EQ(keys(6), (std::vector<int32_t>{'1', '2', 13, KEY_UP, KEY_UP, KEY_UP}));
    const std::vector<GfxEvent> events = take_screen_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EVENT_KEY_REPEAT);
    EXPECT_EQ(events[0].a, 72);
    EXPECT_EQ(events[0].b, 0);
}

// Typed in the process code page (under Wine 1252, tools/wine-run.sh sets
// the locale), "é" is the code page 437 byte 0x82, posted as a signed byte.
TEST_F(GdiWindow, AnAccentedCharacterArrivesInCodePage437) {
    char typed = 0;
    BOOL lost = FALSE;
    const wchar_t e_acute = L'\u00E9';
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &e_acute, 1, &typed, 1, nullptr, &lost) != 1 || lost)
        GTEST_SKIP() << "the process code page " << GetACP() << " has no single-byte e acute";
    post(WM_CHAR, static_cast<uint8_t>(typed), 2);
    EXPECT_EQ(keys(2), (std::vector<int32_t>{-126, -126}));
}

TEST_F(GdiWindow, TheCloseButtonPostsTheCloseKeyOnceAndTheWindowStays) {
    post(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(keys(1), std::vector<int32_t>{KEY_CLOSE});
    EXPECT_TRUE(IsWindow(window_));
    const std::vector<GfxEvent> events = take_screen_events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, EVENT_WINDOW_CLOSE);
}

// Real key presses, with the keyboard state they bring: Alt+F4 is the close
// key and leaves the window open; Alt alone and F10 open no window menu.
TEST_F(GdiWindow, AltF4IsTheCloseKeyAndAltAndF10OpenNoMenu) {
    send_keys({{VK_MENU, false}, {VK_F4, false}, {VK_F4, true}, {VK_MENU, true}});
    EXPECT_EQ(keys(1), std::vector<int32_t>{KEY_CLOSE});
    EXPECT_TRUE(IsWindow(window_));
    send_keys({{VK_MENU, false}, {VK_MENU, true}, {VK_F10, false}, {VK_F10, true}});
    EXPECT_EQ(keys(1), std::vector<int32_t>{KEY_F10});
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &gui));
    EXPECT_EQ(gui.flags & GUI_INMENUMODE, 0u);
    for (const GfxEvent& e : take_screen_events()) EXPECT_NE(e.type, EVENT_KEY_PRESS) << "scan " << e.a;
}

TEST_F(GdiWindow, KeyStatesFollowTheKeyboardAndFocusLossClearsThem) {
    send_keys({{VK_SHIFT, false}});
    const bool seen = wait_until([] { return locked([] { return g_gfx_screen->key_states[42] != 0; }); });
    send_keys({{VK_SHIFT, true}});
    ASSERT_TRUE(seen);
    EXPECT_TRUE(wait_until([] { return locked([] { return g_gfx_screen->key_states[42] == 0; }); }));
    send_keys({{VK_CONTROL, false}});
    ASSERT_TRUE(wait_until([] { return locked([] { return g_gfx_screen->key_states[29] != 0; }); }));
    post(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_TRUE(wait_until([] { return locked([] { return display_window().active == 0; }); }));
    EXPECT_EQ(locked([] { return g_gfx_screen->key_states[29]; }), 0);
    send_keys({{VK_CONTROL, true}});
}

TEST_F(GdiWindow, TheWindowKeepsItsSize) {
    MINMAXINFO info{};
    SendMessageA(window_, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const POINT outer{display_window().outer_width, display_window().outer_height};
    for (const POINT& p : {info.ptMaxSize, info.ptMinTrackSize, info.ptMaxTrackSize}) {
        EXPECT_EQ(p.x, outer.x);
        EXPECT_EQ(p.y, outer.y);
    }
}

// Maximising asks for full screen; where the display refuses the mode the
// window comes back as it was and shows the picture again.
TEST_F(GdiWindow, MaximisingSwitchesToFullScreenOrBackToTheWindow) {
    dot(50, 50, 14, true);
    ASSERT_TRUE(wait_until([&] { return shown(50, 50) == palette_colour(14); }));
    post(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(wait_until([&] { return locked([&] { return win32_window().window != window_; }); }));
    window_ = locked([] { return win32_window().window; });
    ASSERT_NE(window_, nullptr);
    RECT client{};
    GetClientRect(window_, &client);
    const bool full = (locked([] { return display_window().flags; }) & SCREEN_FULLSCREEN) != 0;
    if (full) scale_ = 1;  // the display mode is the picture's size
    EXPECT_EQ(client.right, 512 * scale_);
    EXPECT_EQ(client.bottom, 512 * scale_);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)) & WS_POPUP, full ? WS_POPUP : 0u);
    EXPECT_TRUE(wait_until([&] { return shown(50, 50) == palette_colour(14); }));
}

TEST_F(GdiWindow, PositionIsReportedAndMoved) {
    const GfxDriver* d = g_gfx_screen->driver;
    RECT r{};
    GetWindowRect(window_, &r);
    EXPECT_EQ(d->set_window_pos(WINDOW_POS_QUERY, WINDOW_POS_QUERY), packed_position(r.left, r.top));
    EXPECT_EQ(d->set_window_pos(40, 30), 0);
    EXPECT_TRUE(wait_until([&] { return d->set_window_pos(WINDOW_POS_QUERY, WINDOW_POS_QUERY) == 30 * 65536 + 40; }));
}

// Setting the title waits for the refresh thread; with the screen lock held
// it gives the lock up meanwhile and holds it again after.
TEST_F(GdiWindow, TitleSetWhileTheScreenLockIsHeld) {
    gfx_lock();
    g_gfx_screen->driver->set_window_title("Renamed");
    EXPECT_EQ(g_gfx_screen->lock_count, 1);
    EXPECT_STREQ(display_window().title, "Renamed");
    gfx_unlock(1, 0);
    char text[32] = {};
    GetWindowTextA(window_, text, sizeof text);
    EXPECT_STREQ(text, "Renamed");
    g_gfx_screen->driver->set_window_title("Again");
    GetWindowTextA(window_, text, sizeof text);
    EXPECT_STREQ(text, "Again");
}

// The program places and reads the mouse in picture pixels whatever the
// window's scale: a placed pointer stands in the middle of the pixel's
// block, and a move anywhere in a block reads as that pixel.
TEST_F(GdiWindow, MousePlacementIsClampedToTheClientAreaAndInPicturePixels) {
    ASSERT_EQ(gfx_set_mouse(600, -5, -1, -1), ERR_NONE);
    POINT at{511 * scale_ + scale_ / 2, scale_ / 2};
    ClientToScreen(window_, &at);
    POINT cursor{};
    ASSERT_TRUE(wait_until([&] { return GetCursorPos(&cursor) && cursor.x == at.x && cursor.y == at.y; }));
    int32_t x = -1, y = -1, wheel = 0, buttons = 0, clip = -1;
    ASSERT_EQ(gfx_get_mouse(&x, &y, &wheel, &buttons, &clip), ERR_NONE);
    EXPECT_EQ(x, 511);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(clip, 0);
    EXPECT_EQ(mouse_state().cursor_shown, 1);

    POINT pointer{client_of(300), client_of(150)};  // the user moves the mouse
    ClientToScreen(window_, &pointer);
    SetCursorPos(pointer.x, pointer.y);
    EXPECT_TRUE(wait_until([&] {
        return gfx_get_mouse(&x, &y, &wheel, &buttons, &clip) == ERR_NONE && x == 300 && y == 150;
    })) << x
        << ", " << y;
}

TEST_F(GdiWindow, WheelNotchesAndButtons) {
    post(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<uint32_t>(-240) << 16), 0);
    post(WM_LBUTTONDOWN, MK_LBUTTON, 10 | 20 << 16);
    post(WM_XBUTTONDOWN, MK_XBUTTON2 | XBUTTON2 << 16, 0);
    post(WM_XBUTTONUP, XBUTTON2 << 16, 0);
    post(WM_LBUTTONUP, 0, 10 | 20 << 16);
    std::vector<GfxEvent> events;
    wait_until([&] {
        for (const GfxEvent& e : take_screen_events())
            if (e.type != EVENT_MOUSE_MOVE && e.type != EVENT_MOUSE_ENTER && e.type != EVENT_MOUSE_EXIT)
                events.push_back(e);
        return events.size() >= 5;
    });
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].type, EVENT_MOUSE_WHEEL);
    EXPECT_EQ(events[0].a, -1);  // one notch, however large the delta
    EXPECT_EQ(events[1].type, EVENT_MOUSE_PRESS);
    EXPECT_EQ(events[1].a, MOUSE_LEFT);
    EXPECT_EQ(events[2].type, EVENT_MOUSE_PRESS);
    EXPECT_EQ(events[2].a, MOUSE_EXTRA2);
    EXPECT_EQ(events[3].type, EVENT_MOUSE_RELEASE);
    EXPECT_EQ(events[3].a, MOUSE_EXTRA2);
    EXPECT_EQ(events[4].type, EVENT_MOUSE_RELEASE);
    EXPECT_EQ(events[4].a, MOUSE_LEFT);
    EXPECT_EQ(locked([] { return mouse_state().buttons; }), 0);
}

TEST_F(GdiWindow, WhileOpenTheScreenSaverIsOffAndAtTheEndEverythingGoes) {
    BOOL active = TRUE;
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    EXPECT_FALSE(active);
    const std::string class_name = display_window().class_name;
    const HINSTANCE instance = win32_window().instance;
    gfx_screen_close();
    EXPECT_FALSE(IsWindow(window_));
    WNDCLASSA c{};
    EXPECT_FALSE(GetClassInfoA(instance, class_name.c_str(), &c));
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    EXPECT_EQ(active, screen_saver_before_);
    EXPECT_EQ(display_window().running.load(), 0);
    EXPECT_EQ(gdi_state().header, nullptr);
}

// Other sizes and depths: 510 pixels wide at 8 bits the rows are copied
// into rows of whole words, 16 bits are converted to 5-5-5, 32 bits of a
// whole-word width go as they are; the right edge shows what was drawn.
TEST_F(GdiWindow, OtherSizesAndDepthsAreConvertedWhereTheBitmapNeedsIt) {
    struct Case {
        int32_t width, depth;
        bool converted;
        int32_t pitch;
        uint32_t pixel;  // greenish in the screen's format
    };
    for (const Case& c : {Case{510, 8, true, 512, 2}, Case{512, 16, true, 1024, 0x07E0},
                          Case{512, 32, false, 0, 0x0000FF00}, Case{510, 32, true, 2040, 0x0000FF00}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x 512 at " + std::to_string(c.depth));
        ASSERT_EQ(gfx_screen_res(c.width, 512, c.depth, 1, 0, 0), ERR_NONE);
        ASSERT_EQ(g_gfx_screen->driver, &gdi_driver);
        window_ = win32_window().window;
        RECT client{};
        GetClientRect(window_, &client);
        EXPECT_EQ(client.right, c.width * scale_);
        EXPECT_EQ(display_window().converter != nullptr, c.converted);
        if (c.converted) {
            EXPECT_EQ(gdi_state().conversion_pitch, c.pitch);
        }
        EXPECT_EQ(gdi_state().header->bmiHeader.biBitCount, c.depth);
        EXPECT_EQ(gdi_state().header->bmiHeader.biWidth, c.width * scale_);
        gfx_lock();
        GfxScreen* s = g_gfx_screen;
        uint8_t* at = s->visible_pixels + 300 * s->pitch + (c.width - 1) * s->bytes_per_pixel;
        std::memcpy(at, &c.pixel, static_cast<size_t>(s->bytes_per_pixel));
        gfx_unlock(300, 300);
        EXPECT_TRUE(wait_until([&] {
            const COLORREF got = shown(c.width - 1, 300);
            return GetRValue(got) < 0x20 && GetGValue(got) > 0xA0 && GetBValue(got) < 0x20;
        })) << std::hex
            << shown(c.width - 1, 300);
    }
}

// A second mode set closes the first window and opens a new one.
TEST_F(GdiWindow, ASecondModeSetMakesANewWindow) {
    ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(IsWindow(win32_window().window));
}

// The display's modes of a depth, the depth stored alike included.
TEST(GdiModes, ListTheDisplayModesOfTheDepth) {
    std::vector<int32_t> want32;
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
        if (mode.dmBitsPerPel == 32 || mode.dmBitsPerPel == 24)
            want32.push_back(static_cast<int32_t>(mode.dmPelsWidth << 16 | mode.dmPelsHeight));
    for (int32_t depth : {32, 24}) {
        int32_t count = -1;
        int32_t* modes = gdi_fetch_modes(depth, &count);
        ASSERT_EQ(count, static_cast<int32_t>(want32.size()));
        EXPECT_EQ(modes == nullptr, want32.empty());
        for (int32_t i = 0; i < count; ++i) EXPECT_EQ(modes[i], want32[static_cast<size_t>(i)]);
        std::free(modes);
    }
    int32_t count = -1;
    int32_t* none = gdi_fetch_modes(3, &count);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(count, 0);
}

// Without a desktop (Wine with no X display) init fails at once and leaves
// nothing behind, and the program goes on without a window.
TEST(GdiWithoutDisplay, InitFailsCleanly) {
    if (!wine_without_display()) GTEST_SKIP() << "a desktop is there";
    runtime_init();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(gdi_init("wavetable", 512, 512, 8, 0, 0), -1);
    const std::string class_name = display_window().class_name;
    display_window_exit();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    RecordProperty("seconds", std::to_string(seconds));
    EXPECT_EQ(display_window().running.load(), 0);
    EXPECT_EQ(win32_window().window, nullptr);
    WNDCLASSA c{};
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), class_name.c_str(), &c));
    EXPECT_EQ(gdi_init("wavetable", 512, 512, 16, 0, SCREEN_OPENGL), -1);  // refused before anything starts
    display_window_exit();

    // The whole driver choice (window and full screen, each with the rate
    // asked for and with any rate) finds no driver: no screen, and the
    // console operations stay with the character console.
    _putenv_s("ZVGFX", "");
    const auto choice = std::chrono::steady_clock::now();
    EXPECT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_INVALID_CALL);
    RecordProperty("driver_choice_seconds",
                   std::to_string(std::chrono::duration<double>(std::chrono::steady_clock::now() - choice).count()));
    EXPECT_EQ(g_gfx_screen, nullptr);
    EXPECT_EQ(display_window().running.load(), 0);
}

}  // namespace
