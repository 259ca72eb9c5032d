// The X11 window on the desktop it finds: the desktop's scale from its
// resources, the screen saver held off while the window is open, and a
// window manager's frame.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <X11/Xatom.h>
#include <X11/extensions/scrnsaver.h>

#include <string>
#include <thread>
#include <vector>

#include "display/display_window.h"
#include "display/x11/x11_fixture.h"
#include "gfx/screen.h"

namespace {

using namespace std::chrono_literals;

constexpr int32_t QUERY = static_cast<int32_t>(0x80000000u);

// Xft.dpi / 96, rounded down, at least 1: the window is the picture times
// that, each picture pixel a square, and the pointer reaches the program in
// picture pixels.
TEST_F(X11ScreenTest, TheDesktopsScaleMakesEachPixelASquare) {
    struct Case {
        const char* resources;
        int scale;
    };
    const Case cases[] = {
        {"", 1},
        {"Xft.dpi:\t144\n", 1},
        {"Xft.antialias:\t1\nXft.dpi:\t192\n", 2},
        {"Xft.dpi:\tnonsense\n", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resources);
        start_server("1280x1100x24");
        client_->set_resources(c.resources);
        open_window();
        const int size = 512 * c.scale;
        int x = 0, y = 0, width = 0, height = 0;
        ASSERT_TRUE(client_->geometry(window_, &x, &y, &width, &height));
        EXPECT_EQ(width, size);
        EXPECT_EQ(height, size);
        EXPECT_EQ(x, (1280 - size) / 2);
        EXPECT_EQ(y, (1100 - size) / 2);
        draw_pattern();
        EXPECT_TRUE(shows_page(8, 8, 8, c.scale));
        server_->xdotool({"mousemove", "--window", std::to_string(window_), std::to_string(30 * c.scale + c.scale - 1),
                          std::to_string(40 * c.scale)});
        int32_t mx = -1, my = -1, wheel = 0, buttons = 0, clip = 0;
        EXPECT_TRUE(wait_until([&] {
            gfx_lock();
            g_gfx_screen->driver->get_mouse(&mx, &my, &wheel, &buttons, &clip);
            gfx_unlock(1, 0);
            return mx == 30 && my == 40;
        })) << mx
            << ", " << my;
        gfx_screen_close();
        client_.reset();
        server_.reset();
    }
}

// The saver's timeout is a second: while the window is open it never
// comes on; once the window is gone it does.
TEST_F(X11ScreenTest, TheScreenSaverIsHeldOffWhileTheWindowIsOpen) {
    start_server();
    Display* d = client_->display();
    int event_base = 0, error_base = 0;
    if (!XScreenSaverQueryExtension(d, &event_base, &error_base)) GTEST_SKIP() << "no screen saver extension";
    XSetScreenSaver(d, 1, 0, DontPreferBlanking, AllowExposures);
    open_window();
    XResetScreenSaver(d);
    XSync(d, False);
    XScreenSaverInfo* info = XScreenSaverAllocInfo();
    ASSERT_NE(info, nullptr);
    const auto state = [&] {
        XScreenSaverQueryInfo(d, DefaultRootWindow(d), info);
        return info->state;
    };
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(state(), ScreenSaverOff);
    gfx_screen_close();
    XResetScreenSaver(d);
    XSync(d, False);
    EXPECT_TRUE(wait_until([&] { return state() == ScreenSaverOn; }, 3s));
    XFree(info);
}

// Under a window manager that frames its windows the frame is centred, and
// the position the program reads is the frame's top-left corner.
TEST_F(X11ScreenTest, AFramedWindowIsCentredByItsFrame) {
    if (!FramingWindowManager::installed()) GTEST_SKIP() << "openbox is not installed";
    start_server();
    FramingWindowManager manager(server_->display());
    ASSERT_TRUE(manager.running());
    open_window();
    std::vector<long> extents;
    ASSERT_TRUE(wait_until([&] {
        extents = client_->property(window_, "_NET_FRAME_EXTENTS", XA_CARDINAL, 4);
        return extents.size() == 4 && extents[2] > 0;
    })) << "the window manager gave no frame";
    const Window frame = client_->frame_of(window_);
    ASSERT_NE(frame, window_);
    const int outer_width = 512 + static_cast<int>(extents[0] + extents[1]);
    const int outer_height = 512 + static_cast<int>(extents[2] + extents[3]);
    int x = 0, y = 0, width = 0, height = 0;
    EXPECT_TRUE(wait_until([&] {
        return client_->geometry(frame, &x, &y, &width, &height) && x == (1024 - outer_width) / 2 &&
               y == (768 - outer_height) / 2;
    })) << "frame at "
        << x << ", " << y << ", " << width << " x " << height;
    EXPECT_EQ(width, outer_width);
    EXPECT_EQ(height, outer_height);
    const int32_t packed = g_gfx_screen->driver->set_window_pos(QUERY, QUERY);
    EXPECT_EQ(packed, packed_position(x, y));
    // Moved by the program, the frame goes where it is asked.
    g_gfx_screen->driver->set_window_pos(40, 30);
    EXPECT_TRUE(wait_until([&] { return client_->geometry(frame, &x, &y, &width, &height) && x == 40 && y == 30; }))
        << "frame at " << x << ", " << y;
    EXPECT_TRUE(
        wait_until([&] { return g_gfx_screen->driver->set_window_pos(QUERY, QUERY) == packed_position(40, 30); }));
}

}  // namespace
