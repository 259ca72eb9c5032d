// The drivers the display layer hands the screen here, in the order they
// are tried, and a request that names one that refuses the screen.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <string>
#include <vector>

#include "display/x11/x11_fixture.h"
#include "gfx/drivers.h"
#include "gfx/screen.h"

namespace {

TEST(PosixDriverList, WaylandThenX11ThenOpenGl) {
    std::vector<std::string> names;
    for (const GfxDriver* const* d = gfx_window_drivers(); *d; ++d) names.push_back((*d)->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Wayland", "X11", "OpenGL"}));
}

// Without SCREEN_OPENGL the OpenGL driver refuses, so the program's own
// screen stays with the X11 driver even when OpenGL is named.
TEST_F(X11ScreenTest, NamingOpenGlForAPlainScreenStillGetsX11) {
    use_registered_drivers();
    start_server();
    setenv("ZVGFX", "OpenGL", 1);
    ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
    EXPECT_EQ(g_gfx_screen->driver, &x11_driver);
}

}  // namespace
