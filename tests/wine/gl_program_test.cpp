// The cross-built OpenGL test program (tests/display/opengl/gl_program/)
// under Wine, on an X server of the test's own: Wine's opengl32 draws
// through that server's GLX, Mesa's software renderer. The shared suite,
// instantiated for Wine.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <string>
#include <vector>

#include "support/posix/opengl_program_suite.h"

namespace {

// Wine's own setting (tools/wine-run.sh) and the load order of opengl32.
const std::string WINE_DLLS = "mscoree,mshtml=";

ProgramRun wine_program(const std::string& display, const std::vector<std::string>& args) {
    ProgramRun r;
    r.command = {WINE_RUN, WT_GL_PROGRAM_EXE};
    r.command.insert(r.command.end(), args.begin(), args.end());
    r.env["WT_WINE_DISPLAY"] = display;
    return r;
}

// An opengl32.dll beside the program whose OpenGL lacks GL_EXT_bgra, and
// no opengl32.dll at all. Windows loads the one beside the program before
// its own; Wine does so only when told to prefer native libraries for it.
std::vector<GlProgramPlatform::UnusableOpenGl> wine_unusable(const ScratchDir& dir) {
    const std::string copy = dir.file("gl_program.exe");
    write_file(copy, read_file(WT_GL_PROGRAM_EXE));
    write_file(dir.file("opengl32.dll"), read_file(WT_FAKE_OPENGL32));
    return {
        // Wine's DirectDraw draws with opengl32 as well and would take this
        // one, which lacks what it calls (Windows' DirectDraw does not use
        // opengl32): DirectDraw is off here, and "GDI" takes the plain screen.
        {"no GL_EXT_bgra",
         [copy](ProgramRun& r) {
             r.command[1] = copy;
             r.env["WINEDLLOVERRIDES"] = WINE_DLLS + ";opengl32=n,b;ddraw=";
         },
         true},
        {"opengl32.dll missing", [](ProgramRun& r) { r.env["WINEDLLOVERRIDES"] = WINE_DLLS + ";opengl32="; }, false},
    };
}

GlProgramPlatform wine_platform() {
    GlProgramPlatform p;
    p.name = "Wine";
    p.program = wine_program;
    p.plain_driver = "GDI";
    p.focus_follows_pointer = true;
    p.timeout = std::chrono::seconds(90);  // Wine starts slowly the first time
    p.unusable = wine_unusable;
    return p;
}

INSTANTIATE_TEST_SUITE_P(Wine, OpenGlProgram, ::testing::Values(wine_platform()), gl_platform_name);

}  // namespace
