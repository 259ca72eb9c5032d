// What window input does to the key queue, the key states and the event
// queue, on the in-memory screen with the window record set up by hand.
#include "display/window_events.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/display_window.h"
#include "gfx/key_queue.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/virtual_keys.h"
#include "support/gfx/null_screen.h"
#include "support/gfx/screen_events.h"

namespace {

// A back-end that only counts: full-screen switches are seen through it.
struct FakeBackend {
    static inline int inits = 0, exits = 0, confines = 0, fail_fullscreen = 0;
    static int32_t init() {
        ++inits;
        return fail_fullscreen && (display_window().flags & SCREEN_FULLSCREEN) ? -1 : 0;
    }
    static void exit() { ++exits; }
    static void paint() {}
    static void thread_main() {}
    static void confine(int32_t on) { confines += on ? 1 : 0; }
};

class WindowEvents : public NullScreenTest {
   protected:
    void SetUp() override {
        NullScreenTest::SetUp();
        open_screen();
        display_window_clear();
        DisplayWindow& w = display_window();
        w.backend = {FakeBackend::init, FakeBackend::exit, FakeBackend::paint, FakeBackend::thread_main,
                     FakeBackend::confine};
        w.width = 512;
        w.height = 512;
        w.active = 1;
        window_events_reset();
        FakeBackend::inits = FakeBackend::exits = FakeBackend::confines = FakeBackend::fail_fullscreen = 0;
        take_events();
    }
    void TearDown() override {
        display_window_clear();
        window_events_reset();
        NullScreenTest::TearDown();
    }

    static std::vector<int32_t> keys() {
        std::vector<int32_t> out;
        while (int32_t code = key_take()) out.push_back(code);
        return out;
    }

    static std::vector<GfxEvent> take_events() { return take_screen_events(); }

    static std::vector<int32_t> types(const std::vector<GfxEvent>& events) {
        std::vector<int32_t> out;
        for (const GfxEvent& e : events) out.push_back(e.type);
        return out;
    }

    // A key as a window system reports it: pressed with Alt, or F10, it is
    // a system key.
    static KeyMessage key(int32_t vk, int32_t scan, uint32_t modifiers = 0, int32_t character = 0, int32_t repeat = 1,
                          bool was_down = false) {
        const bool system = (modifiers & (KEYMOD_LEFT_ALT | KEYMOD_RIGHT_ALT)) || vk == VKEY_F10;
        return KeyMessage{vk, scan, modifiers, character, repeat, was_down, system};
    }
};

TEST_F(WindowEvents, PrintableKeysArriveAsTypedCharactersOnly) {
    struct Press {
        int32_t vk, scan, c;
    };
    for (const Press p : {Press{'1', 2, '1'}, Press{'2', 3, '2'}, Press{VKEY_RETURN, 0x1C, 13}}) {
        const int32_t vk = p.vk, scan = p.scan, c = p.c;
        window_key_down(key(vk, scan, 0, c));
        window_typed(c, 1);
    }
    EXPECT_EQ(keys(), (std::vector<int32_t>{'1', '2', 13}));
    const std::vector<GfxEvent> events = take_events();
    ASSERT_EQ(types(events), (std::vector<int32_t>{EVENT_KEY_PRESS, EVENT_KEY_PRESS, EVENT_KEY_PRESS}));
    EXPECT_EQ(events[0].a, 2);  // scan code
    EXPECT_EQ(events[0].b, '1');
    EXPECT_EQ(events[2].a, 28);
}

TEST_F(WindowEvents, HeldArrowPostsItsCodeOncePerRepeat) {
    window_key_down(key(VKEY_UP, 0x48, KEYMOD_ENHANCED, 0, 3, true));
    EXPECT_EQ(keys(), (std::vector<int32_t>{KEY_UP, KEY_UP, KEY_UP}));
    const std::vector<GfxEvent> events = take_events();
    ASSERT_EQ(types(events), std::vector<int32_t>{EVENT_KEY_REPEAT});
    EXPECT_EQ(events[0].a, 72);
    EXPECT_EQ(events[0].b, 0);
    window_key_up(key(VKEY_UP, 0x48, KEYMOD_ENHANCED));
    EXPECT_EQ(types(take_events()), std::vector<int32_t>{EVENT_KEY_RELEASE});
    EXPECT_EQ(keys(), std::vector<int32_t>{});
}

TEST_F(WindowEvents, TypedBytesAboveAsciiArriveAsSignedBytes) {
    window_typed(0x82, 2);
    window_typed(0, 1);
    key_post('x');  // a 0 cannot be told from an empty queue: the poll ends there
    EXPECT_EQ(key_take(), -126);
    EXPECT_EQ(key_take(), -126);
    EXPECT_EQ(key_take(), 0);
}

TEST_F(WindowEvents, CloseRequestPostsTheCloseKeyOnceWithItsEvent) {
    window_close_request();
    EXPECT_EQ(keys(), std::vector<int32_t>{KEY_CLOSE});
    EXPECT_EQ(types(take_events()), std::vector<int32_t>{EVENT_WINDOW_CLOSE});
}

// Keys that report no event and must not reach the platform's default
// handling (the window menu, closing): Alt+F4 (posted, it is the close
// key), F10 (posted) and Alt alone (nothing).
TEST_F(WindowEvents, SilentKeys) {
    EXPECT_FALSE(window_key_down(key(0x73, 0x3E, KEYMOD_LEFT_ALT)));
    EXPECT_FALSE(window_key_down(key(VKEY_F10, 0x44)));
    EXPECT_FALSE(window_key_down(key(VKEY_MENU, 0x38, KEYMOD_LEFT_ALT)));
    window_key_up(key(VKEY_MENU, 0x38));
    window_key_up(key(VKEY_F10, 0x44));
    EXPECT_EQ(keys(), (std::vector<int32_t>{KEY_CLOSE, KEY_F10}));
    EXPECT_EQ(take_events().size(), 0u);
    EXPECT_TRUE(window_key_down(key(VKEY_UP, 0x48, KEYMOD_ENHANCED)));
}

TEST_F(WindowEvents, InactiveWindowIgnoresSystemKeys) {
    display_window().active = 0;
    window_key_down(key('X', 0x2D, KEYMOD_LEFT_ALT, 'x'));
    window_key_down(key(VKEY_F10, 0x44));
    window_key_down(key(VKEY_UP, 0x48, KEYMOD_ENHANCED));
    EXPECT_EQ(keys(), std::vector<int32_t>{KEY_UP});
}

TEST_F(WindowEvents, AltReturnSwitchesFullScreenAndBack) {
    window_key_down(key(VKEY_RETURN, 0x1C, KEYMOD_LEFT_ALT, 13));
    EXPECT_EQ(display_window().flags & SCREEN_FULLSCREEN, SCREEN_FULLSCREEN);
    EXPECT_EQ(FakeBackend::exits, 1);
    EXPECT_EQ(FakeBackend::inits, 1);
    std::memset(g_gfx_screen->dirty_rows, 0, 512);
    window_key_down(key(VKEY_RETURN, 0x1C, KEYMOD_LEFT_ALT, 13));
    EXPECT_EQ(display_window().flags & SCREEN_FULLSCREEN, 0);
    EXPECT_EQ(g_gfx_screen->dirty_rows[511], 1);  // everything drawn again
    EXPECT_EQ(keys(), std::vector<int32_t>{});
}

TEST_F(WindowEvents, FullScreenThatFailsFallsBackToTheWindow) {
    FakeBackend::fail_fullscreen = 1;
    fullscreen_toggle();
    EXPECT_EQ(display_window().flags & SCREEN_FULLSCREEN, 0);
    EXPECT_EQ(FakeBackend::exits, 2);
    EXPECT_EQ(FakeBackend::inits, 2);
}

TEST_F(WindowEvents, NoSwitchKeepsTheWindow) {
    display_window().flags = SCREEN_NO_SWITCH;
    window_key_down(key(VKEY_RETURN, 0x1C, KEYMOD_LEFT_ALT, 13));
    EXPECT_EQ(display_window().flags, SCREEN_NO_SWITCH);
    EXPECT_EQ(FakeBackend::inits, 0);
}

TEST_F(WindowEvents, KeyStatesFollowTheKeyboardAndActivationClearsThem) {
    uint8_t down[256] = {};
    down[VKEY_NUMPAD0 + 8] = 1;  // keypad 8 and Up share scan code 72
    down[VKEY_SHIFT] = 1;        // both Shift rows
    window_refresh_key_states(down);
    const uint8_t* states = g_gfx_screen->key_states;
    EXPECT_EQ(states[72], 1);
    EXPECT_EQ(states[42], 1);
    EXPECT_EQ(states[54], 1);
    EXPECT_EQ(states[1], 0);
    window_activate(false);
    for (int32_t i = 0; i < KEY_STATE_COUNT; ++i) EXPECT_EQ(states[i], 0) << i;
    EXPECT_EQ(display_window().active, 0);
    window_activate(true);
    EXPECT_EQ(types(take_events()), (std::vector<int32_t>{EVENT_WINDOW_LOST_FOCUS, EVENT_WINDOW_GOT_FOCUS}));
}

TEST_F(WindowEvents, MouseEntersMovesAndLeaves) {
    window_mouse_move(10, 20, 300, 400);  // first sight: entry, no move
    window_mouse_move(12, 20, 302, 400);
    window_mouse_move(12, 20, 302, 400);  // no movement, no event
    window_mouse_leave();
    const std::vector<GfxEvent> events = take_events();
    ASSERT_EQ(types(events), (std::vector<int32_t>{EVENT_MOUSE_ENTER, EVENT_MOUSE_MOVE, EVENT_MOUSE_EXIT}));
    EXPECT_EQ(events[1].a, 12);
    EXPECT_EQ(events[1].c, 2);
    EXPECT_EQ(events[1].d, 0);
}

TEST_F(WindowEvents, LosingFocusWhileTrackedReportsTheExitFirst) {
    window_mouse_enter();
    take_events();
    window_activate(false);
    EXPECT_EQ(types(take_events()), (std::vector<int32_t>{EVENT_MOUSE_EXIT, EVENT_WINDOW_LOST_FOCUS}));
}

TEST_F(WindowEvents, ButtonsAndWheels) {
    window_mouse_move(5, 6, 5, 6);
    window_mouse_button(EVENT_MOUSE_PRESS, MOUSE_LEFT);
    window_mouse_button(EVENT_MOUSE_PRESS, MOUSE_RIGHT);
    window_mouse_button(EVENT_MOUSE_RELEASE, MOUSE_LEFT);
    window_mouse_wheel(-240);  // one notch, however large the delta
    window_mouse_hwheel(1);
    int32_t x, y, wheel, buttons, clip;
    ASSERT_EQ(window_get_mouse(&x, &y, &wheel, &buttons, &clip), 0);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    EXPECT_EQ(wheel, -1);
    EXPECT_EQ(buttons, MOUSE_RIGHT);
    EXPECT_EQ(clip, 0);
    std::vector<GfxEvent> events = take_events();
    EXPECT_EQ(types(events), (std::vector<int32_t>{EVENT_MOUSE_ENTER, EVENT_MOUSE_PRESS, EVENT_MOUSE_PRESS,
                                                   EVENT_MOUSE_RELEASE, EVENT_MOUSE_WHEEL, EVENT_MOUSE_HWHEEL}));
    EXPECT_EQ(events[4].a, -1);
    window_activate(false);
    EXPECT_EQ(window_get_mouse(&x, &y, &wheel, &buttons, &clip), -1);
}

TEST_F(WindowEvents, SetMouseClampsToTheWindowAndKeepsWhatIsNotGiven) {
    const MouseState& m = mouse_state();
    window_set_mouse(600, -5, -1, -1);
    EXPECT_EQ(m.last_x, 511);
    EXPECT_EQ(m.last_y, 0);
    EXPECT_EQ(m.inside, 1);
    EXPECT_EQ(m.cursor_shown, 1);
    EXPECT_EQ(m.clip, 0);
    window_set_mouse(static_cast<int32_t>(0x80000000u), 7, 0, 1);
    EXPECT_EQ(m.last_x, 511);
    EXPECT_EQ(m.last_y, 7);
    EXPECT_EQ(m.cursor_shown, 0);
    EXPECT_EQ(m.clip, 1);
    window_set_mouse(static_cast<int32_t>(0x80000000u), static_cast<int32_t>(0x80000000u), 1, 0);
    EXPECT_EQ(m.last_y, 7);
    EXPECT_EQ(m.cursor_shown, 1);
    EXPECT_EQ(m.clip, 0);
}

TEST_F(WindowEvents, FullEventQueueDropsItsOldest) {
    for (int32_t i = 0; i < 130; ++i) event_post(GfxEvent{EVENT_MOUSE_WHEEL, i, 0, 0, 0});
    const std::vector<GfxEvent> events = take_events();
    ASSERT_EQ(events.size(), 127u);
    EXPECT_EQ(events.front().a, 3);
    EXPECT_EQ(events.back().a, 129);
}

}  // namespace
