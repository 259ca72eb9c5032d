#include "textconsole/console_input.h"
#include "textconsole/text_console.h"

void text_console_reset() {
    text_console_input_reset();
    text_console_driver_reset();
}
