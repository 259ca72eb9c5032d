#include "gfx/gfx_mouse.h"

#include "gfx/screen.h"

ErrorCode gfx_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) {
    GfxScreen* s = g_gfx_screen;
    int32_t values[5] = {-1, -1, -1, -1, -1};
    int32_t result = -1;
    if (s && s->driver && s->driver->get_mouse) {
        gfx_lock();
        result = s->driver->get_mouse(&values[0], &values[1], &values[2], &values[3], &values[4]);
        gfx_unlock(1, 0);
        if (result != 0) values[0] = values[1] = values[2] = values[3] = values[4] = -1;
    }
    int32_t* outs[5] = {x, y, wheel, buttons, clip};
    for (int i = 0; i < 5; ++i)
        if (outs[i]) *outs[i] = values[i];
    return set_last_error(result == 0 ? ERR_NONE : ERR_INVALID_CALL);
}

ErrorCode gfx_set_mouse(int32_t x, int32_t y, int32_t cursor, int32_t clip) {
    GfxScreen* s = g_gfx_screen;
    if (!s || !s->driver || !s->driver->set_mouse) return set_last_error(ERR_INVALID_CALL);
    gfx_lock();
    s->driver->set_mouse(x, y, cursor, clip);
    gfx_unlock(1, 0);
    return set_last_error(ERR_NONE);
}
