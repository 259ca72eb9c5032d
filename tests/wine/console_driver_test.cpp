// The text console driver's own suite (tests/console_driver/) needs a real
// console, which Wine gives a program in a terminal: it runs here, in a
// tmux pane, with its report going to a file.
#include <gtest/gtest.h>

#include "support/posix/tmux_session.h"

namespace {

using namespace std::chrono_literals;

TEST(WineConsoleDriver, SuitePassesOnWinesConsole) {
    if (!file_exists(WT_WINDOWS_CONSOLE_TESTS)) GTEST_SKIP() << WT_WINDOWS_CONSOLE_TESTS << " was not built";
    ScratchDir dir;
    TmuxSession::Options o;
    o.command = {WINE_RUN, WT_WINDOWS_CONSOLE_TESTS};
    o.directory = dir.path();
    o.stdout_file = dir.file("report.txt");
    TmuxSession s(o);
    ASSERT_TRUE(s.started());
    const std::optional<int> status = s.wait_exit(90s);
    const std::vector<unsigned char> bytes = read_file(dir.file("report.txt"));
    const std::string report(bytes.begin(), bytes.end());
    ASSERT_TRUE(status.has_value()) << "still running\n" << report;
    EXPECT_EQ(*status, 0) << report;
    EXPECT_NE(report.find("[  PASSED  ]"), std::string::npos) << report;
}

}  // namespace
