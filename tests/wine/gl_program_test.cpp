// The cross-built OpenGL test program (tests/opengl/gl_program.cpp) under
// Wine, on an X server of the test's own: Wine's opengl32 draws through
// that server's GLX, Mesa's software renderer. The same user and the same
// checks as for the Linux program.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <string>
#include <vector>

#include "support/gl_program_fixture.h"

namespace {

// Wine's own setting (tools/wine-run.sh) and the load order of opengl32.
const std::string WINE_DLLS = "mscoree,mshtml=";

class WineOpenGlProgram : public GlProgramTest {
   protected:
    void SetUp() override {
        timeout_ = std::chrono::seconds(90);  // Wine starts slowly the first time
        GlProgramTest::SetUp();
    }

    ProgramRun program(const std::vector<std::string>& args) const override {
        ProgramRun r;
        r.command = {WINE_RUN, WT_GL_PROGRAM_EXE};
        r.command.insert(r.command.end(), args.begin(), args.end());
        r.env["WT_WINE_DISPLAY"] = server_->display();
        return r;
    }

    std::string plain_driver() const override { return "GDI"; }

    // Without a window manager the keyboard follows the pointer too.
    void take_focus(Window w) override {
        server_->xdotool({"mousemove", "--window", std::to_string(w), "32", "24"});
        GlProgramTest::take_focus(w);
    }
};

TEST_F(WineOpenGlProgram, DrawsFlipsAndGetsItsKeysAndTheClose) { draws_flips_and_gets_its_keys_and_the_close(); }

TEST_F(WineOpenGlProgram, ASecondModeSetMakesANewWindow) { a_second_mode_set_makes_a_new_window(); }

TEST_F(WineOpenGlProgram, AKeyWaitWithoutFlipsGetsTheClose) { a_key_wait_without_flips_gets_the_close(); }

TEST_F(WineOpenGlProgram, SamplesFallBackToWhatTheImplementationHas) {
    samples_fall_back_to_what_the_implementation_has();
}

TEST_F(WineOpenGlProgram, ServedByOpenGlWhateverDriverIsNamed) { served_by_opengl_whatever_driver_is_named(); }

// An opengl32.dll beside the program whose OpenGL lacks GL_EXT_bgra, and
// no opengl32.dll at all. Windows loads the one beside the program before
// its own; Wine does so only when told to prefer native libraries for it.
TEST_F(WineOpenGlProgram, WithoutAUsableOpenGlTheModeSetGoesOn) {
    ScratchDir beside;
    const std::string copy = beside.file("gl_program.exe");
    write_file(copy, read_file(WT_GL_PROGRAM_EXE));
    write_file(beside.file("opengl32.dll"), read_file(WT_FAKE_OPENGL32));
    without_a_usable_opengl_the_mode_set_goes_on({
        // Wine's DirectDraw draws with opengl32 as well and would take this
        // one, which lacks what it calls (Windows' DirectDraw does not use
        // opengl32): DirectDraw is off here, and "GDI" takes the plain screen.
        {"no GL_EXT_bgra",
         [&](ProgramRun& r) {
             r.command[1] = copy;
             r.env["WINEDLLOVERRIDES"] = WINE_DLLS + ";opengl32=n,b;ddraw=";
         },
         true},
        {"opengl32.dll missing", [&](ProgramRun& r) { r.env["WINEDLLOVERRIDES"] = WINE_DLLS + ";opengl32="; },
         false},
    });
}

}  // namespace
