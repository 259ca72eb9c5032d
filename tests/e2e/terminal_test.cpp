// The real program on a terminal: no display, standard input and output a
// pseudo-terminal.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/posix/program.h"
#include "support/posix/pty_session.h"

namespace {

using namespace std::chrono_literals;

const std::string LEFT = "\x1b[D", RIGHT = "\x1b[C", HOME = "\x1b[H", END = "\x1b[F", DEL = "\x1b[3~",
                  BACKSPACE = "\x7f", ESC = "\x1b";

PtySession::Options in_dir(const ScratchDir& dir) {
    PtySession::Options options;
    options.directory = dir.path();
    return options;
}

int16_t rate_in_files(const ScratchDir& dir) {
    std::vector<int16_t> saw = read_samples(dir.file("sawtooth.bin"));
    if (saw.size() < 2) return 0x7FFF;
    return static_cast<int16_t>(static_cast<uint16_t>(saw[1] - saw[0]));
}

// Types keys one group at a time, as a person would, letting the program
// take each before the next (a lone Escape needs its pause).
void type_slowly(PtySession& pty, const std::vector<std::string>& keys) {
    for (const std::string& k : keys) {
        pty.type(k);
        pty.drain(k == ESC ? 150ms : 30ms);
    }
}

TEST(Terminal, PromptEditRunAndKeyToEnd) {
    ScratchDir dir;
    PtySession pty(in_dir(dir));
    ASSERT_TRUE(pty.started());
    ASSERT_TRUE(pty.wait_for("Rate? ")) << pty.output();
    type_slowly(pty, {"1", "2", LEFT, LEFT, "3", "\r"});
    EXPECT_TRUE(pty.wait_for("312"));
    // The run is done once the files are complete; then one key ends it.
    for (int i = 0; i < 200 && read_file(dir.file("square.bin")).size() < 131072; ++i) pty.drain(20ms);
    pty.drain(100ms);
    termios during{};
    ASSERT_TRUE(pty.modes(&during));
    EXPECT_FALSE(during.c_lflag & ECHO);  // keys typed now are not echoed
    EXPECT_TRUE(during.c_lflag & ISIG);   // Ctrl+C still works
    pty.type("x");
    int signal = 0;
    EXPECT_EQ(pty.wait_exit(10s, &signal), 0) << "signal " << signal;
    termios after{};
    ASSERT_TRUE(pty.modes(&after));
    EXPECT_TRUE(same_modes(after, pty.initial_modes()));
    EXPECT_EQ(rate_in_files(dir), 312);
    EXPECT_EQ(read_file(dir.file("sawtooth.bin")).size(), 131072u);
}

// The editor's keys, through the terminal's byte sequences.
TEST(Terminal, EditorKeys) {
    struct Case {
        std::vector<std::string> keys;
        int16_t rate;
    };
    // clang-format off
    const Case cases[] = {
        {{"1", "2", "3", BACKSPACE}, 12},
        {{BACKSPACE, "4", "5"}, 45},                  // Backspace at the start does nothing
        {{"1", "2", HOME, DEL}, 2},
        {{"1", "2", DEL}, 12},                        // Delete at the end only beeps
        {{"9", "9", ESC, "7"}, 7},                    // Escape clears the line
        {{"5", "6", HOME, RIGHT, "0", END, "1"}, 5061},
        {{"1", "\t", "2"}, 1},                        // Tab inserts blanks: the token ends
        {{"2", "\x1b[A", "\x1b[B", "\x1b[5~", "\x1b[2~", "\x1bOP", "3"}, 23},  // keys that do nothing
    };
    // clang-format on
    for (const Case& c : cases) {
        ScratchDir dir;
        PtySession pty(in_dir(dir));
        ASSERT_TRUE(pty.wait_for("Rate? "));
        type_slowly(pty, c.keys);
        type_slowly(pty, {"\r"});
        for (int i = 0; i < 200 && read_file(dir.file("square.bin")).size() < 131072; ++i) pty.drain(20ms);
        pty.drain(50ms);
        pty.type("q");
        EXPECT_EQ(pty.wait_exit(), 0);
        EXPECT_EQ(rate_in_files(dir), c.rate) << "case with rate " << c.rate;
        if (c.keys.size() == 3 && c.keys[2] == DEL) {
            EXPECT_NE(pty.output().find('\a'), std::string::npos) << "bell";
        }
    }
}

// A terminal that goes away mid-line: the line ends with what was typed,
// the files are written and the run ends normally.
TEST(Terminal, HangUpDuringTheLine) {
    ScratchDir dir;
    PtySession pty(in_dir(dir));
    ASSERT_TRUE(pty.wait_for("Rate? "));
    type_slowly(pty, {"4", "2"});
    pty.hang_up();
    int signal = 0;
    EXPECT_EQ(pty.wait_exit(20s, &signal), 0) << "signal " << signal;
    EXPECT_EQ(rate_in_files(dir), 42);
    EXPECT_EQ(read_file(dir.file("square.bin")).size(), 131072u);
}

TEST(Terminal, CtrlCEndsTheProcessAndRestoresTheModes) {
    ScratchDir dir;
    PtySession pty(in_dir(dir));
    ASSERT_TRUE(pty.wait_for("Rate? "));
    type_slowly(pty, {"7"});
    pty.interrupt();
    int signal = 0;
    pty.wait_exit(10s, &signal);
    EXPECT_EQ(signal, SIGINT);
    termios after{};
    ASSERT_TRUE(pty.modes(&after));
    EXPECT_TRUE(same_modes(after, pty.initial_modes()));
}

// With standard output redirected, the prompt's bytes land in the file as
// they are.
TEST(Terminal, RedirectedOutputGetsThePromptBytes) {
    ScratchDir dir;
    PtySession::Options options = in_dir(dir);
    options.stdout_file = dir.file("out.txt");
    PtySession pty(options);
    for (int i = 0; i < 100 && read_file(dir.file("out.txt")).size() < 6; ++i) pty.drain(20ms);
    type_slowly(pty, {"8", "\r"});
    for (int i = 0; i < 200 && read_file(dir.file("square.bin")).size() < 131072; ++i) pty.drain(20ms);
    pty.drain(50ms);
    pty.type("q");
    EXPECT_EQ(pty.wait_exit(), 0);
    std::vector<unsigned char> out = read_file(dir.file("out.txt"));
    std::string text(out.begin(), out.end());
    EXPECT_EQ(text.substr(0, 6), "Rate? ");
    EXPECT_EQ(text, "Rate? 8\r\n");
    EXPECT_EQ(rate_in_files(dir), 8);
}

// Characters travel as code page 437 inside and as UTF-8 on the terminal.
TEST(Terminal, Utf8TypedAndShown) {
    ScratchDir dir;
    PtySession::Options options = in_dir(dir);
    options.env["LANG"] = "C.UTF-8";
    options.env["LC_ALL"] = "C.UTF-8";
    PtySession pty(options);
    ASSERT_TRUE(pty.wait_for("Rate? "));
    size_t mark = pty.output().size();
    type_slowly(pty, {"\xc3\xa9", "\xe2\x94\x80"});  // é and ─ (CP437 130 and 196)
    EXPECT_TRUE(pty.wait_for("\xc3\xa9", 5s, mark));
    EXPECT_TRUE(pty.wait_for("\xe2\x94\x80", 5s, mark));
    type_slowly(pty, {"\r"});
    for (int i = 0; i < 200 && read_file(dir.file("square.bin")).size() < 131072; ++i) pty.drain(20ms);
    pty.type("q");
    EXPECT_EQ(pty.wait_exit(), 0);
    EXPECT_EQ(rate_in_files(dir), 0);
}

// A long line wraps over many rows and scrolls; it is still quick.
TEST(Terminal, TenThousandCharacterLine) {
    ScratchDir dir;
    PtySession pty(in_dir(dir));
    ASSERT_TRUE(pty.wait_for("Rate? "));
    auto start = std::chrono::steady_clock::now();
    pty.type(std::string(10000, '3'));
    type_slowly(pty, {HOME, DEL, DEL, "\r"});
    for (int i = 0; i < 1000 && read_file(dir.file("square.bin")).size() < 131072; ++i) pty.drain(20ms);
    pty.drain(50ms);
    pty.type("q");
    EXPECT_EQ(pty.wait_exit(30s), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 20s);
    EXPECT_EQ(rate_in_files(dir), -1);  // 67 digits of 3 saturate
}

TEST(Terminal, ResizeMidLineKeepsTheLine) {
    ScratchDir dir;
    PtySession pty(in_dir(dir));
    ASSERT_TRUE(pty.wait_for("Rate? "));
    type_slowly(pty, {"1", "2"});
    pty.resize(40, 10);
    pty.drain(100ms);
    type_slowly(pty, {"3", LEFT, "4", "\r"});
    for (int i = 0; i < 200 && read_file(dir.file("square.bin")).size() < 131072; ++i) pty.drain(20ms);
    pty.drain(50ms);
    pty.type("q");
    EXPECT_EQ(pty.wait_exit(), 0);
    EXPECT_EQ(rate_in_files(dir), 1243);
}

// An Escape typed right after Enter is held back for its pause, and is
// still one of the keys typed during the run: the drain takes it, and the
// run waits for a key of its own.
TEST(Terminal, AnEscapeRightAfterEnterIsDrainedWithTheRun) {
    ScratchDir dir;
    PtySession pty(in_dir(dir));
    ASSERT_TRUE(pty.started());
    ASSERT_TRUE(pty.wait_for("Rate? ")) << pty.output();
    pty.type("128\r" + ESC);
    for (int i = 0; i < 200 && read_file(dir.file("square.bin")).size() < 131072; ++i) pty.drain(20ms);
    EXPECT_EQ(pty.wait_exit(500ms), -2) << "the Escape ended the run";
    pty.type("x");
    EXPECT_EQ(pty.wait_exit(10s), 0);
    EXPECT_EQ(rate_in_files(dir), 128);
}

// Ctrl+Z in the middle of the answer stops the program and gives the
// terminal back with its modes; when the shell continues it, the prompt
// and the answer so far are drawn again where the cursor stands now (the
// shell wrote lines meanwhile), the cursor never goes back above it, and
// the answer is kept.
TEST(Terminal, StopAndContinueDrawTheLineAgainWhereTheCursorIsNow) {
    ScratchDir dir;
    PtySession::Options options = in_dir(dir);
    options.job_control = true;
    PtySession pty(options);
    ASSERT_TRUE(pty.started());
    ASSERT_TRUE(pty.wait_for("Rate? ")) << pty.output();
    type_slowly(pty, {"1", "2"});
    pty.type("\x1a");
    ASSERT_TRUE(pty.wait_for("Stopped")) << pty.output();
    ASSERT_TRUE(pty.wait_for("$ ")) << pty.output();
    termios stopped{};
    ASSERT_TRUE(pty.modes(&stopped));
    EXPECT_TRUE(same_modes(stopped, pty.initial_modes()));
    constexpr int SHELL_ROW = 4;  // below "[1]+ Stopped", "$ fg" and "wavetable"
    pty.set_cursor_row(SHELL_ROW);
    const size_t resumed_at = pty.output().size();
    pty.type("fg\n");
    ASSERT_TRUE(pty.wait_for("Rate? ", 5s, resumed_at)) << pty.output().substr(resumed_at);
    ASSERT_TRUE(pty.wait_for("12", 5s, pty.output().find("Rate? ", resumed_at))) << pty.output().substr(resumed_at);
    type_slowly(pty, {"8", "\r"});
    for (int i = 0; i < 200 && read_file(dir.file("square.bin")).size() < 131072; ++i) pty.drain(20ms);
    pty.type("x");
    EXPECT_EQ(pty.wait_exit(10s), 0);
    EXPECT_EQ(rate_in_files(dir), 128);
    // Every cursor placement after the continue is on the shell's last row
    // or below it.
    const std::string after = pty.output().substr(resumed_at);
    for (size_t at = after.find("\x1b["); at != std::string::npos; at = after.find("\x1b[", at + 2)) {
        int row = 0, column = 0;
        char final = 0;
        if (std::sscanf(after.c_str() + at, "\x1b[%d;%d%c", &row, &column, &final) == 3 && final == 'H') {
            EXPECT_GE(row, SHELL_ROW) << "the cursor went up to row " << row;
        }
    }
}

}  // namespace
