#pragma once
// What the end-to-end tests of the program in a window share: the picture
// the window must show, and a user at an X server of the test's own who
// types and looks.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "support/scratch_dir.h"
#include "support/x11/x_server.h"

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

    // Waits until the window shows the 512 x 512 picture (or its top left
    // corner of `columns` x `rows` pixels), each pixel a square of `scale`
    // window pixels; describes the difference when it never does.
    ::testing::AssertionResult shows(Window w, const std::vector<Rgb>& want,
                                     std::chrono::milliseconds limit = std::chrono::seconds(20), size_t columns = 512,
                                     size_t rows = 512, int scale = 1);

    // "Rate? " and `typed` characters are on the screen: the line editor
    // has taken those keys from the key queue.
    void wait_for_echo(Window w, const std::vector<Rgb>& picture, size_t typed);

    // The files are written: the program is at the key drain and the final
    // wait. A key that comes before the drain is over is drained.
    void wait_for_final_wait();

    // The user's part of runs every window goes through, on a window that
    // takes keys; each ends the run.
    // The close button while the rate is typed changes nothing; at the
    // final wait it ends the run. Rate 128.
    void close_at_the_prompt_and_at_the_end(Window w, int pid);
    // Keys pressed with Enter and right after it, and the close button while
    // the shapes are computed, are drained before the final wait; only a key
    // pressed afterwards ends the run. Rate 128.
    void keys_during_the_run(Window w, int pid);
    // The window loses the keyboard in the middle of the line and gets it
    // back: "12", a "9" typed into another window, "8", Enter. Rate 128.
    void focus_loss_mid_line(Window w);
    // A flood of editing keys, more than the key queue holds, and editing
    // across the line: "128", the cursor to its start, "-" before it.
    // Rate -128.
    void editing_with_a_key_flood(Window w);

    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<XClient> client_;
    ScratchDir dir_;  // where the program runs and writes its files
};
