#include "textconsole/text_console.h"

#include "runtime/console/char_console.h"
#include "textconsole/console_input.h"

void text_console_reset() {
    text_console_input_reset();
    text_console_driver_reset();
}

namespace {

// The operations the character console serves; the runtime routes here
// every console operation that no graphics screen has taken over.
constexpr CharConsole TEXT_CONSOLE = {
    ConsoleHooks{
        .inkey = text_console_inkey,
        .getkey = text_console_getkey,
        .keyhit = text_console_keyhit,
        .locate = text_console_locate,
        .cursor_position = text_console_cursor_position,
        .text_size = text_console_size,
        .print_buffer = text_console_print,
        .line_input = text_console_line_input,
        .sleep = text_console_sleep,
        .input_redirected = text_console_input_redirected,
    },
    text_console_reset,
};

const bool g_registered = (char_console_register(&TEXT_CONSOLE), true);

}  // namespace
