#pragma once
// The OpenGL test program (tests/opengl/gl_program.cpp) on an X server of
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
#include <string>
#include <vector>

#include "display/x_server.h"
#include "opengl/gl_picture.h"
#include "support/program.h"

// The program's picture, top row first.
std::vector<Rgb> gl_program_picture();

// The output has this whole line.
bool has_line(const std::string& output, const std::string& line);

void expect_clean_exit(const ProgramResult& r);

class GlProgramTest : public ::testing::Test {
   protected:
    void SetUp() override;

    // How the platform starts the program with `args` on the test's server.
    virtual ProgramRun program(const std::vector<std::string>& args) const = 0;
    // The driver of a plain screen when no OpenGL screen opens.
    virtual std::string plain_driver() const = 0;
    // The keyboard to the window, as a click on it gives.
    virtual void take_focus(Window w);

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

    // What both platforms go through.
    // The picture reaches the window through the flip; a typed key, an
    // extended key and the close button reach the program through the
    // event handling that follows every flip.
    void draws_flips_and_gets_its_keys_and_the_close();
    // A second mode set takes the first window down, context and all, and
    // makes a new one that draws as well; keys go on arriving.
    void a_second_mode_set_makes_a_new_window();
    // A program that waits for a key without flipping still gets it: the
    // wait itself takes in the window's events.
    void a_key_wait_without_flips_gets_the_close();
    // A sample count no format has falls by two until one has it; the
    // multisample flag alone asks for four.
    void samples_fall_back_to_what_the_implementation_has();
    // The named driver is tried first, the others after it: an OpenGL
    // screen gets the OpenGL driver whatever the request names.
    void served_by_opengl_whatever_driver_is_named();

    // An OpenGL the driver must refuse: `prepare` changes the run so, and a
    // fake implementation says on the output when it was asked for its
    // extensions ("fake OpenGL: extensions asked").
    struct UnusableOpenGl {
        std::string what;
        std::function<void(ProgramRun&)> prepare;
        bool probed;
    };
    // The mode set goes on through its candidates and ends without a
    // screen; the program goes on, and its next, plain, screen gets the
    // plain driver. No OpenGL window is left behind.
    void without_a_usable_opengl_the_mode_set_goes_on(const std::vector<UnusableOpenGl>& cases);

    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<XClient> client_;
    ScratchDir dir_;
    std::chrono::seconds timeout_{60};
};
