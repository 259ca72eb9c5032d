#include "support/posix/window_program.h"

#include "support/posix/program.h"
#include "support/scoped_env.h"
#include "support/wave_files.h"

#include <signal.h>

#include <sstream>
#include <thread>

#include "generator/run.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/line_input.h"
#include "runtime/numeric_input.h"
#include "runtime/runtime_context.h"
#include "runtime/strings.h"

std::vector<Rgb> final_picture(const std::string& typed) {
    runtime_init();
    ScopedEnv in_memory("ZVGFX", "null");
    key_queue() = KeyQueue{};
    std::vector<Rgb> picture;
    if (gfx_screen_res(512, 512, 8, 4, 0, 0) == ERR_NONE) {
        for (unsigned char c : typed) key_post(c);
        key_post(13);
        line_input(temp_string_from_literal("Rate? ", 6), 0, -1);
        int16_t rate = 0;
        input_short(&rate);
        generate_waves(rate);
        const GfxScreen* s = g_gfx_screen;
        for (int32_t i = 0; i < s->width * s->height; ++i) {
            const uint32_t c = s->device_palette[s->visible_pixels[i]];
            picture.push_back({static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)});
        }
    }
    gfx_screen_close();
    key_queue() = KeyQueue{};
    return picture;
}

void WindowProgramTest::start_server(const std::string& screen) {
    server_ = std::make_unique<XvfbServer>(screen);
    ASSERT_TRUE(server_->running()) << "Xvfb did not start";
    client_ = std::make_unique<XClient>(server_->display());
    ASSERT_TRUE(client_->connected());
}

void WindowProgramTest::type(const std::string& text) { server_->xdotool({"type", "--delay", "30", text}); }

void WindowProgramTest::keys(const std::vector<std::string>& names) {
    std::vector<std::string> args = {"key", "--delay", "30"};
    args.insert(args.end(), names.begin(), names.end());
    server_->xdotool(args);
}

::testing::AssertionResult WindowProgramTest::shows(Window w, const std::vector<Rgb>& want,
                                                    std::chrono::milliseconds limit, size_t columns, size_t rows,
                                                    int scale) {
    std::string difference = "no picture";
    const size_t side = 512 * static_cast<size_t>(scale);
    const bool same = wait_until(
        [&] {
            int width = 0, height = 0;
            const std::vector<Rgb> got = client_->pixels(w, &width, &height);
            if (got.size() != side * side) {
                difference = "the window is " + std::to_string(width) + " x " + std::to_string(height);
                return false;
            }
            size_t wrong = 0, first = 0;
            for (size_t i = 0; i < got.size(); ++i) {
                const size_t x = i % side / scale, y = i / side / scale;
                if (x < columns && y < rows && !(got[i] == want[y * 512 + x]) && wrong++ == 0) first = i;
            }
            std::ostringstream out;
            out << wrong << " pixels differ, the first at (" << first % side << ", " << first / side << ")";
            difference = out.str();
            return wrong == 0;
        },
        limit);
    return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << difference;
}

void WindowProgramTest::wait_for_final_wait() {
    EXPECT_TRUE(wait_until([&] { return wave_files_complete(dir_.path()); }, std::chrono::seconds(30)));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

void WindowProgramTest::wait_for_echo(Window w, const std::vector<Rgb>& picture, size_t typed) {
    EXPECT_TRUE(shows(w, picture, std::chrono::seconds(20), (6 + typed) * 8, 8));
}

void WindowProgramTest::close_at_the_prompt_and_at_the_end(Window w, int pid) {
    const std::vector<Rgb> picture = final_picture("128");
    type("12");
    wait_for_echo(w, final_picture("12"), 2);
    client_->send_close(w);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(client_->exists(w));
    type("8");
    keys({"Return"});
    EXPECT_TRUE(shows(w, picture));
    wait_for_final_wait();
    EXPECT_TRUE(process_running(pid));
    client_->send_close(w);
}

void WindowProgramTest::keys_during_the_run(Window w, int pid) {
    const std::vector<Rgb> picture = final_picture("128");
    type("128");
    wait_for_echo(w, picture, 3);  // the queue has room for the burst
    // The run takes milliseconds: keys sent while the program goes on could
    // as well come after the drain, which would end the final wait. So the
    // program is held while the burst and the close reach its connection;
    // its next refresh pass posts them all before the line editor, waiting
    // for that pass's lock, can take the Enter.
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    server_->xdotool({"key", "--delay", "0", "Return", "a", "b", "c", "d", "e", "f", "g", "Up", "F1", "x", "y"});
    client_->send_close(w);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the server delivers while the program waits
    ASSERT_EQ(kill(pid, SIGCONT), 0);
    EXPECT_TRUE(shows(w, picture));
    wait_for_final_wait();
    EXPECT_TRUE(process_running(pid)) << "a key typed during the run ended the final wait";
    keys({"Escape"});
}

void WindowProgramTest::focus_loss_mid_line(Window w) {
    type("12");
    wait_for_echo(w, final_picture("12"), 2);
    client_->focus_elsewhere();
    type("9");  // goes to the other window
    EXPECT_TRUE(client_->give_focus(w));
    type("8");
    wait_for_echo(w, final_picture("128"), 3);
    keys({"Return"});
    EXPECT_TRUE(shows(w, final_picture("128")));
    wait_for_final_wait();
    keys({"space"});
}

void WindowProgramTest::editing_with_a_key_flood(Window w) {
    type("128");
    wait_for_echo(w, final_picture("128"), 3);
    server_->xdotool({"key", "--delay", "0", "--repeat", "100", "Left"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    keys({"Home", "minus", "End", "Return"});
    EXPECT_TRUE(shows(w, final_picture("-128")));
    wait_for_final_wait();
    keys({"space"});
}
