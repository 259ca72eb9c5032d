#include "display/opengl/gl_driver.h"
#include "display/wayland/wl_driver.h"
#include "display/x11/x11_driver.h"
#include "gfx/drivers.h"
#include "gfx/screen.h"

// The window drivers of this platform, in the order they are tried.
// Wayland first: where a compositor is named it serves, X11 (through
// XWayland there) and OpenGL otherwise.
const GfxDriver* const gfx_window_drivers[] = {&wl_driver, &x11_driver, &gl_driver, nullptr};
