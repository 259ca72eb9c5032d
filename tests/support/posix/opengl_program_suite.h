#pragma once
// The OpenGL test program (tests/display/opengl/gl_program/) on an X server of
// the test's own: this build's program over the server's GLX, or the
// cross-built Windows program under Wine, whose OpenGL reaches the same
// GLX. Both are Mesa's software renderer. What a user does to the program
// and what it must report are the same everywhere; each platform says how
// the program starts, which driver serves a plain screen, and what stands
// for an unusable OpenGL there.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "display/opengl/gl_program/gl_picture.h"
#include "support/posix/program.h"
#include "support/x11/x_server.h"

// The program's picture, top row first.
std::vector<Rgb> gl_program_picture();

// The output has this whole line.
bool has_line(const std::string& output, const std::string& line);

void expect_clean_exit(const ProgramResult& r);

// How a platform runs the program and what stands in for it there.
struct GlProgramPlatform {
    std::string name;  // the suite's instance: "X11", "Wine"
    // The program with `args` on the X display `display`.
    std::function<ProgramRun(const std::string& display, const std::vector<std::string>& args)> program;
    // The driver of a plain screen when no OpenGL screen opens.
    std::string plain_driver;
    // Without a window manager, Wine's keyboard follows the pointer too.
    bool focus_follows_pointer = false;
    std::chrono::seconds timeout{60};
    // An OpenGL the driver must refuse: `prepare` changes the run so, and a
    // fake implementation says on the output when it was asked for its
    // extensions ("fake OpenGL: extensions asked").
    struct UnusableOpenGl {
        std::string what;
        std::function<void(ProgramRun&)> prepare;
        bool probed;
    };
    // The platform's unusable OpenGLs, with what they need put in `dir`.
    std::function<std::vector<UnusableOpenGl>(const ScratchDir& dir)> unusable;
};

// Test names and messages show the platform by its name.
inline void PrintTo(const GlProgramPlatform& p, std::ostream* os) { *os << p.name; }

// The OpenGL program's suite: one set of tests, instantiated for each
// platform by the suite that runs its program (tests/e2e/ for this build's
// program, tests/wine/ for the Windows one).
class OpenGlProgram : public ::testing::TestWithParam<GlProgramPlatform> {
   protected:
    void SetUp() override;

    ProgramRun program(const std::vector<std::string>& args) const {
        return GetParam().program(server_->display(), args);
    }
    // The keyboard to the window, as a click on it gives.
    void take_focus(Window w);

    // Runs the program in the test's directory; `user` acts while it runs.
    // Line ends are plain newlines in the output.
    ProgramResult run(const std::vector<std::string>& args, const std::function<void(int pid)>& user = {},
                      const EnvChanges& env = {});
    // Runs a prepared run there, ZVGFX unset unless the run sets it.
    ProgramResult finish(ProgramRun r);
    // Runs them all at once (they must need no user), each as finish does.
    std::vector<ProgramResult> finish_all(const std::vector<ProgramRun>& runs);
    Window program_window();
    ::testing::AssertionResult shows_picture(Window w);

    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<XClient> client_;
    ScratchDir dir_;
};

// The instance's name, for the test names.
std::string gl_platform_name(const ::testing::TestParamInfo<GlProgramPlatform>& info);
