#include <cstdlib>

#include "gfx/drivers.h"
#include "gfx/screen.h"
#include "runtime/strings.h"

namespace {

const GfxDriver* const NO_DRIVERS[] = {nullptr};

// Written before main by the display layer's registration, read after.
constinit const GfxDriver* const* g_window_drivers = NO_DRIVERS;

bool try_driver(const GfxDriver* d, const char* title, int32_t width, int32_t height, int32_t depth,
                int32_t refresh_rate, int32_t flags) {
    if (!d->init) return false;
    if (d->init(title, width, height, depth, refresh_rate, flags) == 0) return true;
    if (d->exit) d->exit();
    if (d->init(title, width, height, depth, 0, flags) == 0) return true;
    if (d->exit) d->exit();
    return false;
}

}  // namespace

void gfx_register_window_drivers(const GfxDriver* const* drivers) { g_window_drivers = drivers ? drivers : NO_DRIVERS; }

const GfxDriver* const* gfx_window_drivers() { return g_window_drivers; }

const GfxDriver* gfx_choose_driver(const GfxDriver* const* drivers, const char* title, int32_t width, int32_t height,
                                   int32_t depth, int32_t refresh_rate, int32_t flags) {
    if (flags == SCREEN_NULL) return &null_driver;
    const char* request = std::getenv("ZVGFX");
    if (request && ascii_equal_ignoring_case(request, "null")) return &null_driver;
    int32_t passes = request ? 4 : 2;
    for (int32_t pass = passes; pass >= 1; --pass) {
        bool named_only = request && pass % 2 == 0;
        for (const GfxDriver* const* d = drivers; *d; ++d) {
            if (named_only && !ascii_equal_ignoring_case((*d)->name, request)) continue;
            if (try_driver(*d, title, width, height, depth, refresh_rate, flags)) return *d;
        }
        // A window falls back to full screen and back again.
        if (!request || pass == 3) flags ^= SCREEN_FULLSCREEN;
    }
    return nullptr;
}
