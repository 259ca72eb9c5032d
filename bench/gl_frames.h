#pragma once
// The frames the OpenGL flip measurements present, on every platform: an
// OpenGL screen of side x side pixels, and a new picture each frame (the
// back buffer cleared to a colour that alternates), so that every flip
// has something to present.
#include <GL/gl.h>

#include <cstdint>

#include "display/opengl/gl_driver.h"
#include "gfx/gfx_pages.h"
#include "gfx/screen.h"
#include "runtime/runtime_context.h"

struct GlFrames {
    decltype(&::glClearColor) clear_color = nullptr;
    decltype(&::glClear) clear = nullptr;
    decltype(&::glFinish) finish = nullptr;

    // False when no OpenGL screen opens or its entry points are missing.
    bool open(int32_t side) {
        runtime_init();
        if (gfx_screen_res(side, side, 32, 1, SCREEN_OPENGL, 0) != ERR_NONE || !g_gfx_screen->driver->flip)
            return false;
        clear_color = reinterpret_cast<decltype(clear_color)>(gl_get_proc_address("glClearColor"));
        clear = reinterpret_cast<decltype(clear)>(gl_get_proc_address("glClear"));
        finish = reinterpret_cast<decltype(finish)>(gl_get_proc_address("glFinish"));
        return clear_color && clear && finish;
    }

    void draw(int64_t frame) const {
        clear_color(static_cast<float>(frame & 1), 0.5f, 0.25f, 1.0f);
        clear(GL_COLOR_BUFFER_BIT);
    }

    void close() const {
        if (finish) finish();
        gfx_screen_close();
    }
};
