// Printing, scrolling and the cursor of the text console on a real console.
#include <string>

#include "console_fixture.h"
#include "runtime/console/print_area.h"
#include "textconsole/text_console.h"

namespace {

using Output = ConsoleDriverTest;

TEST_F(Output, PrintsAtTheCursorInTheCurrentAttribute) {
    place_cursor(5, 2);
    print("Rate? ");
    EXPECT_EQ(row(2), "     Rate?");
    EXPECT_EQ(attribute(5, 2), ATTRIBUTE);
    EXPECT_EQ(attribute(10, 2), ATTRIBUTE);
    EXPECT_EQ(cursor(), std::make_pair(11, 2));
    int32_t column = 0, line = 0;
    text_console_cursor_position(&column, &line);
    EXPECT_EQ(column, 12);
    EXPECT_EQ(line, 3);
    text_console_size(&column, &line);
    EXPECT_EQ(column, COLUMNS);
    EXPECT_EQ(line, WINDOW_ROWS);
}

TEST_F(Output, ControlCharactersWrapAndTabs) {
    place_cursor(0, 0);
    print("ab\tc\r\nd\bX" + std::string(COLUMNS - 2, '-') + "yz");
    EXPECT_EQ(row(0), "ab      c");
    EXPECT_EQ(row(1), "X" + std::string(COLUMNS - 2, '-') + "y");
    EXPECT_EQ(row(2), "z");
    EXPECT_EQ(cursor(), std::make_pair(1, 2));
}

// Text that ends in the bottom-right cell waits there; what comes next
// starts a row that the window slides down to, through the buffer.
TEST_F(Output, LastCellWaitsThenTheWindowSlidesDown) {
    write_at(0, 0, "top");
    place_cursor(0, WINDOW_ROWS - 1);
    print(std::string(COLUMNS, '#'));
    EXPECT_EQ(cursor(), std::make_pair(COLUMNS - 1, WINDOW_ROWS - 1));
    EXPECT_EQ(window().Top, 0);
    print("next");
    EXPECT_EQ(window().Top, 1);
    EXPECT_EQ(window().Bottom, WINDOW_ROWS);
    EXPECT_EQ(row(WINDOW_ROWS), "next");
    EXPECT_EQ(row(WINDOW_ROWS - 1), std::string(COLUMNS, '#'));
    EXPECT_EQ(row(0), "top");  // the buffer itself did not scroll
    EXPECT_EQ(cursor(), std::make_pair(4, WINDOW_ROWS));
}

// A zero-length print with mask 0x8 carries out the waiting line break.
TEST_F(Output, MaskEightResolvesThePendingLineBreak) {
    place_cursor(0, WINDOW_ROWS - 1);
    print(std::string(COLUMNS, '#'));
    print("", 0);
    EXPECT_EQ(window().Top, 0);
    print("", 0x8);
    EXPECT_EQ(window().Top, 1);
    EXPECT_EQ(cursor(), std::make_pair(0, WINDOW_ROWS));
}

// Five rows are left below the window: it slides by five, then the whole
// buffer scrolls by the other three; the freed rows are blank in the
// current attribute.
TEST_F(Output, SlideThenScrollTheBuffer) {
    show_rows(35);
    write_at(0, 3, "fourth row");
    place_cursor(0, 44);
    print("mark" + std::string(8, '\n'));
    EXPECT_EQ(window().Top, 40);
    EXPECT_EQ(window().Bottom, 49);
    EXPECT_EQ(row(0), "fourth row");
    EXPECT_EQ(row(41), "mark");
    for (int y = 42; y < BUFFER_ROWS; ++y) EXPECT_EQ(row(y), "") << y;
    EXPECT_EQ(attribute(0, 49), ATTRIBUTE);
    EXPECT_EQ(cursor(), std::make_pair(0, 49));
}

TEST_F(Output, LineEndOnTheLastBufferRowScrollsTheBuffer) {
    show_rows(BUFFER_ROWS - WINDOW_ROWS);
    write_at(0, 1, "second row");
    place_cursor(0, BUFFER_ROWS - 1);
    print("abc\r\n");
    EXPECT_EQ(row(0), "second row");
    EXPECT_EQ(row(BUFFER_ROWS - 2), "abc");
    EXPECT_EQ(row(BUFFER_ROWS - 1), "");
    EXPECT_EQ(cursor(), std::make_pair(0, BUFFER_ROWS - 1));
}

// A print area that is only a part of the window scrolls by itself.
TEST_F(Output, PrintAreaScrollsAlone) {
    view_print(3, 6);  // window rows 3..6: buffer rows 2..5
    write_at(0, 0, "above");
    write_at(0, 2, "first");
    write_at(0, 8, "below");
    place_cursor(0, 5);
    print("last\r\nnew");
    EXPECT_EQ(row(0), "above");
    EXPECT_EQ(row(8), "below");
    EXPECT_EQ(row(1), "");
    EXPECT_EQ(row(2), "");  // "first" went out at the top of the area
    EXPECT_EQ(row(4), "last");
    EXPECT_EQ(row(5), "new");
    EXPECT_EQ(window().Top, 0);
}

TEST_F(Output, LocateMovesTheCursorAndSetsItsVisibility) {
    show_rows(20);
    place_cursor(0, 20);
    EXPECT_EQ(text_console_locate(3, 7, 0), (3 * 256 + 7) | 0x10000);  // was visible
    EXPECT_EQ(cursor(), std::make_pair(6, 22));
    EXPECT_FALSE(cursor_visible());
    EXPECT_EQ(text_console_locate(0, 0, -1), 3 * 256 + 7);  // hidden now, and left so
    EXPECT_EQ(cursor(), std::make_pair(6, 22));
    EXPECT_FALSE(cursor_visible());
    text_console_locate(0, 0, 1);
    EXPECT_TRUE(cursor_visible());
}

// Placing the cursor cancels a waiting line break.
TEST_F(Output, LocateCancelsThePendingLineBreak) {
    place_cursor(0, WINDOW_ROWS - 1);
    print(std::string(COLUMNS, '#'));
    text_console_locate(0, 0, -1);
    print("!");
    EXPECT_EQ(window().Top, 0);
    EXPECT_EQ(row(WINDOW_ROWS - 1), std::string(COLUMNS - 1, '#') + "!");
}

// Output that is no console gets the bytes unchanged, and the console
// answers with its defaults.
TEST_F(Output, OutputToAFileGetsTheBytes) {
    const std::string path = ::testing::TempDir() + "console_output_test.txt";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    SetStdHandle(STD_OUTPUT_HANDLE, file);
    text_console_reset();
    const std::string bytes = "Rate? \t\x07\xff\r\n";
    print(bytes);
    int32_t columns = 0, rows = 0;
    text_console_size(&columns, &rows);
    EXPECT_EQ(columns, 80);
    EXPECT_EQ(rows, 25);
    text_console_cursor_position(&columns, &rows);
    EXPECT_EQ(columns, 0);
    EXPECT_EQ(rows, 0);
    char back[32] = {};
    DWORD read = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    ReadFile(file, back, sizeof back, &read, nullptr);
    EXPECT_EQ(std::string(back, read), bytes);
    SetStdHandle(STD_OUTPUT_HANDLE, buffer());
    CloseHandle(file);
}

}  // namespace
