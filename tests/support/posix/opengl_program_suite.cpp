#include "support/posix/opengl_program_suite.h"

#include <algorithm>
#include <future>

namespace {

using namespace std::chrono_literals;

// Key codes as the program reports them: "a", the up arrow, the close.
const std::string KEY_A = "key: 97", KEY_UP = "key: 18687", KEY_CLOSE = "key: 27647";

}  // namespace

std::vector<Rgb> gl_program_picture() {
    std::vector<Rgb> picture;
    for (int row = 0; row < GL_PROGRAM_HEIGHT; ++row) {
        const int y = GL_PROGRAM_HEIGHT - 1 - row;
        for (int x = 0; x < GL_PROGRAM_WIDTH; ++x) {
            const uint8_t* c = gl_picture_in_quad(x, y) ? GL_PICTURE_QUAD : GL_PICTURE_CLEAR;
            picture.push_back({c[0], c[1], c[2]});
        }
    }
    return picture;
}

bool has_line(const std::string& output, const std::string& line) {
    return ("\n" + output).find("\n" + line + "\n") != std::string::npos;
}

void expect_clean_exit(const ProgramResult& r) {
    EXPECT_FALSE(r.timed_out) << r.output;
    EXPECT_EQ(r.signal, 0) << r.output;
    EXPECT_EQ(r.exit_status, 0) << r.output << r.errors;
}

std::string gl_platform_name(const ::testing::TestParamInfo<GlProgramPlatform>& info) { return info.param.name; }

void OpenGlProgram::SetUp() {
    if (!XvfbServer::installed()) GTEST_SKIP() << "Xvfb is not installed: no X server to test against";
    server_ = std::make_unique<XvfbServer>();
    ASSERT_TRUE(server_->running()) << "Xvfb did not start";
    client_ = std::make_unique<XClient>(server_->display());
    ASSERT_TRUE(client_->connected());
}

void OpenGlProgram::take_focus(Window w) {
    if (GetParam().focus_follows_pointer) server_->xdotool({"mousemove", "--window", std::to_string(w), "32", "24"});
    EXPECT_TRUE(client_->give_focus(w));
}

ProgramResult OpenGlProgram::run(const std::vector<std::string>& args, const std::function<void(int)>& user,
                                 const EnvChanges& env) {
    ProgramRun r = program(args);
    for (const auto& [name, value] : env) r.env[name] = value;
    r.while_running = user;
    return finish(r);
}

ProgramResult OpenGlProgram::finish(ProgramRun r) {
    r.directory = dir_.path();
    if (!r.env.count("ZVGFX")) r.env["ZVGFX"] = std::nullopt;
    r.timeout = GetParam().timeout;
    ProgramResult result = run_program(r);
    std::erase(result.output, '\r');
    return result;
}

std::vector<ProgramResult> OpenGlProgram::finish_all(const std::vector<ProgramRun>& runs) {
    std::vector<std::future<ProgramResult>> started;
    for (const ProgramRun& r : runs) started.push_back(std::async(std::launch::async, [this, r] { return finish(r); }));
    std::vector<ProgramResult> results;
    for (auto& f : started) results.push_back(f.get());
    return results;
}

Window OpenGlProgram::program_window() {
    const Window w = client_->find_window("gl_program", GetParam().timeout / 2);
    EXPECT_NE(w, 0u) << "no window titled \"gl_program\"";
    return w;
}

::testing::AssertionResult OpenGlProgram::shows_picture(Window w) {
    const std::vector<Rgb> want = gl_program_picture();
    std::vector<Rgb> got;
    int width = 0, height = 0;
    if (wait_until([&] { return (got = client_->pixels(w, &width, &height)) == want; }, 20s))
        return ::testing::AssertionSuccess();
    size_t wrong = 0;
    for (size_t i = 0; i < got.size() && i < want.size(); ++i) wrong += !(got[i] == want[i]);
    return ::testing::AssertionFailure() << width << " x " << height << ", " << wrong << " pixels differ";
}

// The picture reaches the window through the flip; a typed key, an
// extended key and the close button reach the program through the event
// handling that follows every flip.
TEST_P(OpenGlProgram, DrawsFlipsAndGetsItsKeysAndTheClose) {
    const ProgramResult r = run({"--keys"}, [&](int) {
        const Window w = program_window();
        ASSERT_NE(w, 0u);
        EXPECT_TRUE(shows_picture(w));
        take_focus(w);
        server_->xdotool({"key", "--delay", "30", "a", "Up"});
        client_->send_close(w);
    });
    expect_clean_exit(r);
    for (const std::string& line : std::vector<std::string>{"screen: OpenGL", "readback: ok", "flipped", KEY_A, KEY_UP,
                                                            KEY_CLOSE, "closed", "gl errors: 0"})
        EXPECT_TRUE(has_line(r.output, line)) << line << " missing from:\n" << r.output;
}

// A second mode set takes the first window down, context and all, and
// makes a new one that draws as well; keys go on arriving.
TEST_P(OpenGlProgram, ASecondModeSetMakesANewWindow) {
    const ProgramResult r = run({"--again", "--keys"}, [&](int pid) {
        // The close goes to whichever window shows the picture, until the
        // one that stays has taken it and the program has ended.
        const std::vector<Rgb> picture = gl_program_picture();
        EXPECT_TRUE(wait_until(
            [&] {
                const Window w = client_->find_window("gl_program", 1s);
                int width = 0, height = 0;
                if (w && client_->pixels(w, &width, &height) == picture) client_->send_close(w);
                return !process_running(pid);
            },
            GetParam().timeout / 2));
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
TEST_P(OpenGlProgram, AKeyWaitWithoutFlipsGetsTheClose) {
    const ProgramResult r = run({"--wait-key"}, [&](int) {
        const Window w = program_window();
        ASSERT_NE(w, 0u);
        EXPECT_TRUE(shows_picture(w));
        client_->send_close(w);
    });
    expect_clean_exit(r);
    EXPECT_TRUE(has_line(r.output, "waited for " + KEY_CLOSE)) << r.output;
}

// A sample count no format has falls by two until one has it; the
// multisample flag alone asks for four. A count is a least count: two may
// get four where no format has two.
TEST_P(OpenGlProgram, SamplesFallBackToWhatTheImplementationHas) {
    struct Case {
        std::vector<std::string> args;
        int low, high;  // samples the window got
    };
    const std::vector<Case> cases = {
        {{}, 0, 0},
        {{"--flags", "0x40000"}, 4, 8},
        {{"--samples", "2"}, 2, 8},
        {{"--samples", "64"}, 2, 62},
    };
    std::vector<ProgramRun> runs;
    for (const Case& c : cases) runs.push_back(program(c.args));
    const std::vector<ProgramResult> results = finish_all(runs);
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const ProgramResult& r = results[i];
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
TEST_P(OpenGlProgram, ServedByOpenGlWhateverDriverIsNamed) {
    const std::vector<std::string> requests = {"", "OpenGL", "opengl", GetParam().plain_driver, "none such"};
    std::vector<ProgramRun> runs;
    for (const std::string& request : requests) {
        runs.push_back(program({}));
        if (!request.empty()) runs.back().env["ZVGFX"] = request;
    }
    const std::vector<ProgramResult> results = finish_all(runs);
    for (size_t i = 0; i < requests.size(); ++i) {
        expect_clean_exit(results[i]);
        EXPECT_TRUE(has_line(results[i].output, "screen: OpenGL")) << "ZVGFX=" << requests[i] << "\n"
                                                                   << results[i].output;
    }
}

// The mode set goes on through its candidates and ends without a screen;
// the program goes on, and its next, plain, screen gets the plain driver.
// No OpenGL window is left behind.
TEST_P(OpenGlProgram, WithoutAUsableOpenGlTheModeSetGoesOn) {
    ScratchDir beside;
    const std::vector<GlProgramPlatform::UnusableOpenGl> cases = GetParam().unusable(beside);
    std::vector<ProgramRun> runs;
    for (const auto& c : cases) {
        runs.push_back(program({"--fallback"}));
        c.prepare(runs.back());
    }
    const std::vector<ProgramResult> results = finish_all(runs);
    for (size_t i = 0; i < cases.size(); ++i) {
        const auto& c = cases[i];
        const ProgramResult& r = results[i];
        expect_clean_exit(r);
        EXPECT_TRUE(has_line(r.output, "screen: none")) << c.what << "\n" << r.output;
        EXPECT_TRUE(has_line(r.output, "fallback: " + GetParam().plain_driver)) << c.what << "\n" << r.output;
        EXPECT_EQ(has_line(r.output, "fake OpenGL: extensions asked"), c.probed) << c.what << "\n" << r.output;
    }
    EXPECT_EQ(client_->find_window("gl_program", std::chrono::milliseconds(100)), 0u);
}
