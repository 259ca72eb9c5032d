#pragma once
#include <cstdint>

// The runtime's string descriptor. Bit 63 of `length` marks data that
// belongs to a temporary result and is freed when the descriptor is
// released; bits 0..62 count the characters.
struct StringDesc {
    uint8_t* data;
    uint64_t length;
    uint64_t capacity;
};

inline constexpr uint64_t STRING_TEMP_FLAG = 1ull << 63;
inline constexpr int32_t TEMP_STRING_COUNT = 256;

inline uint64_t string_length(const StringDesc* s) { return s ? s->length & ~STRING_TEMP_FLAG : 0; }
inline bool string_is_temp(const StringDesc* s) { return s && (s->length & STRING_TEMP_FLAG) != 0; }

// The permanently empty string of the runtime context.
StringDesc* string_empty();

StringDesc* temp_string_from_literal(const void* text, uint64_t length);
StringDesc* temp_string_alloc(StringDesc* desc, uint64_t length);
// Builds a temporary of `count` bytes, the low byte of each code in turn.
StringDesc* temp_string_from_chars(int32_t count, const int32_t* codes);
StringDesc* string_resize(StringDesc* desc, uint64_t length, bool keep);
void string_delete(StringDesc* desc);
int32_t temp_string_release(StringDesc* desc);
// Sizes of -1 mark StringDesc operands; any other size a zero-terminated text.
int32_t string_compare(const void* a, int64_t a_size, const void* b, int64_t b_size);

// Two zero-terminated names equal when ASCII letters are compared without
// regard to case (file and driver names; the locale plays no part).
bool ascii_equal_ignoring_case(const char* a, const char* b);

// Makes dest a copy of src (dest owns its data afterwards) and releases src
// when it is a temporary. Used to hand a line over to a variable.
void string_assign(StringDesc* dest, StringDesc* src);

// Pool inspection for tests and diagnostics.
int32_t temp_string_in_use();
