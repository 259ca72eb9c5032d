// The X11 driver in this process, against an X server of the test's own.
#include "display/x11/x11_fixture.h"  // first: gtest before the X headers' macros

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "display/program_icon.h"
#include "display/window_events.h"
#include "gfx/screen.h"
#include "runtime/console/key_codes.h"
#include "support/gfx/display_checks.h"
#include "support/gfx/page_drawing.h"
#include "support/pc_key_rules.h"

namespace {

using namespace std::chrono_literals;

constexpr int32_t QUERY = static_cast<int32_t>(0x80000000u);

class X11Window : public X11ScreenTest {
   protected:
    // A property of the window as a list of 32-bit items.
    std::vector<long> property(const char* name, Atom type, long length = 64) const {
        return client_->property(window_, name, type, length);
    }
};

TEST_F(X11Window, OpensTitledCentredWindowThatKeepsItsSize) {
    start_server();
    open_window();
    int x = 0, y = 0, width = 0, height = 0;
    ASSERT_TRUE(client_->geometry(window_, &x, &y, &width, &height));
    EXPECT_EQ(x, (1024 - 512) / 2);
    EXPECT_EQ(y, (768 - 512) / 2);
    EXPECT_EQ(width, 512);
    EXPECT_EQ(height, 512);

    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(client_->display(), window_, &hints, &supplied));
    EXPECT_TRUE((hints.flags & PMinSize) && (hints.flags & PMaxSize));
    EXPECT_EQ(hints.min_width, 512);
    EXPECT_EQ(hints.max_width, 512);
    EXPECT_EQ(hints.min_height, 512);
    EXPECT_EQ(hints.max_height, 512);

    const std::vector<long> protocols = property("WM_PROTOCOLS", XA_ATOM);
    EXPECT_NE(std::find(protocols.begin(), protocols.end(), static_cast<long>(client_->atom("WM_DELETE_WINDOW"))),
              protocols.end());
    // Named and classed after the program, so desktops match it with its
    // desktop entry; the program's icon in each of its sizes.
    XClassHint hint{};
    ASSERT_TRUE(XGetClassHint(client_->display(), window_, &hint));
    std::string capitalised = title();
    capitalised[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(capitalised[0])));
    EXPECT_EQ(std::string(hint.res_name), title());
    EXPECT_EQ(std::string(hint.res_class), capitalised);
    XFree(hint.res_name);
    XFree(hint.res_class);
    std::vector<uint32_t> want_icon;
    for (const ProgramIcon& icon : PROGRAM_ICONS) {
        want_icon.push_back(static_cast<uint32_t>(icon.size));
        want_icon.push_back(static_cast<uint32_t>(icon.size));
        want_icon.insert(want_icon.end(), icon.pixels, icon.pixels + icon.size * icon.size);
    }
    std::vector<uint32_t> icon;  // Xlib hands 32-bit items out in longs
    for (long item : property("_NET_WM_ICON", XA_CARDINAL, 1 << 16)) icon.push_back(static_cast<uint32_t>(item));
    EXPECT_EQ(icon.size(), want_icon.size());
    EXPECT_TRUE(icon == want_icon);
}

TEST_F(X11Window, ShowsTheVisiblePageAndItsChanges) {
    start_server();
    open_window();
    EXPECT_TRUE(shows_page());  // the cleared page of the mode set
    draw_pattern();
    EXPECT_TRUE(shows_page());
    draw_two_distant_rows();
    EXPECT_TRUE(shows_page());
}

// Servers of other pixel formats get the picture through their converter.
TEST_F(X11Window, ShowsThePageOnSixteenAndFifteenBitServers) {
    struct Case {
        const char* screen;
        int red, green, blue;
    };
    for (const Case c : {Case{"1024x768x16", 5, 6, 5}, Case{"1024x768x15", 5, 5, 5}}) {
        SCOPED_TRACE(c.screen);
        start_server(c.screen);
        open_window();
        draw_pattern();
        EXPECT_TRUE(shows_page(c.red, c.green, c.blue));
        gfx_screen_close();
        client_.reset();
        server_.reset();
    }
}

TEST_F(X11Window, RefusesAServerWithoutTrueColour) {
    start_server("640x480x8");
    EXPECT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_INVALID_CALL);
    EXPECT_EQ(g_gfx_screen, nullptr);
}

TEST_F(X11Window, WithoutDisplayInitFailsAtOnce) {
    unsetenv("DISPLAY");
    expect_init_fails_at_once(x11_driver);
}

TEST_F(X11Window, TypedKeysReachTheKeyQueue) {
    start_server();
    open_window();
    focus_window();
    server_->xdotool({"type", "--delay", "5", "a1B"});
    server_->xdotool({"key", "--delay", "5", "Return", "BackSpace", "Escape", "Up", "KP_Up", "Delete", "shift+F1",
                      "ctrl+Home", "alt+x", "F10", "ctrl+c"});
    const std::vector<int32_t> want = {'a',
                                       '1',
                                       'B',
                                       13,
                                       8,
                                       27,
                                       ext_key(0x48),
                                       ext_key(0x48),
                                       ext_key(0x53),
                                       ext_key(0x54),
                                       ext_key(0x77),
                                       ext_key(0x2D),
                                       ext_key(0x44),
                                       3};
    EXPECT_EQ(take_keys(want.size()), want);
}

// The keyboard follows the PC keyboard rules the Windows side follows, for
// every key and set of modifiers of the shared table.
TEST_F(X11Window, KeysWithModifiersPostWhatThePcRulesSay) {
    start_server();
    open_window();
    focus_window();
    // F12 after each chord marks where its keys end. Ctrl+Alt+F1 ... F12
    // never reach a client: the server's keymap switches virtual terminals
    // with them.
    for (const PcKeyRule& r : pc_key_rules()) {
        if ((r.modifiers & RULE_CTRL) && (r.modifiers & RULE_ALT) && r.key[0] == 'F') continue;
        server_->xdotool({"key", "--delay", "0", pc_rule_chord(r), "F12"});
        EXPECT_EQ(keys_before(ext_key(0x86)), r.posted) << pc_rule_chord(r);
    }
}

TEST_F(X11Window, AccentedCharactersArriveInCodePage437) {
    start_server();
    open_window();
    client_->bind_keysyms({XK_eacute, XK_udiaeresis});
    focus_window();
    server_->xdotool({"key", "--delay", "20", "eacute", "udiaeresis"});
    const std::vector<int32_t> want = {static_cast<int8_t>(0x82), static_cast<int8_t>(0x81)};
    EXPECT_EQ(take_keys(want.size()), want);
}

TEST_F(X11Window, AltF4AndTheCloseButtonPostTheCloseKeyAndTheWindowStays) {
    start_server();
    open_window();
    focus_window();
    take_events();
    client_->send_close(window_);
    EXPECT_EQ(take_keys(1), std::vector<int32_t>{KEY_CLOSE});
    EXPECT_TRUE(has_event(take_events(), EVENT_WINDOW_CLOSE));
    server_->xdotool({"key", "alt+F4"});
    EXPECT_EQ(take_keys(1), std::vector<int32_t>{KEY_CLOSE});
    EXPECT_TRUE(client_->exists(window_));
}

TEST_F(X11Window, FocusLossClearsKeyStatesAndKeysGoElsewhere) {
    start_server();
    open_window();
    focus_window();
    server_->xdotool({"keydown", "shift"});
    auto shift_state = [] {
        gfx_lock();
        const bool down = g_gfx_screen->key_states[42] != 0;
        gfx_unlock(1, 0);
        return down;
    };
    EXPECT_TRUE(wait_until(shift_state));
    take_events();
    client_->focus_elsewhere();
    EXPECT_TRUE(wait_until([&] { return !shift_state(); }));
    EXPECT_TRUE(wait_until([&] { return has_event(take_events(), EVENT_WINDOW_LOST_FOCUS); }));
    server_->xdotool({"keyup", "shift"});
    server_->xdotool({"type", "x"});
    focus_window();
    EXPECT_TRUE(wait_until([&] { return has_event(take_events(), EVENT_WINDOW_GOT_FOCUS); }));
    server_->xdotool({"type", "y"});
    EXPECT_EQ(take_keys(1), std::vector<int32_t>{'y'});
    EXPECT_EQ(take_keys(1, 200ms), std::vector<int32_t>{});
}

// The server going away is a closed window: the close key once, and the
// console learns that no more input will come.
TEST_F(X11Window, LosingTheServerClosesTheWindowButNotTheProgram) {
    start_server();
    open_window();
    client_.reset();
    server_->stop();
    EXPECT_EQ(take_keys(1), std::vector<int32_t>{KEY_CLOSE});
    EXPECT_TRUE(console_ended());
    expect_drawing_goes_on_and_the_close_is_quick();
    EXPECT_EQ(take_keys(1, 100ms), std::vector<int32_t>{});
}

TEST_F(X11Window, AltEnterSwitchesToScaledFullScreenAndBack) {
    start_server("1280x1024x24");
    open_window();
    draw_pattern();
    focus_window();
    server_->xdotool({"key", "alt+Return"});
    Window full = 0;
    int x = 0, y = 0, width = 0, height = 0;
    ASSERT_TRUE(wait_until([&] {
        full = client_->find_window(title(), 100ms);
        return full && client_->geometry(full, &x, &y, &width, &height) && width == 1280;
    }));
    EXPECT_EQ(height, 1024);
    // Twice the size, centred: 128 columns of border left and right.
    const GfxScreen* s = g_gfx_screen;
    EXPECT_TRUE(wait_until([&] {
        int w = 0, h = 0;
        std::vector<Rgb> got = client_->pixels(full, &w, &h);
        if (w != 1280 || h != 1024) return false;
        for (int32_t py = 0; py < 1024; py += 37)
            for (int32_t px = 128; px < 128 + 1024; px += 29) {
                const uint32_t c = s->device_palette[s->visible_pixels[(py / 2) * 512 + (px - 128) / 2]];
                const Rgb want{static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)};
                if (!(got[static_cast<size_t>(py * 1280 + px)] == want)) return false;
            }
        return got[0] == Rgb{0, 0, 0} && got[1279] == Rgb{0, 0, 0};
    }));
    window_ = full;
    focus_window();
    server_->xdotool({"key", "alt+Return"});
    ASSERT_TRUE(wait_until([&] {
        Window w = client_->find_window(title(), 100ms);
        return w && client_->geometry(w, &x, &y, &width, &height) && width == 512;
    }));
    EXPECT_EQ(x, (1280 - 512) / 2);
}

TEST_F(X11Window, MaximisingSwitchesToFullScreen) {
    start_server();
    open_window();
    focus_window();
    client_->mark_maximised(window_);
    int x = 0, y = 0, width = 0, height = 0;
    EXPECT_TRUE(wait_until([&] {
        Window w = client_->find_window(title(), 100ms);
        return w && client_->geometry(w, &x, &y, &width, &height) && width == 1024 && height == 768;
    }));
}

TEST_F(X11Window, TitlePositionAndPointerRequests) {
    start_server();
    open_window();
    focus_window();
    const GfxDriver* d = g_gfx_screen->driver;
    EXPECT_EQ(d->set_window_pos(QUERY, QUERY), 128 * 65536 + 256);
    d->set_window_title("Other title");
    EXPECT_TRUE(wait_until([&] { return client_->name_of(window_) == "Other title"; }));

    gfx_lock();
    d->set_mouse(600, -5, -1, -1);
    gfx_unlock(1, 0);
    EXPECT_TRUE(wait_until([&] {
        Window root, child;
        int rx = 0, ry = 0, wx = 0, wy = 0;
        unsigned int mask = 0;
        XQueryPointer(client_->display(), window_, &root, &child, &rx, &ry, &wx, &wy, &mask);
        return wx == 511 && wy == 0;
    }));

    d->set_window_pos(10, 20);
    EXPECT_TRUE(wait_until([&] {
        int x = 0, y = 0, width = 0, height = 0;
        return client_->geometry(window_, &x, &y, &width, &height) && x == 10 && y == 20;
    }));
    EXPECT_TRUE(wait_until([&] { return d->set_window_pos(QUERY, QUERY) == 20 * 65536 + 10; }));
}

TEST_F(X11Window, MouseMovesButtonsAndWheels) {
    start_server();
    open_window();
    focus_window();
    server_->xdotool({"mousemove", "0", "0"});  // off the window
    wait_until([&] { return has_event(take_events(), EVENT_MOUSE_EXIT); }, 1s);
    server_->xdotool({"mousemove", "--window", std::to_string(window_), "10", "20"});
    server_->xdotool({"mousemove", "--window", std::to_string(window_), "30", "40"});
    server_->xdotool({"click", "4"});
    server_->xdotool({"click", "4"});
    server_->xdotool({"click", "5"});
    server_->xdotool({"click", "3"});
    int32_t x = -1, y = -1, wheel = 0, buttons = -1, clip = -1;
    EXPECT_TRUE(wait_until([&] {
        gfx_lock();
        const int32_t r = g_gfx_screen->driver->get_mouse(&x, &y, &wheel, &buttons, &clip);
        gfx_unlock(1, 0);
        return r == 0 && x == 30 && y == 40 && wheel == 1;
    }));
    EXPECT_EQ(buttons, 0);
    EXPECT_EQ(clip, 0);
    std::vector<GfxEvent> events;
    wait_until([&] {
        for (const GfxEvent& e : take_events()) events.push_back(e);
        return has_event(events, EVENT_MOUSE_RELEASE);
    });
    EXPECT_TRUE(has_event(events, EVENT_MOUSE_ENTER));
    EXPECT_TRUE(has_event(events, EVENT_MOUSE_MOVE));
    EXPECT_TRUE(has_event(events, EVENT_MOUSE_WHEEL));
    EXPECT_TRUE(has_event(events, EVENT_MOUSE_PRESS));
    for (const GfxEvent& e : events) {
        if (e.type == EVENT_MOUSE_PRESS || e.type == EVENT_MOUSE_RELEASE) {
            EXPECT_EQ(e.a, MOUSE_RIGHT);
        }
    }
}

TEST_F(X11Window, FetchModesListsTheDisplaySizesForItsDepth) {
    start_server();
    EXPECT_TRUE(modes_include(x11_driver, 24, 1024, 768));
    int32_t count = -1;
    int32_t* modes = x11_driver.fetch_modes(32, &count);
    EXPECT_NE(modes, nullptr);
    std::free(modes);
    modes = x11_driver.fetch_modes(8, &count);
    EXPECT_EQ(modes, nullptr);
    EXPECT_EQ(count, 0);
}

}  // namespace
