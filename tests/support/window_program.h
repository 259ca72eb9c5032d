#pragma once
// What the end-to-end tests of the program in a window share: the picture
// the window must show, and a user at an X server of the test's own who
// types and looks.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "display/x_server.h"

// The picture at the final wait after `typed` and Enter, made by the same
// steps on the in-memory screen of this process.
std::vector<Rgb> final_picture(const std::string& typed);

// A test with an X server of its own and a user at it.
class WindowProgramTest : public ::testing::Test {
   protected:
    void SetUp() override {
        if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed: no X server to test against";
    }

    void start_server(const std::string& screen = "1024x768x24");

    // Text and named keys typed on the server's keyboard, 30 ms apart.
    void type(const std::string& text);
    void keys(const std::vector<std::string>& names);

    // Waits until the 512 x 512 window shows the picture (or its top left
    // corner of `columns` x `rows` pixels); describes the difference when
    // it never does.
    ::testing::AssertionResult shows(Window w, const std::vector<Rgb>& want,
                                     std::chrono::milliseconds limit = std::chrono::seconds(20), size_t columns = 512,
                                     size_t rows = 512);

    // "Rate? " and `typed` characters are on the screen: the line editor
    // has taken those keys from the key queue.
    void wait_for_echo(Window w, const std::vector<Rgb>& picture, size_t typed);

    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<XClient> client_;
};
