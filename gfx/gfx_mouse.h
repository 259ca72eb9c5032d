#pragma once
#include <cstdint>

#include "runtime/error.h"

// Mouse query and placement through the display driver (hooks 16, 17).
ErrorCode gfx_get_mouse(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip);
ErrorCode gfx_set_mouse(int32_t x, int32_t y, int32_t cursor, int32_t clip);
