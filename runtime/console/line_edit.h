#pragma once
#include <cstdint>

#include "runtime/error.h"

struct StringDesc;

// The line editor shared by the graphics screen and the character console.
// Returns the edited line as a temporary string.
StringDesc* line_edit(int32_t show_mark);

// Linear cursor arithmetic on a grid of `columns`: moves by delta cells,
// rows unbounded in both directions.
void cursor_advance(int32_t* column, int32_t* row, int64_t delta, int32_t columns);

// cursor_advance, then places the console cursor there; a position just
// below the last row scrolls the console by one row instead.
void cursor_move(int32_t* column, int32_t* row, int64_t delta, int32_t columns, int32_t rows);

// The prompting line input's steps: settle a pending line break, print the
// prompt (and "? "), edit, end the line, and assign the line to dest.
ErrorCode line_input_steps(StringDesc* prompt, StringDesc* dest, int32_t add_question_mark, int32_t add_newline,
                           int32_t show_mark);

// Prints bytes on channel 0, the console channel, keeping its column.
void console_channel_print(const uint8_t* chars, uint64_t count);
