#include "display/opengl/gl_driver.h"
#include "display/wayland/wl_driver.h"
#include "display/x11/x11_driver.h"
#include "gfx/drivers.h"
#include "gfx/screen.h"

namespace {

// The window drivers of this platform, in the order they are tried.
// Wayland first: where a compositor runs it serves; X11 (through XWayland
// there) and OpenGL otherwise.
const GfxDriver* const WINDOW_DRIVERS[] = {&wl_driver, &x11_driver, &gl_driver, nullptr};

const bool g_registered = (gfx_register_window_drivers(WINDOW_DRIVERS), true);

}  // namespace
