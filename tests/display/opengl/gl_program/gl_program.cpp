// A program of the runtime that draws with OpenGL: it opens an OpenGL
// screen, clears it to a known colour, draws a known quad, reads the
// picture back and checks it, flips, and then (with --keys) keeps drawing
// and flipping while it reports the keys it gets, until the window is
// closed. Every step is reported on standard output, one line each, for
// the test that runs it. It uses only the runtime's interfaces and OpenGL
// through the entry points the runtime hands out, so that it builds for
// every platform.
//
//   gl_program [--keys] [--wait-key] [--again] [--samples N] [--flags F] [--fallback]
//
// --wait-key: after the first flip, wait for one key without flipping.
// --again: open the OpenGL screen and draw a second time (a new mode set).
// --fallback: when no OpenGL screen opens, open a plain screen instead and
// report which driver serves it.
#include <GL/gl.h>
#include <GL/glext.h>

#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "display/opengl/gl_driver.h"
#include "display/opengl/gl_options.h"
#include "display/opengl/gl_program/gl_picture.h"
#include "gfx/screen.h"
#include "runtime/console/console.h"
#include "runtime/console/key_codes.h"
#include "runtime/console_hooks.h"
#include "runtime/runtime_context.h"
#include "runtime/strings.h"

namespace {

constexpr int32_t WIDTH = GL_PROGRAM_WIDTH, HEIGHT = GL_PROGRAM_HEIGHT;

struct Args {
    bool keys = false;
    bool fallback = false;
    bool wait_key = false;
    bool again = false;
    int32_t samples = 0;
    int32_t flags = 0;
};

Args parse(int argc, char** argv) {
    Args a;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--keys")) a.keys = true;
        if (!std::strcmp(argv[i], "--fallback")) a.fallback = true;
        if (!std::strcmp(argv[i], "--wait-key")) a.wait_key = true;
        if (!std::strcmp(argv[i], "--again")) a.again = true;
        if (!std::strcmp(argv[i], "--samples") && i + 1 < argc) a.samples = std::atoi(argv[++i]);
        if (!std::strcmp(argv[i], "--flags") && i + 1 < argc)
            a.flags = static_cast<int32_t>(std::strtol(argv[++i], nullptr, 0));
    }
    return a;
}

void report(const char* format, ...) __attribute__((format(printf, 1, 2)));
void report(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::putchar('\n');
    std::fflush(stdout);
}

#define GL_USED(X)    \
    X(glViewport)     \
    X(glClearColor)   \
    X(glClear)        \
    X(glMatrixMode)   \
    X(glLoadIdentity) \
    X(glOrtho)        \
    X(glColor3ub)     \
    X(glBegin)        \
    X(glVertex2i)     \
    X(glEnd)          \
    X(glFinish)       \
    X(glReadPixels)   \
    X(glGetIntegerv)  \
    X(glGetError)

struct Gl {
#define GL_MEMBER(name) decltype(&::name) name;
    GL_USED(GL_MEMBER)
#undef GL_MEMBER
};

Gl gl;

bool load_gl() {
    bool all = true;
#define GL_RESOLVE(name)                                                       \
    gl.name = reinterpret_cast<decltype(gl.name)>(gl_get_proc_address(#name)); \
    if (!gl.name) {                                                            \
        report("gl: no %s", #name);                                            \
        all = false;                                                           \
    }
    GL_USED(GL_RESOLVE)
#undef GL_RESOLVE
    return all;
}

void draw() {
    gl.glViewport(0, 0, WIDTH, HEIGHT);
    gl.glClearColor(GL_PICTURE_CLEAR[0] / 255.0f, GL_PICTURE_CLEAR[1] / 255.0f, GL_PICTURE_CLEAR[2] / 255.0f, 1.0f);
    gl.glClear(GL_COLOR_BUFFER_BIT);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glOrtho(0, WIDTH, 0, HEIGHT, -1, 1);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
    gl.glColor3ub(GL_PICTURE_QUAD[0], GL_PICTURE_QUAD[1], GL_PICTURE_QUAD[2]);
    gl.glBegin(GL_QUADS);
    gl.glVertex2i(GL_QUAD_LEFT, GL_QUAD_BOTTOM);
    gl.glVertex2i(GL_QUAD_RIGHT, GL_QUAD_BOTTOM);
    gl.glVertex2i(GL_QUAD_RIGHT, GL_QUAD_TOP);
    gl.glVertex2i(GL_QUAD_LEFT, GL_QUAD_TOP);
    gl.glEnd();
    gl.glFinish();
}

// Every pixel of the back buffer against the picture.
void check_picture() {
    static uint8_t pixels[WIDTH * HEIGHT * 4];
    gl.glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    int wrong = 0, first = -1;
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            const uint8_t* want = gl_picture_in_quad(x, y) ? GL_PICTURE_QUAD : GL_PICTURE_CLEAR;
            const uint8_t* got = pixels + (y * WIDTH + x) * 4;
            if (std::memcmp(got, want, 3) != 0 && wrong++ == 0) first = y * WIDTH + x;
        }
    if (wrong == 0) return report("readback: ok");
    const uint8_t* got = pixels + first * 4;
    report("readback: %d wrong, first (%d, %d) = %d %d %d", wrong, first % WIDTH, first / WIDTH, got[0], got[1],
           got[2]);
}

// The page copy: on an OpenGL screen, the flip with the window's events.
void flip() {
    if (console_hooks().copy_page) console_hooks().copy_page(-1, -1);
}

// A key as its code: one byte, or 255 and the scan code.
int32_t take_key() {
    StringDesc* k = inkey();
    const uint64_t n = string_length(k);
    int32_t code = 0;
    if (n == 1) code = k->data[0];
    if (n == 2) code = k->data[1] * 256 + 255;
    temp_string_release(k);
    return code;
}

// Keeps drawing and flipping, as a program's frame loop does, reporting
// keys until the window is closed (or a minute is over).
void frame_loop() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < end) {
        draw();
        flip();
        for (int32_t code = take_key(); code != 0; code = take_key()) {
            report("key: %d", code);
            if (code == KEY_CLOSE) return report("closed");
        }
    }
    report("no close within a minute");
}

void fall_back() {
    if (gfx_screen_res(WIDTH, HEIGHT, 8, 1, 0, 0) != ERR_NONE) return report("fallback: none");
    report("fallback: %s", g_gfx_screen->driver->name);
}

// Opens the OpenGL screen and draws, checks and flips one picture: false
// when no OpenGL screen opens or its entry points are missing.
bool open_and_draw(const Args& args) {
    if (gfx_screen_res(WIDTH, HEIGHT, 32, 1, SCREEN_OPENGL | args.flags, 0) != ERR_NONE) {
        report("screen: none");
        return false;
    }
    report("screen: %s", g_gfx_screen->driver->name);
    if (!load_gl()) return false;
    GLint samples = 0;
    gl.glGetIntegerv(GL_SAMPLES, &samples);
    report("samples: %d", samples);
    draw();
    check_picture();
    flip();
    report("flipped");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    runtime_static_init();
    runtime_start(argc, argv, 0);
    const Args args = parse(argc, argv);
    gl_options().samples = args.samples;
    for (int32_t round = 0; round < (args.again ? 2 : 1); ++round) {
        if (open_and_draw(args)) continue;
        if (args.fallback) fall_back();
        runtime_end(0);
    }
    if (args.keys) frame_loop();
    if (args.wait_key) report("waited for key: %d", getkey());
    report("gl errors: %d", static_cast<int>(gl.glGetError()));
    runtime_end(0);
}
