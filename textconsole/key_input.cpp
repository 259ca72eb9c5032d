#include "runtime/console/console_end.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/key_sleep.h"
#include "runtime/console/key_string.h"
#include "runtime/console_stdin.h"
#include "runtime/strings.h"
#include "textconsole/console_input.h"
#include "textconsole/key_ring.h"
#include "textconsole/text_console.h"

namespace {

// Batch use: every byte after the line the program read is a key press.
// One poll takes at most a ring's worth, so an endless input can't keep a
// single poll from returning.
void read_redirected_keys() {
    uint8_t byte;
    int32_t got = 0;
    for (int32_t n = 0; n <= KeyRing::MASK && (got = console_stdin_poll_byte(&byte)) == 1; ++n) key_ring().push(byte);
    if (got < 0) text_console_closed();
}

// The console's input is there until it is read, so nothing needs noting:
// a wait ends as soon as input is at hand.
uint64_t note_nothing() { return 0; }

void wait_for_input(uint64_t, int32_t timeout_ms) { text_console_wait_for_input(timeout_ms); }

constexpr KeyWaiter INPUT_WAITER = {note_nothing, wait_for_input};

// Keys typed but held back for their pause (a lone Escape) are keys that
// wait: the poll settles them before it says no key is there, so that a
// drain of the keys typed meanwhile takes them too.
void settle_held_back_keys() {
    while (key_ring().empty() && !console_ended() && text_console_keys_pending()) {
        text_console_wait_for_input(-1);
        text_console_poll();
    }
}

bool g_closed;

}  // namespace

// Like the console control handler on a closed console window: the
// window-close key, once.
void text_console_closed() {
    if (g_closed) return;
    g_closed = true;
    console_mark_ended();
    key_ring().push(KEY_CLOSE, close_key_event());
}

void text_console_input_reset() {
    g_closed = false;
    key_ring() = KeyRing{};
}

void text_console_poll() {
    if (text_console_input_redirected())
        read_redirected_keys();
    else
        text_console_read_typed_keys();
}

StringDesc* text_console_inkey() {
    text_console_poll();
    settle_held_back_keys();
    key_poll_pause(!key_ring().empty(), 0, INPUT_WAITER);
    if (key_ring().empty()) return string_empty();
    return key_code_string(key_ring().take());
}

int32_t text_console_keyhit() {
    text_console_poll();
    settle_held_back_keys();
    return key_ring().empty() ? 0 : 1;
}

int32_t text_console_getkey() {
    for (;;) {
        text_console_poll();
        if (!key_ring().empty()) return key_ring().take();
        text_console_sleep(-1);
    }
}

void text_console_sleep(int32_t milliseconds) {
    sleep_until_key(
        milliseconds,
        [] {
            text_console_poll();
            return key_ring().pressed_take() != 0;
        },
        INPUT_WAITER);
}
