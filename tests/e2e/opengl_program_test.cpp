// The OpenGL display driver with a program that draws with OpenGL
// (tests/opengl/gl_program.cpp), on an X server of the test's own whose
// GLX is Mesa's software renderer.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <string>
#include <vector>

#include "display/x11_fixture.h"
#include "support/gl_program_fixture.h"

namespace {

using namespace std::chrono_literals;

class OpenGlProgram : public GlProgramTest {
   protected:
    // Mesa's software renderer leaks a little per context and unloads its
    // driver before a leak check could name it; the fake library leaks
    // nothing, so those runs keep the check.
    ProgramRun program(const std::vector<std::string>& args) const override {
        ProgramRun r;
        r.command = {GL_PROGRAM_BINARY};
        r.command.insert(r.command.end(), args.begin(), args.end());
        r.env["DISPLAY"] = server_->display();
        r.env["ASAN_OPTIONS"] = "detect_leaks=0";
        return r;
    }

    std::string plain_driver() const override { return "X11"; }
};

TEST_F(OpenGlProgram, DrawsFlipsAndGetsItsKeysAndTheClose) { draws_flips_and_gets_its_keys_and_the_close(); }

TEST_F(OpenGlProgram, ASecondModeSetMakesANewWindow) { a_second_mode_set_makes_a_new_window(); }

TEST_F(OpenGlProgram, AKeyWaitWithoutFlipsGetsTheClose) { a_key_wait_without_flips_gets_the_close(); }

TEST_F(OpenGlProgram, SamplesFallBackToWhatTheImplementationHas) {
    samples_fall_back_to_what_the_implementation_has();
}

TEST_F(OpenGlProgram, ServedByOpenGlWhateverDriverIsNamed) { served_by_opengl_whatever_driver_is_named(); }

// A libGL.so.1 whose OpenGL lacks GL_EXT_bgra, and one that is no library.
TEST_F(OpenGlProgram, WithoutAUsableOpenGlTheModeSetGoesOn) {
    ScratchDir broken;
    write_file(broken.file("libGL.so.1"), {'n', 'o', 't', ' ', 'E', 'L', 'F'});
    const auto libraries = [](const std::string& folder) {
        return [folder](ProgramRun& r) {
            r.env["LD_LIBRARY_PATH"] = folder;
            r.env.erase("ASAN_OPTIONS");
        };
    };
    without_a_usable_opengl_the_mode_set_goes_on({
        {"no GL_EXT_bgra", libraries(FAKE_GL_DIR), true},
        {"libGL missing", libraries(broken.path()), false},
    });
}

// Maximising switches to full screen on the same window, so the rendering
// context goes on drawing into it: at the monitor's corner, the picture's size.
TEST_F(OpenGlProgram, FullScreenKeepsTheWindowAndItsContext) {
    const ProgramResult r = run({"--keys"}, [&](int) {
        const Window w = program_window();
        ASSERT_NE(w, 0u);
        EXPECT_TRUE(client_->give_focus(w));
        client_->mark_maximised(w);
        int x = -1, y = -1, width = 0, height = 0;
        EXPECT_TRUE(wait_until([&] { return client_->geometry(w, &x, &y, &width, &height) && x == 0 && y == 0; }))
            << "at " << x << ", " << y;
        EXPECT_EQ(width, GL_PROGRAM_WIDTH);
        EXPECT_EQ(height, GL_PROGRAM_HEIGHT);
        EXPECT_TRUE(shows_picture(w));
        client_->send_close(w);
    });
    expect_clean_exit(r);
    EXPECT_TRUE(has_line(r.output, "closed")) << r.output;
}

// A server that goes away is a closed window: the program's next flip
// brings it the close key, and it ends normally.
TEST_F(OpenGlProgram, AVanishedServerReachesTheProgramAsTheClose) {
    const ProgramResult r = run({"--keys"}, [&](int) {
        const Window w = program_window();
        ASSERT_NE(w, 0u);
        EXPECT_TRUE(shows_picture(w));  // the program is in its frame loop
        client_.reset();
        server_->stop();
    });
    expect_clean_exit(r);
    EXPECT_TRUE(has_line(r.output, "key: 27647")) << r.output;
    EXPECT_TRUE(has_line(r.output, "closed")) << r.output;
}

// Without SCREEN_OPENGL the OpenGL driver refuses, so the program's own
// screen stays with the X11 driver even when OpenGL is named.
TEST_F(X11ScreenTest, NamingOpenGlForAPlainScreenStillGetsX11) {
    start_server();
    setenv("ZVGFX", "OpenGL", 1);
    ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
    EXPECT_EQ(g_gfx_screen->driver, &x11_driver);
}

}  // namespace
