#include "gfx/gfx_input.h"

#include <cstring>

#include "gfx/gfx_text.h"
#include "runtime/console/console.h"
#include "runtime/console/line_edit.h"
#include "runtime/strings.h"

ErrorCode gfx_read_line(StringDesc* dest) {
    string_assign(dest, line_edit(1));
    return ERR_NONE;
}

ErrorCode gfx_line_input(StringDesc* prompt, StringDesc* dest, int64_t, int32_t, int32_t add_question_mark,
                         int32_t add_newline) {
    return line_input_steps(prompt, dest, add_question_mark, add_newline, 1);
}

namespace {

// Wide strings hold 16-bit units; the console's characters are bytes.
void print_wide_prompt(StringDesc* prompt) {
    if (!prompt) return;
    uint64_t units = string_length(prompt) / 2;
    if (units) {
        auto* chars = new uint16_t[units];
        std::memcpy(chars, prompt->data, units * 2);
        gfx_print_wide_buffer(chars, static_cast<int64_t>(units), 0);
        delete[] chars;
    }
    temp_string_release(prompt);
}

void assign_widened(StringDesc* dest, StringDesc* line) {
    uint64_t n = string_length(line);
    if (string_resize(dest, 2 * n, false)) {
        for (uint64_t i = 0; i < n; ++i) {
            uint16_t unit = line->data[i];
            std::memcpy(dest->data + 2 * i, &unit, 2);
        }
        dest->data[2 * n] = 0;
    }
    temp_string_release(line);
}

}  // namespace

ErrorCode gfx_line_input_wide(StringDesc* prompt, StringDesc* dest, int64_t, int32_t, int32_t add_question_mark,
                              int32_t add_newline) {
    console_print_buffer(nullptr, 0, PRINT_RESOLVE_NEWLINE);
    print_wide_prompt(prompt);
    if (add_question_mark) console_channel_print(reinterpret_cast<const uint8_t*>("? "), 2);
    StringDesc* line = line_edit(1);
    if (add_newline) console_channel_print(reinterpret_cast<const uint8_t*>("\r\n"), 2);
    assign_widened(dest, line);
    return ERR_NONE;
}
