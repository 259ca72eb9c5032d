#pragma once
#include <cstdint>

#include "runtime/error.h"
#include "runtime/strings.h"

struct ChannelRecord;

// Where input tokens come from: a channel when source is set, else text.
struct InputContext {
    ChannelRecord* source;
    int32_t status;
    StringDesc text;
    int32_t index;
};

inline constexpr int32_t TOKEN_CAPACITY = 67;

InputContext* input_context();

int32_t input_getc();
void input_ungetc(int32_t c);
int32_t input_token(char* buffer, int64_t capacity, int32_t* float_mark);
uint32_t token_to_uint(const char* token, int32_t length);
double token_to_double(const char* token, int32_t length);
ErrorCode input_short(int16_t* out);
