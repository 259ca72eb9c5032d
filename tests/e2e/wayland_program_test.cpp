// The real program in a window on a compositor of the test's own, driven
// the way a user would drive it: on sway at scale 1 and 2, and on weston,
// which draws no frames for its clients.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <sstream>
#include <string>
#include <thread>

#include "display/wayland/wl_app_id.h"
#include "support/posix/program.h"
#include "support/posix/wayland_session.h"
#include "support/posix/window_program.h"
#include "support/wave_files.h"

namespace {

using namespace std::chrono_literals;

class WlProgram : public ::testing::Test {
   protected:
    void SetUp() override {
        if (!SwaySession::installed()) GTEST_SKIP() << "sway, grim or wtype is not installed";
    }

    void start_sway(int scale = 1) {
        sway_ = std::make_unique<SwaySession>(scale);
        ASSERT_TRUE(sway_->running()) << "sway did not start:\n" << sway_->log();
    }

    // Runs the program against the compositor (and an X server when the
    // test has one); `user` acts while it runs.
    ProgramResult run(const std::function<void(int pid)>& user, EnvChanges env = {}) {
        ProgramRun r;
        r.directory = dir_.path();
        r.env = sway_ ? sway_->client_env() : EnvChanges{};
        r.env["ZVGFX"] = std::nullopt;
        for (const auto& [name, value] : env) r.env[name] = value;
        r.timeout = 60s;
        r.while_running = user;
        return run_program(r);
    }

    SwayWindow program_window() {
        const SwayWindow w = sway_->wait_for_window(WL_APP_ID);
        EXPECT_TRUE(w.found) << "no window of app_id " << WL_APP_ID;
        return w;
    }

    void type(const std::string& text) { EXPECT_TRUE(sway_->wtype({"-d", "30", text})); }
    void key(const std::string& name) { EXPECT_TRUE(sway_->wtype({"-k", name})); }

    // The window shows `want` (or its top left `columns` x `rows`), each
    // picture pixel a square of device pixels of the output's scale.
    ::testing::AssertionResult shows(const std::vector<Rgb>& want, size_t columns = 512, size_t rows = 512) {
        const int scale = sway_->scale();
        std::string difference = "no picture";
        const bool same = wait_until(
            [&] {
                const SwayWindow w = sway_->window(WL_APP_ID);
                const Screenshot shot = sway_->grim(w.x, w.y, 512, 512);
                if (shot.width != 512 * scale || shot.height != 512 * scale) return false;
                size_t wrong = 0, first = 0;
                for (int y = 0; y < shot.height; ++y)
                    for (int x = 0; x < shot.width; ++x) {
                        const size_t i = static_cast<size_t>(y / scale) * 512 + static_cast<size_t>(x / scale);
                        if (i % 512 < columns && i / 512 < rows && !(shot.at(x, y) == want[i]) && wrong++ == 0)
                            first = static_cast<size_t>(y) * shot.width + x;
                    }
                std::ostringstream out;
                out << wrong << " device pixels differ, the first at (" << first % shot.width << ", "
                    << first / shot.width << ")";
                difference = out.str();
                return wrong == 0;
            },
            20s);
        return same ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << difference;
    }

    void wait_for_echo(const std::vector<Rgb>& picture, size_t typed) {
        EXPECT_TRUE(shows(picture, (6 + typed) * 8, 8));
    }

    void wait_for_final_wait() {
        EXPECT_TRUE(wait_until([&] { return wave_files_complete(dir_.path()); }, 30s));
        std::this_thread::sleep_for(300ms);
    }

    void expect_files_for_rate(int16_t rate) { EXPECT_EQ(check_wave_files(dir_.path(), rate), ""); }

    static void expect_clean_exit(const ProgramResult& r) {
        EXPECT_FALSE(r.timed_out);
        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.exit_status, 0) << r.errors;
        EXPECT_EQ(r.output + r.errors, "");  // nothing is logged
    }

    std::unique_ptr<SwaySession> sway_;
    ScratchDir dir_;
};

// Typing 128 and Enter: the picture is the in-memory screen's, pixel for
// pixel, at scale 1 and as 2 x 2 blocks at scale 2; the files bit-exact.
TEST_F(WlProgram, TypedRateRunsTheGeneratorAtScaleOneAndTwo) {
    const std::vector<Rgb> picture = final_picture("128");
    for (int scale : {1, 2}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        start_sway(scale);
        const ProgramResult r = run([&](int pid) {
            const SwayWindow w = program_window();
            EXPECT_EQ(w.title, "wavetable");
            EXPECT_EQ(w.width, 512);
            EXPECT_TRUE(w.inhibit_idle);
            type("128");
            key("Return");
            EXPECT_TRUE(shows(picture));
            wait_for_final_wait();
            EXPECT_TRUE(process_running(pid));  // waiting for the key
            key("space");
        });
        expect_clean_exit(r);
        expect_files_for_rate(128);
        sway_.reset();
    }
}

TEST_F(WlProgram, CloseRequestAtThePromptChangesNothingAndAtTheEndEndsTheRun) {
    start_sway();
    const ProgramResult r = run([&](int pid) {
        program_window();
        type("12");
        wait_for_echo(final_picture("12"), 2);
        EXPECT_TRUE(sway_->close(WL_APP_ID));
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(sway_->window(WL_APP_ID).found);
        type("8");
        key("Return");
        EXPECT_TRUE(shows(final_picture("128")));
        wait_for_final_wait();
        EXPECT_TRUE(process_running(pid));
        EXPECT_TRUE(sway_->close(WL_APP_ID));
    });
    expect_clean_exit(r);
    expect_files_for_rate(128);
}

// The window loses the keyboard in the middle of the line and gets it
// back: "12", a "9" typed while no window has the keyboard, "8", Enter.
TEST_F(WlProgram, FocusLossMidLine) {
    start_sway();
    const ProgramResult r = run([&](int) {
        program_window();
        type("12");
        wait_for_echo(final_picture("12"), 2);
        EXPECT_TRUE(sway_->leave_workspace());
        type("9");
        EXPECT_TRUE(sway_->return_to_workspace());
        EXPECT_TRUE(sway_->focus(WL_APP_ID));
        type("8");
        wait_for_echo(final_picture("128"), 3);
        key("Return");
        EXPECT_TRUE(shows(final_picture("128")));
        wait_for_final_wait();
        key("space");
    });
    expect_clean_exit(r);
    expect_files_for_rate(128);
}

// The compositor going away is a closed window: no file data is lost and
// the run ends normally, at the prompt (rate 0) as at the final wait.
TEST_F(WlProgram, CompositorKilledAtThePrompt) {
    start_sway();
    const ProgramResult r = run([&](int) {
        program_window();
        std::this_thread::sleep_for(300ms);
        sway_->kill_now();
    });
    expect_clean_exit(r);
    expect_files_for_rate(0);
}

TEST_F(WlProgram, CompositorKilledAtTheFinalWait) {
    start_sway();
    const ProgramResult r = run([&](int pid) {
        program_window();
        type("128");
        key("Return");
        wait_for_final_wait();
        EXPECT_TRUE(process_running(pid));
        sway_->kill_now();
    });
    expect_clean_exit(r);
    expect_files_for_rate(128);
}

// With both a compositor and an X server the window opens on Wayland;
// "ZVGFX" names either.
TEST_F(WlProgram, WaylandComesBeforeX11AndZvgfxChooses) {
    if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed";
    start_sway();
    XvfbServer x("1024x768x24");
    ASSERT_TRUE(x.running());
    XClient client(x.display());
    struct Case {
        std::optional<std::string> request;
        bool on_wayland;
    };
    for (const Case& c : {Case{std::nullopt, true}, Case{"WayLand", true}, Case{"x11", false}}) {
        SCOPED_TRACE(c.request.value_or("no request"));
        const ProgramResult r = run(
            [&](int) {
                if (c.on_wayland) {
                    program_window();
                    EXPECT_EQ(client.find_window("wavetable", 300ms), 0u);
                } else {
                    EXPECT_NE(client.find_window("wavetable"), 0u);
                    EXPECT_FALSE(sway_->window(WL_APP_ID).found);
                }
                if (c.on_wayland) {
                    type("7");
                    key("Return");
                } else {
                    x.xdotool({"search", "--sync", "--name", "^wavetable$", "windowfocus", "--sync"});
                    x.xdotool({"type", "7"});
                    x.xdotool({"key", "Return"});
                }
                wait_for_final_wait();
                if (c.on_wayland)
                    key("space");
                else
                    x.xdotool({"key", "space"});
            },
            {{"DISPLAY", x.display()}, {"ZVGFX", c.request}});
        expect_clean_exit(r);
        expect_files_for_rate(7);
    }
}

// A compositor named but not there is no compositor: the program goes on
// as without one, here on the terminal.
TEST_F(WlProgram, ANamedCompositorThatIsNotThereIsPassedBy) {
    ProgramRun r;
    r.directory = dir_.path();
    r.env = {{"WAYLAND_DISPLAY", "wayland-none"}, {"ZVGFX", std::nullopt}};
    r.stdin_data = "-5\n";
    expect_clean_exit(run_program(r));
    expect_files_for_rate(-5);
}

// Weston draws no frames for its clients: the window has libdecor's, with
// the title and a close button that works as the compositor's would.
TEST(WlProgramOnWeston, ClientSideTitleBarAndItsCloseButton) {
    if (!WestonSession::installed()) GTEST_SKIP() << "weston, Xvfb or xdotool is not installed";
    WestonSession weston;
    ASSERT_TRUE(weston.running()) << "weston did not start:\n" << weston.log();
    ScratchDir dir;
    // "Rate?" as the picture starts, whatever follows it.
    const std::vector<Rgb> picture = final_picture("");
    constexpr int PROMPT_WIDTH = 5 * 8, PROMPT_ROWS = 7;
    std::vector<Rgb> prompt;
    for (int row = 0; row < PROMPT_ROWS; ++row)
        prompt.insert(prompt.end(), picture.begin() + row * 512, picture.begin() + row * 512 + PROMPT_WIDTH);
    ProgramRun run;
    run.directory = dir.path();
    run.env = weston.client_env();
    run.env["ZVGFX"] = std::nullopt;
    run.env["LSAN_OPTIONS"] = "suppressions=" WAVETABLE_SOURCE_DIR "/tests/display/wayland/lsan.supp";
    run.timeout = 60s;
    run.while_running = [&](int pid) {
        // The picture's top rows ("Rate? ") locate the window.
        int x = 0, y = 0;
        ASSERT_TRUE(wait_until(
            [&] { return find_picture(weston.screenshot(), prompt, PROMPT_WIDTH, PROMPT_ROWS, &x, &y); }, 20s));
        const Screenshot shot = weston.screenshot();
        EXPECT_TRUE(title_bar_above(shot, x, y)) << "no title in a bar above the picture";
        // The close button at the bar's right end: at the prompt nothing
        // changes.
        weston.click(x + 512 - 16, y - 12);
        std::this_thread::sleep_for(500ms);
        EXPECT_TRUE(process_running(pid));
        weston.xdotool({"type", "--delay", "30", "128"});
        weston.xdotool({"key", "Return"});
        EXPECT_TRUE(wait_until([&] { return wave_files_complete(dir.path()); }, 30s));
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(process_running(pid));
        weston.click(x + 512 - 16, y - 12);
    };
    const ProgramResult r = run_program(run);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.exit_status, 0) << r.errors;
    EXPECT_EQ(check_wave_files(dir.path(), 128), "");
}

}  // namespace
