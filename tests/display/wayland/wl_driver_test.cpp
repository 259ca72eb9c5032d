// The Wayland driver in this process, against a headless sway of the
// test's own.
#include "display/wayland/wl_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "display/window_events.h"
#include "runtime/console/key_codes.h"
#include "support/gfx/display_checks.h"
#include "support/gfx/page_drawing.h"
#include "support/gfx/window_drivers.h"
#include "support/pc_key_rules.h"

namespace {

using namespace std::chrono_literals;

constexpr int32_t FENCE = ext_key(0x86);  // F12: where a burst of keys ends

// The program's name, as the window is titled.
std::string program_name() {
    char path[256] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string name = n > 0 ? std::string(path, static_cast<size_t>(n)) : "";
    name = name.substr(name.rfind('/') + 1);
    return name.substr(0, name.rfind('.'));
}

class WlWindow : public WlScreenTest {};

TEST_F(WlWindow, OpensOneFixedSizeFloatingWindowThatHoldsOffTheScreenSaver) {
    start_sway();
    open_window();
    EXPECT_EQ(window_.title, program_name());
    EXPECT_EQ(window_.width, 512);
    EXPECT_EQ(window_.height, 512);
    EXPECT_TRUE(window_.floating);  // one size: even a tiling compositor floats it
    EXPECT_FALSE(window_.fullscreen);
    EXPECT_TRUE(window_.inhibit_idle);
    EXPECT_TRUE(wait_until([&] { return sway_->window(WL_APP_ID).focused; }));
}

// Each picture pixel an exact square of device pixels, at scale 1 and 2,
// the first picture and the rows drawn later alike.
TEST_F(WlWindow, ShowsTheVisiblePageInWholeDevicePixels) {
    for (int scale : {1, 2}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        start_sway(scale);
        open_window();
        EXPECT_EQ(window_.width, 512);  // the same size on the desktop
        EXPECT_TRUE(shows_page());
        draw_pattern();
        EXPECT_TRUE(shows_page());
        draw_two_distant_rows();
        EXPECT_TRUE(shows_page());
        gfx_screen_close();
        sway_.reset();
    }
}

TEST_F(WlWindow, TheTitleRequestRenamesTheWindow) {
    start_sway();
    open_window();
    g_gfx_screen->driver->set_window_title("Other title");
    EXPECT_TRUE(wait_until([&] { return sway_->window(WL_APP_ID).title == "Other title"; }));
}

// The keyboard follows the PC keyboard rules the Windows side follows, for
// every key and set of modifiers of the shared table. wtype's keyboard has
// one keysym a key: a shifted character is typed as its own keysym (a
// capital letter as text: wtype finds keysym names ignoring case).
TEST_F(WlWindow, KeysWithModifiersPostWhatThePcRulesSay) {
    start_sway();
    open_window();
    std::vector<std::string> args;
    for (const PcKeyRule& r : pc_key_rules()) {
        std::vector<std::string> modifiers;
        if (r.modifiers & RULE_CTRL) modifiers.push_back("ctrl");
        if (r.modifiers & RULE_ALT) modifiers.push_back("alt");
        if (r.modifiers & RULE_SHIFT) modifiers.push_back("shift");
        for (const std::string& m : modifiers) args.insert(args.end(), {"-M", m});
        const std::string key = (r.modifiers & RULE_SHIFT) ? r.shifted : r.key;
        if (key.size() == 1 && std::isupper(static_cast<unsigned char>(key[0])))
            args.push_back(key);  // as text: a key of its own
        else
            args.insert(args.end(), {"-k", key});
        for (const std::string& m : modifiers) args.insert(args.end(), {"-m", m});
        args.insert(args.end(), {"-k", "F12"});
    }
    // Typed while the keys are taken: the key queue holds only 15.
    args.insert(args.begin(), {"-d", "5"});
    bool typed = false;
    std::thread typist([&] { typed = sway_->wtype(args); });
    for (const PcKeyRule& r : pc_key_rules()) EXPECT_EQ(keys_before(FENCE, 5s), r.posted) << pc_rule_chord(r);
    typist.join();
    EXPECT_TRUE(typed);
}

// The client repeats a held key at the compositor's rate, after its delay.
TEST_F(WlWindow, AHeldKeyRepeats) {
    start_sway();
    open_window();
    take_screen_events();
    ASSERT_TRUE(sway_->wtype({"-P", "Left", "-s", "1200", "-p", "Left", "-k", "F12"}));
    const std::vector<int32_t> keys = keys_before(FENCE);
    EXPECT_GE(keys.size(), 3u);
    for (int32_t code : keys) EXPECT_EQ(code, KEY_LEFT);
    EXPECT_TRUE(has_event(take_screen_events(), EVENT_KEY_REPEAT));
    // Released: no more.
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(keys_before(FENCE, 100ms), std::vector<int32_t>{});
}

TEST_F(WlWindow, FocusLossClearsKeyStatesAndKeysGoElsewhere) {
    start_sway();
    open_window();
    // Shift held while the window loses the keyboard.
    std::thread typist([&] { sway_->wtype({"-P", "Shift_L", "-s", "1500", "-p", "Shift_L"}); });
    EXPECT_TRUE(wait_until([&] { return key_state(42); }));
    take_screen_events();
    ASSERT_TRUE(sway_->leave_workspace());
    EXPECT_TRUE(wait_until([&] { return !key_state(42); }));
    EXPECT_TRUE(wait_until([&] { return has_event(take_screen_events(), EVENT_WINDOW_LOST_FOCUS); }));
    typist.join();
    sway_->wtype({"-k", "x"});  // to no window
    ASSERT_TRUE(sway_->return_to_workspace());
    ASSERT_TRUE(sway_->focus(WL_APP_ID));
    EXPECT_TRUE(wait_until([&] { return has_event(take_screen_events(), EVENT_WINDOW_GOT_FOCUS); }));
    sway_->wtype({"-k", "y", "-k", "F12"});
    EXPECT_EQ(keys_before(FENCE), std::vector<int32_t>{'y'});
}

TEST_F(WlWindow, TheCloseRequestPostsTheCloseKeyAndTheWindowStays) {
    start_sway();
    open_window();
    take_screen_events();
    ASSERT_TRUE(sway_->close(WL_APP_ID));
    sway_->wtype({"-k", "F12"});
    EXPECT_EQ(keys_before(FENCE), std::vector<int32_t>{KEY_CLOSE});
    EXPECT_TRUE(has_event(take_screen_events(), EVENT_WINDOW_CLOSE));
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(sway_->window(WL_APP_ID).found);
}

// Full screen through the toplevel's state: the picture at the largest
// whole factor that fits, centred on black; and back.
TEST_F(WlWindow, AltEnterSwitchesToFullScreenCentredOnBlackAndBack) {
    start_sway(2);
    open_window();
    draw_pattern();
    ASSERT_TRUE(sway_->wtype({"-M", "alt", "-k", "Return", "-m", "alt"}));
    ASSERT_TRUE(wait_until([&] { return sway_->window(WL_APP_ID).fullscreen; }));
    // 2048 x 1536 device pixels: a factor of 3, 256 columns of black each side.
    const GfxScreen* s = g_gfx_screen;
    EXPECT_TRUE(wait_until([&] {
        const Screenshot shot = sway_->grim(0, 0, 1024, 768);
        if (shot.width != 2048 || shot.height != 1536) return false;
        for (int y = 0; y < 1536; y += 37)
            for (int x = 256; x < 256 + 1536; x += 29) {
                const uint32_t c = s->device_palette[s->visible_pixels[(y / 3) * 512 + (x - 256) / 3]];
                if (!(shot.at(x, y) == Rgb{uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)})) return false;
            }
        return shot.at(0, 0) == Rgb{0, 0, 0} && shot.at(2047, 1535) == Rgb{0, 0, 0} &&
               shot.at(255, 700) == Rgb{0, 0, 0};
    }));
    ASSERT_TRUE(sway_->wtype({"-M", "alt", "-k", "Return", "-m", "alt"}));
    EXPECT_TRUE(wait_until([&] {
        const SwayWindow w = sway_->window(WL_APP_ID);
        return w.found && !w.fullscreen && w.width == 512;
    }));
    window_ = sway_->window(WL_APP_ID);
    EXPECT_TRUE(shows_page());
}

TEST_F(WlWindow, TheFullScreenRequestOpensFullScreen) {
    start_sway();
    open_window(SCREEN_FULLSCREEN);
    EXPECT_TRUE(wait_until([&] { return sway_->window(WL_APP_ID).fullscreen; }));
}

// The compositor going away is a closed window: the close key once, and
// the console learns that no more input will come.
TEST_F(WlWindow, LosingTheCompositorClosesTheWindowButNotTheProgram) {
    start_sway();
    open_window();
    sway_->kill_now();
    std::vector<int32_t> keys;
    EXPECT_TRUE(wait_until([&] {
        while (int32_t code = key_take()) keys.push_back(code);
        return !keys.empty();
    }));
    EXPECT_EQ(keys, std::vector<int32_t>{KEY_CLOSE});
    EXPECT_TRUE(console_ended());
    expect_drawing_goes_on_and_the_close_is_quick();
}

TEST_F(WlWindow, WithoutACompositorInitFailsAtOnce) {
    ScopedEnv display("WAYLAND_DISPLAY", std::nullopt), socket("WAYLAND_SOCKET", std::nullopt);
    expect_init_fails_at_once(wl_driver);
}

TEST_F(WlWindow, FetchModesListsTheOutputSize) {
    start_sway();
    EXPECT_TRUE(modes_include(wl_driver, 32, 1024, 768));
    int32_t count = -1;
    EXPECT_EQ(wl_driver.fetch_modes(8, &count), nullptr);
    EXPECT_EQ(count, 0);
}

}  // namespace

namespace {

// The program's screen on weston (its X server's pointer and keyboard are
// weston's), showing the pattern; `corner`, the pattern's first rows,
// locates the picture on weston's output.
class WlWeston : public ::testing::Test {
   protected:
    void SetUp() override {
        if (!WestonSession::installed()) GTEST_SKIP() << "weston, Xvfb or xdotool is not installed";
        runtime_init();
        key_queue() = KeyQueue{};
        weston_ = std::make_unique<WestonSession>();
        ASSERT_TRUE(weston_->running()) << "weston did not start:\n" << weston_->log();
        for (const auto& [name, value] : weston_->client_env())
            env_.push_back(std::make_unique<ScopedEnv>(name, value));
        env_.push_back(std::make_unique<ScopedEnv>("ZVGFX", "wayland"));
        ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
        ASSERT_EQ(g_gfx_screen->driver, &wl_driver);
        draw_pattern();
        const GfxScreen* s = g_gfx_screen;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 64; ++x) {
                const uint32_t c = s->device_palette[s->visible_pixels[y * s->pitch + x]];
                corner_.push_back({uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
            }
    }
    void TearDown() override {
        gfx_screen_close();
        env_.clear();
        weston_.reset();
        key_queue() = KeyQueue{};
    }

    bool find(const Screenshot& shot, int* left, int* top) const {
        return find_picture(shot, corner_, 64, 4, left, top);
    }

    ScopedWindowDrivers drivers_{&wl_driver};
    std::unique_ptr<WestonSession> weston_;
    std::vector<std::unique_ptr<ScopedEnv>> env_;
    std::vector<Rgb> corner_;
};

// Positions reach the program in picture pixels; buttons, the wheel,
// entering and leaving as on X11.
TEST_F(WlWeston, PointerMovesButtonsWheelAndLeavingInPicturePixels) {
    WestonSession& weston = *weston_;
    int left = 0, top = 0;
    ASSERT_TRUE(wait_until([&] { return find(weston.screenshot(), &left, &top); }));
    take_screen_events();
    weston.move(left + 10, top + 20);
    weston.move(left + 30, top + 40);
    for (const char* button : {"4", "4", "5", "3"}) weston.xdotool({"click", button});
    int32_t x = -1, y = -1, wheel = 0, buttons = -1, clip = -1;
    EXPECT_TRUE(wait_until([&] {
        gfx_lock();
        const int32_t r = g_gfx_screen->driver->get_mouse(&x, &y, &wheel, &buttons, &clip);
        gfx_unlock(1, 0);
        return r == 0 && x == 30 && y == 40 && wheel == 1;
    })) << x
        << "," << y << " wheel " << wheel;
    EXPECT_EQ(buttons, 0);
    std::vector<GfxEvent> events;
    wait_until([&] {
        for (const GfxEvent& e : take_screen_events()) events.push_back(e);
        return std::any_of(events.begin(), events.end(),
                           [](const GfxEvent& e) { return e.type == EVENT_MOUSE_RELEASE; });
    });
    const auto has = [&](int32_t type) {
        return std::any_of(events.begin(), events.end(), [&](const GfxEvent& e) { return e.type == type; });
    };
    EXPECT_TRUE(has(EVENT_MOUSE_MOVE));
    EXPECT_TRUE(has(EVENT_MOUSE_WHEEL));
    EXPECT_TRUE(has(EVENT_MOUSE_PRESS));
    for (const GfxEvent& e : events)
        if (e.type == EVENT_MOUSE_PRESS || e.type == EVENT_MOUSE_RELEASE) {
            EXPECT_EQ(e.a, MOUSE_RIGHT);
        }
    // Off the window: the program learns the pointer left.
    weston.move(left + 600, top + 20);
    EXPECT_TRUE(wait_until([&] {
        for (const GfxEvent& e : take_screen_events())
            if (e.type == EVENT_MOUSE_EXIT) return true;
        return false;
    }));
}

// In libdecor's frame too, Alt+Enter switches to full screen, the picture
// centred on black, and back; the keyboard works on.
TEST_F(WlWeston, AltEnterSwitchesToFullScreenAndBackInLibdecorsFrame) {
    WestonSession& weston = *weston_;
    int left = 0, top = 0;
    const auto framed = [&] {
        const Screenshot shot = weston.screenshot();
        return find(shot, &left, &top) && title_bar_above(shot, left, top);
    };
    ASSERT_TRUE(wait_until(framed));
    weston.xdotool({"key", "alt+Return"});
    // 1024 x 768: a factor of 1, 256 columns and 128 rows of black around,
    // no frame. (Weston's pointer may rest in the top left corner.)
    EXPECT_TRUE(wait_until([&] {
        const Screenshot shot = weston.screenshot();
        return find(shot, &left, &top) && left == 256 && top == 128 && !title_bar_above(shot, left, top) &&
               shot.at(100, 700) == Rgb{0, 0, 0} && shot.at(1013, 757) == Rgb{0, 0, 0};
    }));
    weston.xdotool({"key", "alt+Return"});
    EXPECT_TRUE(wait_until(framed));
    weston.xdotool({"key", "a", "F12"});
    EXPECT_EQ(keys_before(FENCE), std::vector<int32_t>{'a'});
}

}  // namespace
