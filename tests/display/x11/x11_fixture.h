#pragma once
// A test that opens the program's screen through the X11 driver on an X
// server of its own, in this process.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "display/x11/x11_driver.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/console_end.h"
#include "runtime/runtime_context.h"
#include "support/gfx/page_drawing.h"
#include "support/gfx/posted_keys.h"
#include "support/gfx/screen_events.h"
#include "support/gfx/window_drivers.h"
#include "support/x11/x_server.h"

class X11ScreenTest : public ::testing::Test {
   protected:
    void SetUp() override {
        if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed: no X server to test against";
        runtime_init();
        save_env("DISPLAY", saved_display_);
        save_env("ZVGFX", saved_request_);
        setenv("ZVGFX", "x11", 1);
        key_queue() = KeyQueue{};
    }
    void TearDown() override {
        gfx_screen_close();
        client_.reset();
        server_.reset();
        restore_env("DISPLAY", saved_display_);
        restore_env("ZVGFX", saved_request_);
        key_queue() = KeyQueue{};
        console_end_reset();
    }

    // Starts the server and the test's connection to it, and points the
    // driver at it.
    void start_server(const std::string& screen = "1024x768x24") {
        server_ = std::make_unique<XvfbServer>(screen);
        ASSERT_TRUE(server_->running()) << "Xvfb did not start";
        client_ = std::make_unique<XClient>(server_->display());
        ASSERT_TRUE(client_->connected());
        setenv("DISPLAY", server_->display().c_str(), 1);
    }

    // The drivers the display layer registered, instead of the X11 driver
    // alone.
    void use_registered_drivers() { gfx_register_window_drivers(drivers_.previous()); }

    // The program's screen in a window; its window on the server.
    void open_window() {
        ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
        ASSERT_NE(g_gfx_screen, nullptr);
        ASSERT_EQ(g_gfx_screen->driver, &x11_driver);
        window_ = client_->find_window(title());
        ASSERT_NE(window_, 0u) << "no window named " << title();
    }

    static Rgb shown(uint32_t entry, int red_bits, int green_bits, int blue_bits) {
        auto cut = [](uint32_t c, int bits) { return static_cast<uint8_t>((c & 0xFF) >> (8 - bits) << (8 - bits)); };
        return {cut(entry, red_bits), cut(entry >> 8, green_bits), cut(entry >> 16, blue_bits)};
    }

    // The window shows the visible page through the device palette, each
    // channel cut to the bits the server's pixels have, each pixel a square
    // of `scale` window pixels.
    ::testing::AssertionResult shows_page(int red_bits = 8, int green_bits = 8, int blue_bits = 8, int scale = 1) {
        const GfxScreen* s = g_gfx_screen;
        std::string mismatch;
        bool same = wait_until(
            [&] {
                int width = 0, height = 0;
                std::vector<Rgb> got = client_->pixels(window_, &width, &height);
                if (width != s->width * scale || height != s->height * scale) {
                    mismatch = "window is " + std::to_string(width) + "x" + std::to_string(height);
                    return false;
                }
                for (int32_t y = 0; y < height; ++y)
                    for (int32_t x = 0; x < width; ++x) {
                        const uint8_t index = s->visible_pixels[y / scale * s->pitch + x / scale];
                        const Rgb want = shown(s->device_palette[index], red_bits, green_bits, blue_bits);
                        const Rgb have = got[static_cast<size_t>(y * width + x)];
                        if (!(have == want)) {
                            std::ostringstream out;
                            out << "pixel (" << x << ", " << y << ") is " << int(have.r) << "," << int(have.g) << ","
                                << int(have.b) << ", want " << int(want.r) << "," << int(want.g) << "," << int(want.b);
                            mismatch = out.str();
                            return false;
                        }
                    }
                return true;
            },
            std::chrono::seconds(3));
        return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << mismatch;
    }

    // The program's name, as the window is titled.
    static std::string title() {
        char path[256] = {};
        ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
        std::string name = n > 0 ? std::string(path, static_cast<size_t>(n)) : "";
        name = name.substr(name.rfind('/') + 1);
        size_t dot = name.rfind('.');
        return dot == std::string::npos ? name : name.substr(0, dot);
    }

    // The input focus on the program's window, as a click on it gives.
    void focus_window() { ASSERT_TRUE(client_->give_focus(window_)); }

    // Keys the window posted, `count` of them or what came within the time.
    static std::vector<int32_t> take_keys(size_t count, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::vector<int32_t> keys;
        wait_until(
            [&] {
                while (int32_t code = key_take()) keys.push_back(code);
                return keys.size() >= count;
            },
            limit);
        return keys;
    }

    // Events the window recorded since the last call.
    static std::vector<GfxEvent> take_events() { return take_screen_events(); }

    static bool has_event(const std::vector<GfxEvent>& events, int32_t type) {
        for (const GfxEvent& e : events)
            if (e.type == type) return true;
        return false;
    }

    ScopedWindowDrivers drivers_{&x11_driver};
    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<XClient> client_;
    Window window_ = 0;

   private:
    static void save_env(const char* name, std::optional<std::string>& into) {
        const char* value = std::getenv(name);
        if (value) into = value;
    }
    static void restore_env(const char* name, const std::optional<std::string>& value) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    std::optional<std::string> saved_display_;
    std::optional<std::string> saved_request_;
};
