#pragma once
#include <cstdint>

#include "runtime/error.h"

struct StringDesc;

// The character console: the runtime's console operations while no
// graphics screen is open. On this platform it is the terminal on standard
// input and output, or plain byte streams when they are redirected.

void text_console_reset();

// Output.
void text_console_print(const uint8_t* chars, int64_t count, int32_t mask);
int32_t text_console_locate(int32_t row, int32_t column, int32_t cursor);
void text_console_cursor_position(int32_t* column, int32_t* row);
void text_console_size(int32_t* columns, int32_t* rows);

// Keys.
void text_console_poll();
StringDesc* text_console_inkey();
int32_t text_console_getkey();
int32_t text_console_keyhit();
void text_console_sleep(int32_t milliseconds);
int32_t text_console_input_redirected();

ErrorCode text_console_line_input(StringDesc* prompt, StringDesc* dest, int64_t size, int32_t fill,
                                  int32_t add_question_mark, int32_t add_newline);
