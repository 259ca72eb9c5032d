#pragma once
// Checks the window drivers' tests share.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>

#include "gfx/screen.h"

// The driver's mode list for `depth` holds width x height.
inline bool modes_include(const GfxDriver& driver, int32_t depth, int32_t width, int32_t height) {
    int32_t count = -1;
    int32_t* modes = driver.fetch_modes(depth, &count);
    bool found = false;
    for (int32_t i = 0; modes && i < count; ++i) found = found || modes[i] == (width << 16 | height);
    std::free(modes);
    return found;
}

// After the window system went away: drawing goes on in memory, and the
// screen closes at once.
inline void expect_drawing_goes_on_and_the_close_is_quick() {
    gfx_lock();
    g_gfx_screen->visible_pixels[0] = 1;
    gfx_unlock(0, 0);
    const auto start = std::chrono::steady_clock::now();
    gfx_screen_close();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// Without its window system the driver refuses at once, and its exit after
// the refusal does nothing that waits.
inline void expect_init_fails_at_once(const GfxDriver& driver) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(driver.init("t", 512, 512, 8, 0, 0), -1);
    driver.exit();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}
