#include <unistd.h>

#include <chrono>
#include <thread>

#include "gfx/key_codes.h"
#include "runtime/console_channel.h"
#include "runtime/console_end.h"
#include "runtime/strings.h"
#include "textconsole/console_input.h"
#include "textconsole/key_ring.h"
#include "textconsole/text_console.h"

namespace {

void pause_ms(int32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Batch use: every byte after the line the program read is a key press.
// One poll takes at most a ring's worth, so an endless input can't keep a
// single poll from returning.
void read_redirected_keys() {
    uint8_t byte;
    int32_t got = 0;
    for (int32_t n = 0; n <= KEY_RING_MASK && (got = console_stdin_poll_byte(&byte)) == 1; ++n) key_ring_push(byte);
    if (got < 0) text_console_closed();
}

// A poll that found nothing gives up the processor for a moment, so that a
// program polling in a loop doesn't burn a core. Not once the console has
// ended: the next poll has an answer at once.
void idle_pause() {
    if (key_ring_empty() && !console_ended()) pause_ms(1);
}

bool g_closed;

}  // namespace

// Like the console control handler on a closed console window: the
// window-close key, once.
void text_console_closed() {
    if (g_closed) return;
    g_closed = true;
    console_mark_ended();
    key_ring_push(KEY_CLOSE);
}

void text_console_input_reset() {
    g_closed = false;
    key_ring_clear();
}

void text_console_poll() {
    if (text_console_input_redirected())
        read_redirected_keys();
    else
        terminal_read_keys();
}

StringDesc* text_console_inkey() {
    text_console_poll();
    if (key_ring_empty()) {
        idle_pause();
        return string_empty();
    }
    return key_code_string(key_ring_take());
}

int32_t text_console_keyhit() {
    text_console_poll();
    return key_ring_empty() ? 0 : 1;
}

int32_t text_console_getkey() {
    for (;;) {
        text_console_poll();
        if (!key_ring_empty()) return key_ring_take();
        text_console_sleep(-1);
    }
}

void text_console_sleep(int32_t milliseconds) {
    auto pressed = [] {
        text_console_poll();
        return key_ring_pressed_take() != 0;
    };
    if (milliseconds == -1) {
        while (!pressed()) pause_ms(50);
        return;
    }
    if (milliseconds < 0) return;
    if (milliseconds < 100) {
        pause_ms(milliseconds);
        return;
    }
    int32_t left = milliseconds;
    while (left > 50) {
        pause_ms(50);
        left -= 50;
        if (pressed()) return;
    }
    pause_ms(left);
}

int32_t text_console_input_redirected() { return isatty(STDIN_FILENO) ? 0 : 1; }

void text_console_push_key(int32_t code) { key_ring_push(code); }
