#include "runtime/console/line_input.h"

#include "runtime/console/char_console.h"
#include "runtime/console/console.h"
#include "runtime/console/console_channel.h"
#include "runtime/numeric_input.h"
#include "runtime/strings.h"

ErrorCode line_input(StringDesc* prompt, int32_t add_question_mark, int32_t add_newline) {
    ChannelRecord* console = console_channel_prepare();
    InputContext* input = input_context();
    if (console_input_redirected()) {
        // Batch use: the input's tokens come straight from standard input,
        // and nobody is there to read a prompt.
        temp_string_release(prompt);
        input->source = console;
        return set_last_error(ERR_NONE);
    }
    string_delete(&input->text);
    input->source = nullptr;
    input->status = 0;
    input->index = 0;
    auto read_line = console_operation<&ConsoleHooks::line_input>();
    if (!read_line) {
        temp_string_release(prompt);
        return set_last_error(ERR_INVALID_CALL);
    }
    return set_last_error(read_line(prompt, &input->text, -1, 0, add_question_mark, add_newline));
}
