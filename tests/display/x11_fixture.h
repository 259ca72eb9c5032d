#pragma once
// A test that opens the program's screen through the X11 driver on an X
// server of its own, in this process.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/x11/x11_driver.h"
#include "display/x_server.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console_end.h"
#include "runtime/runtime_context.h"
#include "support/posted_keys.h"
#include "support/screen_events.h"

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

    // The program's screen in a window; its window on the server.
    void open_window() {
        ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
        ASSERT_NE(g_gfx_screen, nullptr);
        ASSERT_EQ(g_gfx_screen->driver, &x11_driver);
        window_ = client_->find_window(title());
        ASSERT_NE(window_, 0u) << "no window named " << title();
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
