#pragma once
#include <cstdint>

#include "runtime/error.h"

struct StringDesc;

// The console operations that a graphics mode set redirects to the
// graphics screen, in table order. An empty slot sends the operation to the
// character console (runtime/console/char_console.h), which serves its
// operations from a table of the same form.
struct ConsoleHooks {
    StringDesc* (*inkey)() = nullptr;                                          // 1 key poll, empty string when none
    int32_t (*getkey)() = nullptr;                                             // 2 wait for a key, its code
    int32_t (*keyhit)() = nullptr;                                             // 3 is a key waiting
    void (*clear)(int32_t what) = nullptr;                                     // 4 clear the screen or the view
    void (*set_colour)(uint32_t fg, uint32_t bg, int32_t which) = nullptr;     // 5 bit 0 fg, bit 1 bg
    int32_t (*locate)(int32_t row, int32_t column, int32_t cursor) = nullptr;  // 6 place the text cursor
    int32_t (*set_text_size)(int32_t columns, int32_t rows) = nullptr;         // 7
    int32_t (*cursor_column)() = nullptr;                                      // 8 1-based
    int32_t (*cursor_row)() = nullptr;                                         // 9 1-based
    void (*cursor_position)(int32_t* column, int32_t* row) = nullptr;          // 10 1-based
    void (*text_size)(int32_t* columns, int32_t* rows) = nullptr;              // 11
    void (*print_buffer)(const uint8_t* chars, int64_t count, int32_t mask) = nullptr;        // 12
    void (*print_wide_buffer)(const uint16_t* chars, int64_t count, int32_t mask) = nullptr;  // 13
    ErrorCode (*read_line)(StringDesc* dest) = nullptr;                                       // 14 plain line reader
    int32_t (*key_state)(int32_t scan_code) = nullptr;                                        // 15 -1 while down
    ErrorCode (*get_mouse)(int32_t* x, int32_t* y, int32_t* wheel, int32_t* buttons, int32_t* clip) = nullptr;  // 16
    ErrorCode (*set_mouse)(int32_t x, int32_t y, int32_t cursor, int32_t clip) = nullptr;                       // 17
    int32_t (*port_in)(int32_t port) = nullptr;                                                                 // 18
    int32_t (*port_out)(int32_t port, int32_t value) = nullptr;                                                 // 19
    void (*print_area_changed)() = nullptr;                                                                     // 20
    ErrorCode (*line_input)(StringDesc* prompt, StringDesc* dest, int64_t size, int32_t fill, int32_t add_question_mark,
                            int32_t add_newline) = nullptr;  // 21
    ErrorCode (*line_input_wide)(StringDesc* prompt, StringDesc* dest, int64_t size, int32_t fill,
                                 int32_t add_question_mark, int32_t add_newline) = nullptr;  // 22
    int32_t (*read_cell)(int32_t row, int32_t column, int32_t colour) = nullptr;             // 23
    void (*sleep)(int32_t milliseconds) = nullptr;                                           // 24 ended early by a key
    int32_t (*input_redirected)() = nullptr;                        // 25 answers 0 on the screen
    int32_t (*copy_page)(int32_t from, int32_t to) = nullptr;       // 26
    int32_t (*set_pages)(int32_t work, int32_t visible) = nullptr;  // 27
};

inline constexpr int CONSOLE_HOOK_COUNT = 27;
static_assert(sizeof(ConsoleHooks) == CONSOLE_HOOK_COUNT * sizeof(void*));

// The runtime's hook table (part of the runtime context).
ConsoleHooks& console_hooks();
