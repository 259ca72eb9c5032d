#pragma once
// A test that opens the program's screen through the Wayland driver on a
// compositor of its own, in this process.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "display/wayland/wl_app_id.h"
#include "display/wayland/wl_driver.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/console_end.h"
#include "runtime/runtime_context.h"
#include "support/gfx/posted_keys.h"
#include "support/gfx/screen_events.h"
#include "support/gfx/window_drivers.h"
#include "support/posix/wayland_session.h"
#include "support/scoped_env.h"

class WlScreenTest : public ::testing::Test {
   protected:
    void SetUp() override {
        if (!SwaySession::installed()) GTEST_SKIP() << "sway, grim or wtype is not installed";
        runtime_init();
        key_queue() = KeyQueue{};
    }
    void TearDown() override {
        gfx_screen_close();
        sway_.reset();
        key_queue() = KeyQueue{};
        console_end_reset();
    }

    void start_sway(int scale = 1) {
        sway_ = std::make_unique<SwaySession>(scale);
        ASSERT_TRUE(sway_->running()) << "sway did not start:\n" << sway_->log();
        sway_->use_in_this_process();
    }

    // The program's screen in a window, its window as sway lays it out.
    void open_window(int32_t flags = 0) {
        ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, flags, 0), ERR_NONE);
        ASSERT_NE(g_gfx_screen, nullptr);
        ASSERT_EQ(g_gfx_screen->driver, &wl_driver);
        window_ = sway_->wait_for_window(WL_APP_ID);
        ASSERT_TRUE(window_.found) << "no window of app_id " << WL_APP_ID;
    }

    // The window shows the visible page through the device palette, each
    // pixel as a square of `scale` device pixels, within the time.
    ::testing::AssertionResult shows_page() {
        const GfxScreen* s = g_gfx_screen;
        const int scale = sway_->scale();
        std::string mismatch;
        const bool same = wait_until(
            [&] {
                window_ = sway_->window(WL_APP_ID);
                const Screenshot shot = sway_->grim(window_.x, window_.y, s->width, s->height);
                if (shot.width != s->width * scale || shot.height != s->height * scale) {
                    mismatch = "screenshot is " + std::to_string(shot.width) + "x" + std::to_string(shot.height);
                    return false;
                }
                gfx_lock();
                for (int y = 0; y < shot.height; ++y)
                    for (int x = 0; x < shot.width; ++x) {
                        const uint32_t c = s->device_palette[s->visible_pixels[(y / scale) * s->pitch + x / scale]];
                        const Rgb want{static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                                       static_cast<uint8_t>(c >> 16)};
                        if (!(shot.at(x, y) == want)) {
                            std::ostringstream out;
                            out << "device pixel (" << x << ", " << y << ") differs";
                            mismatch = out.str();
                            gfx_unlock(1, 0);
                            return false;
                        }
                    }
                gfx_unlock(1, 0);
                return true;
            },
            std::chrono::seconds(5));
        return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << mismatch;
    }

    static bool has_event(const std::vector<GfxEvent>& events, int32_t type) {
        for (const GfxEvent& e : events)
            if (e.type == type) return true;
        return false;
    }

    bool key_state(int32_t scan) {
        gfx_lock();
        const bool down = g_gfx_screen->key_states[scan] != 0;
        gfx_unlock(1, 0);
        return down;
    }

    ScopedWindowDrivers drivers_{&wl_driver};

    std::unique_ptr<SwaySession> sway_;
    SwayWindow window_;
};
