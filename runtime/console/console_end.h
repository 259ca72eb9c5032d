#pragma once
#include <cstdint>

struct StringDesc;

// The end of console input: the terminal hung up, redirected input ran
// out, or the display connection was lost. Nobody can type any more, so
// whatever waits for a key must not wait for ever.

// Marks the console as ended; safe from any thread.
void console_mark_ended();
bool console_ended();

// Applied to every key poll of the runtime: once ended, a poll never
// answers "no key" twice in a row; the second answer is the window-close
// key. So a loop that drains keys until none is left still ends, and a
// wait for the next key ends too.
StringDesc* console_end_filter_inkey(StringDesc* polled);
int32_t console_end_filter_keyhit(int32_t polled);

void console_end_reset();
