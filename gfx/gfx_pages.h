#pragma once
#include <cstdint>

// Page operations (hooks 26, 27): copy one page onto another; choose the
// page drawn on and the page shown (a negative number keeps the current).
// Both answer 0, or -1 for a page that does not exist. On a driver with a
// flip (OpenGL) the page copy is the flip followed by the driver's event
// handling, whatever the pages, and answers 0.
int32_t gfx_copy_page(int32_t from, int32_t to);
int32_t gfx_set_pages(int32_t work, int32_t visible);
