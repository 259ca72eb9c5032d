#include "textconsole/console_input.h"
#include "textconsole/terminal.h"
#include "textconsole/text_console.h"

void text_console_reset() {
    text_console_input_reset();
    terminal_keys_reset();
    terminal_reset();
}
