// The Windows program on Wine's console in a terminal (a tmux pane), with
// no display: prompt, line editing, the run, the final key; output and
// input redirected; Ctrl+C.
#include <gtest/gtest.h>

#include <thread>

#include "support/posix/program.h"
#include "support/posix/tmux_session.h"
#include "wine_program.h"

namespace {

using namespace std::chrono_literals;

TmuxSession::Options in_dir(const ScratchDir& dir) {
    TmuxSession::Options o;
    o.command = wine_command();
    o.directory = dir.path();
    return o;
}

std::string screen_text(const TmuxSession& s) {
    std::string all;
    for (const std::string& row : s.screen()) all += row + "\n";
    return all;
}

// Waits for the prompt and for Wine's console to take the terminal: keys
// typed before that are echoed by the terminal itself, behind the back of
// Wine's console, which then draws its next characters one cell off. The
// row of the prompt, or -1.
int wait_for_prompt(const TmuxSession& s) {
    const int row = s.wait_for_text("Rate?");
    if (row < 0 || !TmuxSession::wait_until([&] { return s.echo_off(); }, 10s)) return -1;
    return row;
}

// Waits until the pane's cursor stands at (column, row), 0-based.
bool cursor_reaches(const TmuxSession& s, int column, int row) {
    return TmuxSession::wait_until([&] { return s.cursor() == std::make_pair(column, row); }, 10s);
}

// Waits until the pane's row reads `text` exactly.
bool row_reads(const TmuxSession& s, size_t row, const std::string& text) {
    return TmuxSession::wait_until(
        [&] {
            const std::vector<std::string> rows = s.screen();
            return rows.size() > row && rows[row] == text;
        },
        10s);
}

// Once the files are written the program drains the keys typed so far and
// waits for the next one.
void press_key_once_done(TmuxSession& s, const ScratchDir& dir) {
    ASSERT_TRUE(TmuxSession::wait_until([&] { return wave_files_complete(dir.path()); }));
    std::this_thread::sleep_for(300ms);
    s.keys({"x"});
}

TEST(WineConsole, PromptAtTheCursorEditRunAndKeyToEnd) {
    ScratchDir dir;
    TmuxSession::Options o = in_dir(dir);
    o.before = "echo before";  // the console's cursor starts on the second row
    TmuxSession s(o);
    ASSERT_TRUE(s.started());
    const int row = wait_for_prompt(s);
    ASSERT_EQ(row, 1) << screen_text(s);
    EXPECT_EQ(s.screen()[1], "Rate?");
    EXPECT_TRUE(cursor_reaches(s, 6, 1));
    s.keys({"1", "2", "Left", "Left", "3"});
    ASSERT_TRUE(row_reads(s, 1, "Rate? 312")) << screen_text(s);
    EXPECT_TRUE(cursor_reaches(s, 7, 1));  // under the "1"
    s.keys({"Enter"});
    EXPECT_TRUE(cursor_reaches(s, 0, 2));  // the next row
    press_key_once_done(s, dir);
    EXPECT_EQ(s.wait_exit(), 0) << screen_text(s);
    EXPECT_EQ(check_wave_files(dir.path(), 312), "");
}

// On the bottom row the line end scrolls the console up by one row.
TEST(WineConsole, EnterOnTheBottomRowScrolls) {
    ScratchDir dir;
    TmuxSession::Options o = in_dir(dir);
    o.before = "seq 1 30";
    TmuxSession s(o);
    ASSERT_EQ(wait_for_prompt(s), 23) << screen_text(s);
    s.keys({"5", "Enter"});
    EXPECT_TRUE(row_reads(s, 22, "Rate? 5")) << screen_text(s);
    EXPECT_TRUE(cursor_reaches(s, 0, 23));
    EXPECT_EQ(s.screen()[23], "");
    press_key_once_done(s, dir);
    EXPECT_EQ(s.wait_exit(), 0);
    EXPECT_EQ(check_wave_files(dir.path(), 5), "");
}

// Output to a file gets the bytes as printed; keys still come from the
// console.
TEST(WineConsole, OutputRedirectedToAFileGetsThePromptBytes) {
    ScratchDir dir;
    TmuxSession::Options o = in_dir(dir);
    o.stdout_file = dir.file("out.txt");
    TmuxSession s(o);
    ASSERT_TRUE(TmuxSession::wait_until([&] { return read_file(dir.file("out.txt")).size() >= 6; }));
    ASSERT_TRUE(TmuxSession::wait_until([&] { return s.echo_off(); }));
    s.keys({"7", "Enter"});
    press_key_once_done(s, dir);
    EXPECT_EQ(s.wait_exit(), 0);
    const std::vector<unsigned char> out = read_file(dir.file("out.txt"));
    EXPECT_EQ(std::string(out.begin(), out.end()), "Rate? 7\r\n");
    EXPECT_EQ(check_wave_files(dir.path(), 7), "");
}

TEST(WineConsole, CtrlCAtThePromptEndsTheProcess) {
    ScratchDir dir;
    TmuxSession s(in_dir(dir));
    ASSERT_GE(wait_for_prompt(s), 0) << screen_text(s);
    s.keys({"C-c"});
    // Wine's default handling ends the process with status 0 where Windows
    // gives STATUS_CONTROL_C_EXIT; what matters is that it ends, at once.
    EXPECT_TRUE(s.wait_exit(15s).has_value()) << screen_text(s);
    EXPECT_EQ(read_file(dir.file("sawtooth.bin")).size(), 0u);  // ended at the prompt
}

// Standard input redirected: a batch tool that reads the rate and ends at
// the end of its input.
TEST(WineBatch, ReadsTheRateAndEndsAtTheEndOfInput) {
    struct Case {
        std::string input;
        int16_t rate;
    };
    for (const Case& c : {Case{"128\n", 128}, Case{"&HFF extra\nmore\n", 255}, Case{"", 0}}) {
        ScratchDir dir;
        ProgramRun run;
        run.command = wine_command();
        run.stdin_data = c.input;
        run.directory = dir.path();
        run.timeout = 60s;
        const ProgramResult r = run_program(run);
        EXPECT_FALSE(r.timed_out) << c.input;
        EXPECT_EQ(r.exit_status, 0) << c.input << r.output;
        EXPECT_EQ(check_wave_files(dir.path(), c.rate), "") << c.input;
    }
}

}  // namespace
