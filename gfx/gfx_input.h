#pragma once
#include <cstdint>

#include "runtime/error.h"

struct StringDesc;

// Line input on the graphics screen (console hooks 14, 21, 22).
ErrorCode gfx_read_line(StringDesc* dest);
ErrorCode gfx_line_input(StringDesc* prompt, StringDesc* dest, int64_t size, int32_t fill, int32_t add_question_mark,
                         int32_t add_newline);
ErrorCode gfx_line_input_wide(StringDesc* prompt, StringDesc* dest, int64_t size, int32_t fill,
                              int32_t add_question_mark, int32_t add_newline);
