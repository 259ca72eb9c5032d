// The "OpenGL" driver record and its refusals, where a window-system layer
// for it is built.
#include <gtest/gtest.h>

#include "display/display_window.h"
#include "display/opengl/gl_driver.h"
#include "display/window_events.h"
#include "gfx/screen.h"

namespace {

// Slots in the driver order: no palette, the window's frame wait, mouse,
// title and position, and the flip with its event handling.
TEST(GlDriver, Record) {
    EXPECT_STREQ(gl_driver.name, "OpenGL");
    EXPECT_EQ(gl_driver.init, gl_init);
    EXPECT_EQ(gl_driver.exit, gl_exit);
    ASSERT_NE(gl_driver.lock, nullptr);
    ASSERT_NE(gl_driver.unlock, nullptr);
    EXPECT_EQ(gl_driver.set_palette, nullptr);
    EXPECT_EQ(gl_driver.wait_vsync, window_wait_frame);
    EXPECT_EQ(gl_driver.get_mouse, window_get_mouse);
    EXPECT_EQ(gl_driver.set_mouse, window_set_mouse);
    EXPECT_EQ(gl_driver.set_window_title, window_set_title);
    EXPECT_EQ(gl_driver.set_window_pos, window_set_pos);
    EXPECT_NE(gl_driver.fetch_modes, nullptr);
    EXPECT_EQ(gl_driver.flip, gl_flip);
    EXPECT_EQ(gl_driver.poll_events, gl_poll_events);
}

// Only OpenGL screens are served; a refusal leaves nothing to take down.
TEST(GlDriver, RefusesAScreenWithoutOpenGl) {
    EXPECT_EQ(gl_init("t", 64, 48, 32, 0, 0), -1);
    EXPECT_EQ(display_window().running.load(), 0);
    gl_exit();
    gl_flip();
    gl_poll_events();
}

}  // namespace
