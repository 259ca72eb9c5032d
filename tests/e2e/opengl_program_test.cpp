// The OpenGL display driver with a program that draws with OpenGL
// (tests/display/opengl/gl_program/), on an X server of the test's own
// whose GLX is Mesa's software renderer: the shared suite for this build's
// program, and what only X11 shows.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <string>
#include <vector>

#include "support/posix/opengl_program_suite.h"

namespace {

using namespace std::chrono_literals;

// Mesa's software renderer leaks a little per context and unloads its
// driver before a leak check could name it; the fake library leaks
// nothing, so those runs keep the check.
ProgramRun linux_program(const std::string& display, const std::vector<std::string>& args) {
    ProgramRun r;
    r.command = {GL_PROGRAM_BINARY};
    r.command.insert(r.command.end(), args.begin(), args.end());
    r.env["DISPLAY"] = display;
    r.env["ASAN_OPTIONS"] = "detect_leaks=0";
    return r;
}

// A libGL.so.1 whose OpenGL lacks GL_EXT_bgra, and one that is no library.
std::vector<GlProgramPlatform::UnusableOpenGl> linux_unusable(const ScratchDir& dir) {
    write_file(dir.file("libGL.so.1"), {'n', 'o', 't', ' ', 'E', 'L', 'F'});
    const auto libraries = [](const std::string& folder) {
        return [folder](ProgramRun& r) {
            r.env["LD_LIBRARY_PATH"] = folder;
            r.env.erase("ASAN_OPTIONS");
        };
    };
    return {
        {"no GL_EXT_bgra", libraries(FAKE_GL_DIR), true},
        {"libGL missing", libraries(dir.path()), false},
    };
}

GlProgramPlatform linux_platform() {
    GlProgramPlatform p;
    p.name = "X11";
    p.program = linux_program;
    p.plain_driver = "X11";
    p.unusable = linux_unusable;
    return p;
}

INSTANTIATE_TEST_SUITE_P(Linux, OpenGlProgram, ::testing::Values(linux_platform()), gl_platform_name);

class OpenGlProgramOnX11 : public OpenGlProgram {};

INSTANTIATE_TEST_SUITE_P(Linux, OpenGlProgramOnX11, ::testing::Values(linux_platform()), gl_platform_name);

// Maximising switches to full screen on the same window, so the rendering
// context goes on drawing into it: at the monitor's corner, the picture's size.
TEST_P(OpenGlProgramOnX11, FullScreenKeepsTheWindowAndItsContext) {
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
TEST_P(OpenGlProgramOnX11, AVanishedServerReachesTheProgramAsTheClose) {
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

}  // namespace
