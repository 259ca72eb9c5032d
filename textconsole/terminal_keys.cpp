#include "runtime/console_channel.h"
#include "textconsole/console_input.h"
#include "textconsole/key_ring.h"

void terminal_read_keys() {
    uint8_t byte;
    int32_t got;
    while ((got = console_stdin_poll_byte(&byte)) == 1) key_ring_push(byte == '\n' ? '\r' : byte);
    if (got < 0) text_console_closed();
}
