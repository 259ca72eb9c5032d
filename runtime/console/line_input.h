#pragma once
#include <cstdint>

#include "runtime/error.h"

struct StringDesc;

// Prompts on the console, reads one edited line into the input context (or,
// with redirected input, makes the console channel the input's source).
ErrorCode line_input(StringDesc* prompt, int32_t add_question_mark, int32_t add_newline);
