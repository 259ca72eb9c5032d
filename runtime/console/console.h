#pragma once
#include <cstdint>

struct StringDesc;

// Console operations of the runtime: each goes to its console hook while a
// graphics screen is open, else to the character console.

inline constexpr int32_t PRINT_RESOLVE_NEWLINE = 0x8;  // mask: carry out a pending line break

void console_print_buffer(const uint8_t* chars, int64_t count, int32_t mask);
void console_print(const char* text);  // zero-terminated convenience
// Runtime-wide cursor placement (1-based; 0 keeps the coordinate), checked
// against the print area and the columns. Returns the cursor state word.
int32_t console_locate(int32_t row, int32_t column, int32_t cursor);
void console_cursor_position(int32_t* column, int32_t* row);
void console_text_size(int32_t* columns, int32_t* rows);
StringDesc* inkey();
int32_t keyhit();
int32_t getkey();
void console_sleep(int32_t milliseconds);
int32_t console_input_redirected();
