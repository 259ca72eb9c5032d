#include "display/directx/dx_driver.h"
#include "display/gdi/gdi_driver.h"
#include "display/opengl/gl_driver.h"
#include "gfx/drivers.h"
#include "gfx/screen.h"

// The window drivers of this platform, in the order they are tried.
const GfxDriver* const gfx_window_drivers[] = {&dx_driver, &gdi_driver, &gl_driver, nullptr};
