// The real program in a window on an X server of the test's own, driven by
// synthetic input the way a user would drive it.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "support/x11/x_server.h"

#include <X11/Xutil.h>
#include "support/posix/program.h"
#include "support/posix/window_program.h"
#include "support/reference_waves.h"

namespace {

using namespace std::chrono_literals;

using reference::SHAPE_FILES;

// A key's value in the desktop entry that packaging installs.
std::string desktop_entry_value(const std::string& key) {
    std::ifstream in(WAVETABLE_SOURCE_DIR "/packaging/io.github.wavetable.Wavetable.desktop");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return "";
}

class X11Program : public WindowProgramTest {
   protected:
    // Runs the program against the server; `user` acts while it runs.
    ProgramResult run(const std::function<void(int pid)>& user, const std::string& stdin_data = "") {
        ProgramRun r;
        r.directory = dir_.path();
        r.env["DISPLAY"] = server_ ? server_->display() : std::string(":0");
        r.env["ZVGFX"] = std::nullopt;
        r.env["WAYLAND_DISPLAY"] = std::nullopt;  // the X server's window, even on a Wayland desktop
        r.stdin_data = stdin_data;
        r.timeout = 60s;
        r.while_running = user;
        return run_program(r);
    }

    Window program_window() {
        Window w = client_->find_window("wavetable");
        EXPECT_NE(w, 0u) << "no window titled \"wavetable\"";
        return w;
    }

    void focus(Window w) { client_->give_focus(w); }

    // Types the rate and Enter, sees the window show `picture`, and waits
    // until the run is at its final wait.
    void answer_and_wait_for_the_end(Window w, const std::string& rate, const std::vector<Rgb>& picture) {
        type(rate);
        keys({"Return"});
        EXPECT_TRUE(shows(w, picture));
        wait_for_final_wait();
    }

    void expect_files_for_rate(int16_t rate) {
        const reference::Shapes ref = reference::compute(rate);
        for (int shape = 0; shape < 7; ++shape) {
            const std::vector<int16_t> samples = read_samples(dir_.file(SHAPE_FILES[shape]));
            ASSERT_EQ(samples.size(), 65536u) << SHAPE_FILES[shape];
            const int16_t found = samples.size() > 1 ? static_cast<int16_t>(samples[1] - samples[0]) : 0;
            ASSERT_TRUE(samples == ref.of[shape])
                << SHAPE_FILES[shape] << " is not the shape of rate " << rate << " (rate " << found << "?)";
        }
        EXPECT_TRUE(file_exists(dir_.file("trisquare.bin")));
    }

    static void expect_clean_exit(const ProgramResult& r) {
        EXPECT_FALSE(r.timed_out);
        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.exit_status, 0) << r.errors;
        EXPECT_EQ(r.output + r.errors, "");  // nothing is logged
    }
};

TEST_F(X11Program, TypedRateRunsTheGeneratorAndAKeyEndsTheRun) {
    start_server();
    const std::vector<Rgb> picture = final_picture("128");
    const ProgramResult r = run([&](int pid) {
        const Window w = program_window();
        EXPECT_EQ(client_->name_of(w), "wavetable");
        // The desktop entry names the window's class, so the window is
        // grouped with its menu entry and icon.
        XClassHint hint{};
        if (XGetClassHint(client_->display(), w, &hint)) {
            EXPECT_EQ(std::string(hint.res_name), "wavetable");
            EXPECT_EQ(std::string(hint.res_class), desktop_entry_value("StartupWMClass"));
            XFree(hint.res_name);
            XFree(hint.res_class);
        } else {
            ADD_FAILURE() << "no WM_CLASS";
        }
        focus(w);
        answer_and_wait_for_the_end(w, "128", picture);
        EXPECT_TRUE(process_running(pid));  // waiting for the key
        keys({"space"});
    });
    expect_clean_exit(r);
    expect_files_for_rate(128);
}

// On a desktop set to 2x (Xft.dpi: 192) the window is twice the picture,
// each pixel a 2 x 2 square: crisp, never filtered. The files are the same.
TEST_F(X11Program, OnADesktopAtTwiceTheScaleEachPixelIsASquare) {
    start_server("1280x1100x24");
    client_->set_resources("Xft.dpi:\t192\n");
    const std::vector<Rgb> picture = final_picture("128");
    const ProgramResult r = run([&](int) {
        const Window w = program_window();
        focus(w);
        type("128");
        keys({"Return"});
        EXPECT_TRUE(shows(w, picture, 20s, 512, 512, 2));
        wait_for_final_wait();
        keys({"space"});
    });
    expect_clean_exit(r);
    expect_files_for_rate(128);
}

TEST_F(X11Program, CloseButtonDuringInputIsIgnoredAndAtTheEndEndsTheRun) {
    start_server();
    const ProgramResult r = run([&](int pid) {
        const Window w = program_window();
        focus(w);
        close_at_the_prompt_and_at_the_end(w, pid);
    });
    expect_clean_exit(r);
    expect_files_for_rate(128);
}

TEST_F(X11Program, KeysAndCloseDuringTheRunAreDrained) {
    start_server();
    const ProgramResult r = run([&](int pid) {
        const Window w = program_window();
        focus(w);
        keys_during_the_run(w, pid);
    });
    expect_clean_exit(r);
    expect_files_for_rate(128);
}

TEST_F(X11Program, KeyFloodAndEditing) {
    start_server();
    const ProgramResult r = run([&](int) {
        const Window w = program_window();
        focus(w);
        editing_with_a_key_flood(w);
    });
    expect_clean_exit(r);
    expect_files_for_rate(-128);
}

TEST_F(X11Program, FocusLossMidLine) {
    start_server();
    const ProgramResult r = run([&](int) {
        const Window w = program_window();
        focus(w);
        focus_loss_mid_line(w);
    });
    expect_clean_exit(r);
    expect_files_for_rate(128);
}

// The X server going away is a closed window: no file data is lost and the
// run ends normally, at the prompt (rate 0) as at the final wait.
TEST_F(X11Program, DisplayVanishingAtThePrompt) {
    start_server();
    const ProgramResult r = run([&](int) {
        program_window();
        std::this_thread::sleep_for(300ms);
        client_.reset();
        server_->stop();
    });
    expect_clean_exit(r);
    expect_files_for_rate(0);
}

TEST_F(X11Program, DisplayVanishingAtTheFinalWait) {
    start_server();
    const std::vector<Rgb> picture = final_picture("128");
    const ProgramResult r = run([&](int pid) {
        const Window w = program_window();
        focus(w);
        answer_and_wait_for_the_end(w, "128", picture);
        EXPECT_TRUE(process_running(pid));
        client_.reset();
        server_->stop();
    });
    expect_clean_exit(r);
    expect_files_for_rate(128);
}

// Where no window can be had the program works on the terminal: here a
// batch run reading the rate from its input.
TEST_F(X11Program, WithoutAUsableDisplayItRunsOnTheTerminal) {
    start_server("640x480x8");  // no TrueColor visual
    ProgramResult r = run(nullptr, "128\n");
    expect_clean_exit(r);
    expect_files_for_rate(128);

    client_.reset();
    server_.reset();
    ProgramRun no_server;
    no_server.directory = dir_.path();
    no_server.env["DISPLAY"] = ":999";
    no_server.stdin_data = "-5\n";
    r = run_program(no_server);
    expect_clean_exit(r);
    expect_files_for_rate(-5);
}

// The X libraries are loaded at run time: a machine without them (here a
// library path whose libX11 is no library at all) still runs the program.
TEST_F(X11Program, WithoutTheXLibrariesItRunsOnTheTerminal) {
    start_server();
    ScratchDir libs;
    write_file(libs.file("libX11.so.6"), {'n', 'o', 't', ' ', 'E', 'L', 'F'});
    ProgramRun r;
    r.directory = dir_.path();
    r.env["DISPLAY"] = server_->display();
    r.env["LD_LIBRARY_PATH"] = libs.path();
    r.stdin_data = "7\n";
    const ProgramResult result = run_program(r);
    expect_clean_exit(result);
    expect_files_for_rate(7);
    EXPECT_EQ(client_->find_window("wavetable", 200ms), 0u);
}

// Without the shared-memory and monitor extensions' libraries the window
// works all the same: plain images, the whole screen as the monitor.
TEST_F(X11Program, WithoutTheExtensionLibrariesTheWindowStillWorks) {
    start_server();
    ScratchDir libs;
    write_file(libs.file("libXext.so.6"), {'n', 'o', 'n', 'e'});
    write_file(libs.file("libXrandr.so.2"), {'n', 'o', 'n', 'e'});
    write_file(libs.file("libXss.so.1"), {'n', 'o', 'n', 'e'});
    const std::vector<Rgb> picture = final_picture("128");
    ProgramRun r;
    r.directory = dir_.path();
    r.env["DISPLAY"] = server_->display();
    r.env["LD_LIBRARY_PATH"] = libs.path();
    r.timeout = 60s;
    r.while_running = [&](int) {
        const Window w = program_window();
        int x = 0, y = 0, width = 0, height = 0;
        EXPECT_TRUE(client_->geometry(w, &x, &y, &width, &height));
        EXPECT_EQ(x, (1024 - 512) / 2);
        focus(w);
        answer_and_wait_for_the_end(w, "128", picture);
        keys({"space"});
    };
    expect_clean_exit(run_program(r));
    expect_files_for_rate(128);
}

TEST(X11Binary, DoesNotLinkTheXLibraries) {
    FILE* ldd = popen("ldd " WAVETABLE_BINARY " 2>&1", "r");
    ASSERT_NE(ldd, nullptr);
    std::string listing;
    char line[512];
    while (std::fgets(line, sizeof line, ldd)) listing += line;
    pclose(ldd);
    ASSERT_NE(listing.find("libc.so"), std::string::npos) << listing;
    EXPECT_EQ(listing.find("libX"), std::string::npos) << listing;
}

}  // namespace
