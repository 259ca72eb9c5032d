#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

// The text console on a real Windows console: every test gets a screen
// buffer of its own, 40 columns by 50 rows, seen through a window of 10
// rows at its top, with attribute 0x1E, as standard output. Needs a
// console: the Linux-side tests start this program in a terminal under
// Wine.
class ConsoleDriverTest : public ::testing::Test {
   protected:
    static constexpr int COLUMNS = 40, BUFFER_ROWS = 50, WINDOW_ROWS = 10;
    static constexpr WORD ATTRIBUTE = 0x1E;

    void SetUp() override;
    void TearDown() override;

    HANDLE buffer() const { return buffer_; }
    // A buffer row as text, trailing blanks removed.
    std::string row(int y) const;
    WORD attribute(int x, int y) const;
    std::pair<int, int> cursor() const;  // buffer coordinates
    SMALL_RECT window() const;
    bool cursor_visible() const;
    void place_cursor(int x, int y) const;
    void show_rows(int top) const;  // the window's top row
    void write_at(int x, int y, const std::string& text) const;
    void print(const std::string& text, int32_t mask = 0) const;

   private:
    HANDLE buffer_ = INVALID_HANDLE_VALUE;
    HANDLE saved_output_ = INVALID_HANDLE_VALUE;
};
