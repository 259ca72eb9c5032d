#include "console_fixture.h"

#include "runtime/console/console_end.h"
#include "runtime/console/print_area.h"
#include "runtime/runtime_context.h"
#include "textconsole/text_console.h"

void ConsoleDriverTest::SetUp() {
    runtime_init();
    buffer_ = CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(buffer_, INVALID_HANDLE_VALUE) << "no console: run this program in a terminal";
    const SMALL_RECT small{0, 0, COLUMNS - 1, WINDOW_ROWS - 1};
    ASSERT_TRUE(SetConsoleWindowInfo(buffer_, TRUE, &small));
    ASSERT_TRUE(SetConsoleScreenBufferSize(buffer_, COORD{COLUMNS, BUFFER_ROWS}));
    ASSERT_TRUE(SetConsoleTextAttribute(buffer_, ATTRIBUTE));
    CONSOLE_CURSOR_INFO shape{25, TRUE};
    ASSERT_TRUE(SetConsoleCursorInfo(buffer_, &shape));
    saved_output_ = GetStdHandle(STD_OUTPUT_HANDLE);
    ASSERT_TRUE(SetStdHandle(STD_OUTPUT_HANDLE, buffer_));
    FlushConsoleInputBuffer(GetStdHandle(STD_INPUT_HANDLE));
    text_console_reset();
    print_area_unset();
    console_end_reset();
}

void ConsoleDriverTest::TearDown() {
    if (saved_output_ != INVALID_HANDLE_VALUE) SetStdHandle(STD_OUTPUT_HANDLE, saved_output_);
    if (buffer_ != INVALID_HANDLE_VALUE) CloseHandle(buffer_);
    text_console_reset();
    print_area_unset();
}

std::string ConsoleDriverTest::row(int y) const {
    char text[COLUMNS] = {};
    DWORD read = 0;
    ReadConsoleOutputCharacterA(buffer_, text, COLUMNS, COORD{0, static_cast<SHORT>(y)}, &read);
    std::string s(text, read);
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

WORD ConsoleDriverTest::attribute(int x, int y) const {
    WORD a = 0;
    DWORD read = 0;
    ReadConsoleOutputAttribute(buffer_, &a, 1, COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)}, &read);
    return a;
}

std::pair<int, int> ConsoleDriverTest::cursor() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(buffer_, &info);
    return {info.dwCursorPosition.X, info.dwCursorPosition.Y};
}

SMALL_RECT ConsoleDriverTest::window() const {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    GetConsoleScreenBufferInfo(buffer_, &info);
    return info.srWindow;
}

bool ConsoleDriverTest::cursor_visible() const {
    CONSOLE_CURSOR_INFO shape{};
    GetConsoleCursorInfo(buffer_, &shape);
    return shape.bVisible;
}

void ConsoleDriverTest::place_cursor(int x, int y) const {
    SetConsoleCursorPosition(buffer_, COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)});
}

void ConsoleDriverTest::show_rows(int top) const {
    const SMALL_RECT w{0, static_cast<SHORT>(top), COLUMNS - 1, static_cast<SHORT>(top + WINDOW_ROWS - 1)};
    SetConsoleWindowInfo(buffer_, TRUE, &w);
}

void ConsoleDriverTest::write_at(int x, int y, const std::string& text) const {
    DWORD written = 0;
    WriteConsoleOutputCharacterA(buffer_, text.data(), static_cast<DWORD>(text.size()),
                                 COORD{static_cast<SHORT>(x), static_cast<SHORT>(y)}, &written);
}

void ConsoleDriverTest::print(const std::string& text, int32_t mask) const {
    text_console_print(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int64_t>(text.size()), mask);
}
