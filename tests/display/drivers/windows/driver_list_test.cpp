// The drivers the display layer hands the screen on Windows, in the order
// they are tried, and the request that names one of them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "display/directx/dx_driver.h"
#include "display/gdi/gdi_driver.h"
#include "gfx/drivers.h"
#include "gfx/screen.h"
#include "runtime/runtime_context.h"
#include "support/windows/wine_desktop.h"

namespace {

std::vector<std::string> driver_names() {
    std::vector<std::string> names;
    for (const GfxDriver* const* d = gfx_window_drivers(); *d; ++d) names.push_back((*d)->name);
    return names;
}

TEST(WindowsDriverList, DirectXThenGdiThenOpenGl) {
    EXPECT_EQ(driver_names(), (std::vector<std::string>{"DirectX", "GDI", "OpenGL"}));
}

// "ZVGFX" picks "GDI" by name, and "DirectX" in any case.
TEST(WindowsDriverList, TheRequestNamesTheDriver) {
    if (wine_without_display()) GTEST_SKIP() << "Wine has no X display (set WT_WINE_DISPLAY)";
    runtime_init();
    _putenv_s("ZVGFX", "gdi");
    ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
    EXPECT_EQ(g_gfx_screen->driver, &gdi_driver);
    _putenv_s("ZVGFX", "DIRECTX");
    ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
    EXPECT_EQ(g_gfx_screen->driver, &dx_driver);
    _putenv_s("ZVGFX", "");
    ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
    EXPECT_EQ(g_gfx_screen->driver, &dx_driver);
    gfx_screen_close();
}

}  // namespace
