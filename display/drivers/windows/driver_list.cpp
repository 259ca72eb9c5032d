#include "display/directx/dx_driver.h"
#include "display/gdi/gdi_driver.h"
#include "display/opengl/gl_driver.h"
#include "gfx/drivers.h"
#include "gfx/screen.h"

namespace {

// The window drivers of this platform, in the order they are tried.
const GfxDriver* const WINDOW_DRIVERS[] = {&dx_driver, &gdi_driver, &gl_driver, nullptr};

const bool g_registered = (gfx_register_window_drivers(WINDOW_DRIVERS), true);

}  // namespace
