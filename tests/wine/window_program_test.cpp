// The Windows program in its window under Wine, on an X server of the
// test's own, driven by synthetic input the way a user would drive it: with
// the driver chosen by default ("DirectX", whose DirectDraw Wine draws with
// the X server's OpenGL), with "GDI" asked for by name, and where DirectX
// is missing (ddraw.dll or dinput.dll switched off), when "GDI" serves.
// The picture must be the one the same run leaves on the in-memory screen.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <X11/Xatom.h>

#include <chrono>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "display/program_icon.h"
#include "support/posix/program.h"
#include "support/posix/window_program.h"
#include "support/x11/x_server.h"
#include "wine_program.h"

namespace {

using namespace std::chrono_literals;

// How the program is started and which driver must serve it.
struct DriverCase {
    const char* name;
    std::optional<std::string> zvgfx;          // the driver asked for; none: the default choice
    std::optional<std::string> dll_overrides;  // Wine's DLL switches; none: the usual ones
    bool direct_draw;                          // "DirectX" serves, else "GDI"
    int dpi = 96;                              // of Wine's desktop (WT_WINE_DPI)
};

// Test names and messages show the case by its name.
void PrintTo(const DriverCase& c, std::ostream* os) { *os << c.name; }

class WineWindowProgram : public WindowProgramTest, public ::testing::WithParamInterface<DriverCase> {
   protected:
    void SetUp() override {
        WindowProgramTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_NO_FATAL_FAILURE(start_server(scale() > 1 ? "2048x1536x24" : "1024x768x24"));
    }

    // Device pixels per picture pixel, as the desktop's DPI makes it.
    static int scale() { return GetParam().dpi / 96; }
    static int screen_width() { return scale() > 1 ? 2048 : 1024; }

    // Runs the program under Wine on the server; `user` acts while it runs.
    ProgramResult run(const std::function<void(int pid)>& user) {
        ProgramRun r;
        r.command = wine_command();
        r.directory = dir_.path();
        r.env["WT_WINE_DISPLAY"] = server_->display();
        r.env["ZVGFX"] = GetParam().zvgfx;
        if (GetParam().dll_overrides) r.env["WINEDLLOVERRIDES"] = GetParam().dll_overrides;
        if (GetParam().dpi != 96) r.env["WT_WINE_DPI"] = std::to_string(GetParam().dpi);
        r.timeout = 90s;
        r.while_running = user;
        return run_program(r);
    }

    // The program's window with the keyboard, as a click on it gives, once
    // typed keys reach its line editor. Wine makes the X window first with
    // the frame drawn in and then leaves the frame to a window manager,
    // keeping the client area alone: the window is ready once it is the
    // client area's size.
    Window program_window() {
        const Window w = client_->find_window("wavetable", 60s);  // Wine starts slowly the first time
        EXPECT_NE(w, 0u) << "no window titled \"wavetable\"";
        EXPECT_TRUE(wait_until(
            [&] {
                int x = 0, y = 0, width = 0, height = 0;
                return client_->geometry(w, &x, &y, &width, &height) && width == 512 * scale() &&
                       height == 512 * scale();
            },
            20s))
            << "the window never had the client area's size";
        server_->xdotool({"mousemove", "--window", std::to_string(w), "256", "256"});
        EXPECT_TRUE(client_->give_focus(w));
        wait_until_keys_arrive(w);
        return w;
    }

    // A "0" is typed until it shows after the prompt, then erased. On a
    // loaded machine Wine can drop a key typed while it is still taking the
    // new window on (the program never sees it); the tests' own keys come
    // after this.
    void wait_until_keys_arrive(Window w) {
        const auto s = static_cast<size_t>(scale());
        EXPECT_TRUE(shows(w, final_picture("128"), 20s, 6 * 8, 8, scale()));  // "Rate? " is up
        int width = 0, height = 0;
        const std::vector<Rgb> prompt = client_->pixels(w, &width, &height);
        const auto echoed = [&] {
            const std::vector<Rgb> now = client_->pixels(w, &width, &height);
            if (now.size() != prompt.size()) return false;
            for (size_t y = 0; y < 6 * s; ++y)
                for (size_t x = 48 * s; x < 56 * s; ++x)
                    if (!(now[y * 512 * s + x] == prompt[y * 512 * s + x])) return true;
            return false;
        };
        int typed = 0;
        while (typed < 5 && !echoed()) {
            type("0");
            ++typed;
            wait_until(echoed, 2s);
        }
        ASSERT_TRUE(echoed()) << "no typed key reached the window";
        for (int i = 0; i < typed; ++i) keys({"BackSpace"});
        EXPECT_TRUE(wait_until([&] { return client_->pixels(w, &width, &height) == prompt; })) << "the 0 stayed";
    }

    void typed_rate_run();

    static void expect_clean_exit(const ProgramResult& r) {
        EXPECT_FALSE(r.timed_out);
        EXPECT_EQ(r.signal, 0);
        EXPECT_EQ(r.exit_status, 0) << r.output << r.errors;
        EXPECT_EQ(r.output, "");  // nothing is logged
    }
};

// The window's icon as the window system got it: 32-bit items of size,
// size and pixels, each icon in turn.
std::vector<uint32_t> window_icon(const XClient& client, Window w) {
    std::vector<uint32_t> items;
    for (long item : client.property(w, "_NET_WM_ICON", XA_CARDINAL, 1 << 16))
        items.push_back(static_cast<uint32_t>(item));
    return items;
}

// The program's 32 x 32 icon among the window's icons.
bool carries_program_icon(const std::vector<uint32_t>& items) {
    for (size_t i = 0; i + 2 <= items.size();) {
        const uint32_t width = items[i], height = items[i + 1];
        const size_t size = static_cast<size_t>(width) * height;
        if (i + 2 + size > items.size()) return false;
        for (const ProgramIcon& icon : PROGRAM_ICONS)
            if (static_cast<uint32_t>(icon.size) == width && width == height &&
                std::equal(icon.pixels, icon.pixels + size, items.begin() + static_cast<ptrdiff_t>(i) + 2))
                return true;
        i += 2 + size;
    }
    return false;
}

// Wine's DirectDraw draws into an X window of its own inside the program's
// window; a window drawn with GDI has none.
bool drawn_by_opengl(const XClient& client, Window w) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(client.display(), w, &root, &parent, &children, &count)) return false;
    if (children) XFree(children);
    return count > 0;
}

// The framed "GDI" window is centred, its frame as wide on both sides. The
// "DirectX" window has its outer corner where a centred picture would have
// its corner, so the picture starts a frame's width further in.
void expect_position(Window w, const XClient& client, bool direct_draw, int scale, int screen_width) {
    int x = 0, y = 0, width = 0, height = 0;
    EXPECT_TRUE(client.geometry(w, &x, &y, &width, &height));
    EXPECT_EQ(width, 512 * scale);
    EXPECT_EQ(height, 512 * scale);
    const int centred = (screen_width - 512 * scale) / 2;
    if (direct_draw) {
        EXPECT_GT(x, centred);
        EXPECT_LE(x, centred + 8);
    } else {
        EXPECT_EQ(x, centred);
    }
}

// Typed rate, Enter, the picture, a key that ends the run: the whole run as
// a user makes it.
void WineWindowProgram::typed_rate_run() {
    const std::vector<Rgb> picture = final_picture("128");
    const ProgramResult r = run([&](int pid) {
        const Window w = program_window();
        EXPECT_EQ(client_->name_of(w), "wavetable");
        EXPECT_EQ(drawn_by_opengl(*client_, w), GetParam().direct_draw);
        expect_position(w, *client_, GetParam().direct_draw, scale(), screen_width());
        EXPECT_TRUE(wait_until([&] { return carries_program_icon(window_icon(*client_, w)); }));
        type("128");
        keys({"Return"});
        EXPECT_TRUE(shows(w, picture, 20s, 512, 512, scale()));
        wait_for_final_wait();
        EXPECT_TRUE(process_running(pid));  // waiting for the key
        keys({"space"});
    });
    expect_clean_exit(r);
    EXPECT_EQ(check_wave_files(dir_.path(), 128), "");
}

TEST_P(WineWindowProgram, TypedRateRunsTheGeneratorAndAKeyEndsTheRun) { typed_rate_run(); }

TEST_P(WineWindowProgram, CloseButtonAtThePromptChangesNothingAndAtTheFinalWaitEndsTheRun) {
    const ProgramResult r = run([&](int pid) { close_at_the_prompt_and_at_the_end(program_window(), pid); });
    expect_clean_exit(r);
    EXPECT_EQ(check_wave_files(dir_.path(), 128), "");
}

TEST_P(WineWindowProgram, KeysTypedDuringTheRunAreDrained) {
    const ProgramResult r = run([&](int pid) { keys_during_the_run(program_window(), pid); });
    expect_clean_exit(r);
    EXPECT_EQ(check_wave_files(dir_.path(), 128), "");
}

TEST_P(WineWindowProgram, FocusLossMidLine) {
    const ProgramResult r = run([&](int) { focus_loss_mid_line(program_window()); });
    expect_clean_exit(r);
    EXPECT_EQ(check_wave_files(dir_.path(), 128), "");
}

// Typed text and arrow keys in the line editor.
TEST_P(WineWindowProgram, EditingAndAKeyFlood) {
    const ProgramResult r = run([&](int) { editing_with_a_key_flood(program_window()); });
    expect_clean_exit(r);
    EXPECT_EQ(check_wave_files(dir_.path(), -128), "");
}

std::string case_name(const ::testing::TestParamInfo<DriverCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Drivers, WineWindowProgram,
                         ::testing::Values(DriverCase{"DirectX", std::nullopt, std::nullopt, true},
                                           DriverCase{"GDI", "GDI", std::nullopt, false}),
                         case_name);

// Where DirectX cannot start, "GDI" serves the whole run.
class WineWithoutDirectX : public WineWindowProgram {};

TEST_P(WineWithoutDirectX, GdiServesTheRun) { typed_rate_run(); }

INSTANTIATE_TEST_SUITE_P(MissingLibraries, WineWithoutDirectX,
                         ::testing::Values(DriverCase{"NoDdraw", std::nullopt, "mscoree,mshtml,ddraw=", false},
                                           DriverCase{"NoDinput", std::nullopt, "mscoree,mshtml,dinput=", false}),
                         case_name);

// On a desktop of 192 DPI the window is twice the picture's size and shows
// each picture pixel as a 2 x 2 block, drawn by either driver.
class WineWindowProgramAt192Dpi : public WineWindowProgram {};

TEST_P(WineWindowProgramAt192Dpi, ThePictureIsShownTwiceItsSize) { typed_rate_run(); }

INSTANTIATE_TEST_SUITE_P(Drivers, WineWindowProgramAt192Dpi,
                         ::testing::Values(DriverCase{"DirectX", std::nullopt, std::nullopt, true, 192},
                                           DriverCase{"GDI", "GDI", std::nullopt, false, 192}),
                         case_name);

// Windows sizes and scales the window for its monitor's DPI only for a
// program that says it can (Wine does so for every program, so no run here
// tells): the program carries the manifest that says so, for Windows 10
// and for 8.1 (which Windows 7 reads as aware of the system's DPI).
TEST(WineProgramFile, DeclaresPerMonitorDpiAwareness) {
    const std::vector<unsigned char> bytes = read_file(WT_WINDOWS_EXE);
    const std::string program(bytes.begin(), bytes.end());
    EXPECT_NE(program.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(program.find(">true/pm</dpiAware>"), std::string::npos);
}

}  // namespace
