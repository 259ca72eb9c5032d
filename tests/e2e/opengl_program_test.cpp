// The OpenGL display driver with a program that draws with OpenGL
// (tests/opengl/gl_program.cpp), on an X server of the test's own whose
// GLX is Mesa's software renderer.
#include <gtest/gtest.h>  // first: before the X headers' macros

#include <memory>
#include <string>
#include <vector>

#include "display/x11_fixture.h"
#include "display/x_server.h"
#include "support/program.h"

namespace {

using namespace std::chrono_literals;

// The program's picture (see gl_program.cpp): its window is 64 x 48, the
// quad spans x 8..39 and, counted from the bottom, y 4..35.
constexpr int WIDTH = 64, HEIGHT = 48;
constexpr Rgb CLEAR{32, 96, 160}, QUAD{224, 128, 16};

std::vector<Rgb> expected_picture() {
    std::vector<Rgb> picture;
    for (int row = 0; row < HEIGHT; ++row) {
        const int y = HEIGHT - 1 - row;
        for (int x = 0; x < WIDTH; ++x) picture.push_back(x >= 8 && x < 40 && y >= 4 && y < 36 ? QUAD : CLEAR);
    }
    return picture;
}

bool has_line(const std::string& output, const std::string& line) {
    return ("\n" + output).find("\n" + line + "\n") != std::string::npos;
}

class OpenGlProgram : public ::testing::Test {
   protected:
    void SetUp() override {
        if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed: no X server to test against";
        server_ = std::make_unique<XvfbServer>();
        ASSERT_TRUE(server_->running()) << "Xvfb did not start";
        client_ = std::make_unique<XClient>(server_->display());
        ASSERT_TRUE(client_->connected());
    }

    // Mesa's software renderer leaks a little per context and unloads its
    // driver before a leak check could name it; the fake library leaks
    // nothing, so those runs keep the check.
    ProgramResult run(std::vector<std::string> args, const std::function<void(int)>& user = {},
                      EnvChanges env = {}) {
        ProgramRun r;
        r.command = {GL_PROGRAM_BINARY};
        r.command.insert(r.command.end(), args.begin(), args.end());
        r.directory = dir_.path();
        r.env = std::move(env);
        r.env["DISPLAY"] = server_->display();
        if (!r.env.count("ZVGFX")) r.env["ZVGFX"] = std::nullopt;
        if (!r.env.count("LD_LIBRARY_PATH")) r.env["ASAN_OPTIONS"] = "detect_leaks=0";
        r.timeout = 60s;
        r.while_running = user;
        return run_program(r);
    }

    Window program_window() {
        const Window w = client_->find_window("gl_program");
        EXPECT_NE(w, 0u) << "no window titled \"gl_program\"";
        return w;
    }

    ::testing::AssertionResult shows_picture(Window w) {
        const std::vector<Rgb> want = expected_picture();
        std::vector<Rgb> got;
        int width = 0, height = 0;
        if (wait_until([&] { return (got = client_->pixels(w, &width, &height)) == want; }))
            return ::testing::AssertionSuccess();
        size_t wrong = 0;
        for (size_t i = 0; i < got.size() && i < want.size(); ++i) wrong += !(got[i] == want[i]);
        return ::testing::AssertionFailure() << width << " x " << height << ", " << wrong << " pixels differ";
    }

    std::unique_ptr<XvfbServer> server_;
    std::unique_ptr<XClient> client_;
    ScratchDir dir_;
};

void expect_clean_exit(const ProgramResult& r) {
    EXPECT_FALSE(r.timed_out) << r.output;
    EXPECT_EQ(r.signal, 0) << r.output;
    EXPECT_EQ(r.exit_status, 0) << r.output;
}

// The picture reaches the window through the flip; a typed key, an
// extended key and the close button reach the program through the event
// handling that follows every flip.
TEST_F(OpenGlProgram, DrawsFlipsAndGetsItsKeysAndTheClose) {
    const ProgramResult r = run({"--keys"}, [&](int) {
        const Window w = program_window();
        ASSERT_NE(w, 0u);
        EXPECT_TRUE(shows_picture(w));
        EXPECT_TRUE(client_->give_focus(w));
        server_->xdotool({"key", "--delay", "30", "a", "Up"});
        client_->send_close(w);
    });
    expect_clean_exit(r);
    for (const char* line : {"screen: OpenGL", "readback: ok", "flipped", "key: 97", "key: 18687", "key: 27647",
                             "closed", "gl errors: 0"})
        EXPECT_TRUE(has_line(r.output, line)) << line << " missing from:\n" << r.output;
}

// A second mode set takes the first window down, context and all, and
// makes a new one that draws as well; the program's keys go on arriving.
TEST_F(OpenGlProgram, ASecondModeSetMakesANewWindow) {
    const ProgramResult r = run({"--again", "--keys"}, [&](int pid) {
        // The close goes to whichever window shows the picture, until the
        // one that stays has taken it and the program has ended.
        const std::vector<Rgb> picture = expected_picture();
        EXPECT_TRUE(wait_until(
            [&] {
                const Window w = client_->find_window("gl_program", 1s);
                int width = 0, height = 0;
                if (w && client_->pixels(w, &width, &height) == picture) client_->send_close(w);
                return !process_running(pid);
            },
            30s));
    });
    expect_clean_exit(r);
    size_t readbacks = 0;
    for (size_t at = r.output.find("readback: ok"); at != std::string::npos; at = r.output.find("readback: ok", at + 1))
        ++readbacks;
    EXPECT_EQ(readbacks, 2u) << r.output;
    EXPECT_TRUE(has_line(r.output, "closed")) << r.output;
}

// A program that waits for a key without flipping still gets it: the wait
// itself takes in the window's events.
TEST_F(OpenGlProgram, AKeyWaitWithoutFlipsGetsTheClose) {
    const ProgramResult r = run({"--wait-key"}, [&](int) {
        const Window w = program_window();
        ASSERT_NE(w, 0u);
        client_->send_close(w);
    });
    expect_clean_exit(r);
    EXPECT_TRUE(has_line(r.output, "waited for key: 27647")) << r.output;
}

// Maximising switches to full screen on the same window, so the rendering
// context goes on drawing into it: at the monitor's corner, the picture's size.
TEST_F(OpenGlProgram, FullScreenKeepsTheWindowAndItsContext) {
    const ProgramResult r = run({"--keys"}, [&](int) {
        const Window w = program_window();
        ASSERT_NE(w, 0u);
        EXPECT_TRUE(client_->give_focus(w));
        client_->mark_maximised(w);
        int x = -1, y = -1, width = 0, height = 0;
        EXPECT_TRUE(wait_until([&] { return client_->geometry(w, &x, &y, &width, &height) && x == 0 && y == 0; }))
            << "at " << x << ", " << y;
        EXPECT_EQ(width, WIDTH);
        EXPECT_EQ(height, HEIGHT);
        EXPECT_TRUE(shows_picture(w));
        client_->send_close(w);
    });
    expect_clean_exit(r);
    EXPECT_TRUE(has_line(r.output, "closed")) << r.output;
}

// A sample count no configuration has falls by two until one has it; the
// multisample flag alone asks for four. A count is a least count: two may
// get four where no configuration has two.
TEST_F(OpenGlProgram, SamplesFallBackToWhatTheImplementationHas) {
    struct Case {
        std::vector<std::string> args;
        int low, high;  // samples the window got
    };
    const Case cases[] = {
        {{}, 0, 0},
        {{"--flags", "0x40000"}, 4, 8},
        {{"--samples", "2"}, 2, 8},
        {{"--samples", "64"}, 2, 62},
    };
    for (const Case& c : cases) {
        const ProgramResult r = run(c.args);
        expect_clean_exit(r);
        EXPECT_TRUE(has_line(r.output, "screen: OpenGL")) << r.output;
        EXPECT_TRUE(has_line(r.output, "readback: ok")) << r.output;
        const size_t at = r.output.find("samples: ");
        ASSERT_NE(at, std::string::npos) << r.output;
        const int samples = std::stoi(r.output.substr(at + 9));
        EXPECT_GE(samples, c.low) << r.output;
        EXPECT_LE(samples, c.high) << r.output;
    }
}

// The named driver is tried first, the others after it: an OpenGL screen
// gets the OpenGL driver whatever the request names.
TEST_F(OpenGlProgram, ServedByOpenGlWhateverDriverIsNamed) {
    for (const char* request : {"", "OpenGL", "opengl", "X11", "none such"}) {
        EnvChanges env;
        if (request[0]) env["ZVGFX"] = request;
        const ProgramResult r = run({}, {}, env);
        expect_clean_exit(r);
        EXPECT_TRUE(has_line(r.output, "screen: OpenGL")) << "ZVGFX=" << request << "\n" << r.output;
    }
}

// Without a usable OpenGL the mode set goes on through its candidates and
// ends without a screen; the program goes on, and the next screen it asks
// for is served by the X11 driver. No window is left behind.
TEST_F(OpenGlProgram, WithoutAUsableOpenGlTheModeSetGoesOn) {
    ScratchDir broken;
    write_file(broken.file("libGL.so.1"), {'n', 'o', 't', ' ', 'E', 'L', 'F'});
    struct Case {
        const char* what;
        std::string libraries;
        bool probed;  // the fake library says it was asked for its extensions
    };
    const Case cases[] = {
        {"no GL_EXT_bgra", FAKE_GL_DIR, true},
        {"libGL missing", broken.path(), false},
    };
    for (const Case& c : cases) {
        const ProgramResult r = run({"--fallback"}, {}, {{"LD_LIBRARY_PATH", c.libraries}});
        expect_clean_exit(r);
        EXPECT_TRUE(has_line(r.output, "screen: none")) << c.what << "\n" << r.output;
        EXPECT_TRUE(has_line(r.output, "fallback: X11")) << c.what << "\n" << r.output;
        EXPECT_EQ(has_line(r.output, "fake libGL: extensions asked"), c.probed) << c.what << "\n" << r.output;
        EXPECT_EQ(client_->find_window("gl_program", 100ms), 0u) << c.what;
    }
}

// A server that goes away is a closed window: the program's next flip
// brings it the close key, and it ends normally.
TEST_F(OpenGlProgram, AVanishedServerReachesTheProgramAsTheClose) {
    const ProgramResult r = run({"--keys"}, [&](int) {
        const Window w = program_window();
        ASSERT_NE(w, 0u);
        EXPECT_TRUE(shows_picture(w));  // the program is in its frame loop
        client_.reset();
        server_->stop();
    });
    expect_clean_exit(r);
    EXPECT_TRUE(has_line(r.output, "key: 27647")) << r.output;
    EXPECT_TRUE(has_line(r.output, "closed")) << r.output;
}

// Without SCREEN_OPENGL the OpenGL driver refuses, so the program's own
// screen stays with the X11 driver even when OpenGL is named.
TEST_F(X11ScreenTest, NamingOpenGlForAPlainScreenStillGetsX11) {
    start_server();
    setenv("ZVGFX", "OpenGL", 1);
    ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE);
    EXPECT_EQ(g_gfx_screen->driver, &x11_driver);
}

}  // namespace
