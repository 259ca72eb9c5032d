// Keys from the terminal, and the cursor position asked of it.
//
// Escape sequences used here:
//   ESC [ 6 n                the terminal reports the cursor position as
//   ESC [ row ; column R     (read back from standard input)
// Key sequences are decoded by KeyDecoder (textconsole/terminal/key_decoder.h).
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "runtime/console/console_redraw.h"
#include "runtime/console/print_area.h"
#include "runtime/console_stdin.h"
#include "textconsole/console_input.h"
#include "textconsole/key_ring.h"
#include "textconsole/terminal/key_decoder.h"
#include "textconsole/terminal/terminal.h"

namespace {

using Clock = std::chrono::steady_clock;

// A lone Escape is told from the start of a sequence by this pause.
constexpr auto ESCAPE_PAUSE = std::chrono::milliseconds(50);
// How long the terminal gets to answer a cursor position request.
constexpr auto REPORT_WAIT = std::chrono::milliseconds(300);

struct KeyReader {
    std::unique_ptr<KeyDecoder> decoder;
    std::string early;  // bytes read while waiting for a position report
    Clock::time_point last_byte;
};

KeyReader g_reader;

KeyDecoder& decoder() {
    if (!g_reader.decoder) g_reader.decoder = std::make_unique<KeyDecoder>(terminfo_key_sequences(STDIN_FILENO));
    return *g_reader.decoder;
}

void push_codes(const std::vector<int32_t>& codes) {
    for (int32_t code : codes) key_ring().push(code);
}

void feed(uint8_t byte) {
    std::vector<int32_t> codes;
    decoder().feed(byte, codes);
    push_codes(codes);
    g_reader.last_byte = Clock::now();
}

// Reads the answer to ESC [ 6 n. Other bytes that arrive first (keys typed
// ahead) are kept for the key reader. False when no answer came.
bool read_position_report(int32_t* row, int32_t* column) {
    std::string pending;  // a possible report being read
    auto deadline = Clock::now() + REPORT_WAIT;
    while (Clock::now() < deadline) {
        uint8_t byte;
        int32_t got = console_stdin_poll_byte(&byte);
        if (got < 0) break;
        if (got == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        pending.push_back(static_cast<char>(byte));
        int r = 0, c = 0;
        char final = 0;
        if (pending[0] != '\x1b') {
            g_reader.early += pending;
            pending.clear();
        } else if (std::sscanf(pending.c_str(), "\x1b[%d;%d%c", &r, &c, &final) == 3 && final == 'R') {
            *row = r;
            *column = c;
            return true;
        } else if (pending.size() > 16 || (pending.size() > 1 && pending[1] != '[')) {
            g_reader.early += pending;
            pending.clear();
        }
    }
    g_reader.early += pending;
    return false;
}

void query_cursor() {
    TerminalState& t = terminal();
    t.cursor_x = 0;
    t.cursor_y = t.rows - 1;
    if (!terminal_input_tty()) return;  // nobody to answer: assume the bottom row
    terminal_enter_raw();
    terminal_flush();
    write_all(STDOUT_FILENO, "\x1b[6n", 4);
    int32_t row = 0, column = 0;
    if (!read_position_report(&row, &column)) return;
    t.cursor_x = column - 1 < t.columns ? column - 1 : t.columns - 1;
    t.cursor_y = row - 1 < t.rows ? row - 1 : t.rows - 1;
}

// After a resize the print area follows the window when it covered all of
// it, and the cursor is asked for again: the terminal may have moved it.
void follow_resize() {
    int32_t old_rows = terminal().rows;
    if (!terminal_resized()) return;
    const PrintArea& area = print_area();
    if (area.top <= 0 && area.bottom == old_rows - 1) print_area_unset();
    terminal().cursor_synced = false;
    terminal().pending_newline = false;
}

}  // namespace

void terminal_sync_cursor() {
    follow_resize();
    TerminalState& t = terminal();
    if (t.cursor_synced) return;
    t.cursor_synced = true;
    query_cursor();
}

void text_console_read_typed_keys() {
    terminal_enter_raw();
    if (terminal_has_window()) follow_resize();
    if (terminal_hung_up()) text_console_closed();
    if (terminal_resumed()) console_request_redraw();
    std::string early;
    early.swap(g_reader.early);
    for (char c : early) feed(static_cast<uint8_t>(c));
    uint8_t byte;
    int32_t got = 0;
    for (int32_t n = 0; n <= KeyRing::MASK && (got = console_stdin_poll_byte(&byte)) == 1; ++n) feed(byte);
    if (got < 0) text_console_closed();
    if (decoder().pending() && Clock::now() - g_reader.last_byte >= ESCAPE_PAUSE) {
        std::vector<int32_t> codes;
        decoder().timeout(codes);
        push_codes(codes);
    }
}

// A held-back Escape waits only for the rest of its pause: then it is a
// key of its own.
void text_console_wait_for_input(int32_t timeout_ms) {
    if (!g_reader.early.empty()) return;
    if (decoder().pending()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(g_reader.last_byte + ESCAPE_PAUSE - Clock::now())
                .count();
        const int32_t pause = left > 0 ? static_cast<int32_t>(left) + 1 : 0;
        if (timeout_ms < 0 || pause < timeout_ms) timeout_ms = pause;
    }
    console_stdin_wait(timeout_ms);
}

bool text_console_keys_pending() { return !g_reader.early.empty() || decoder().pending(); }

void text_console_driver_reset() {
    g_reader.early.clear();
    g_reader.decoder.reset();
    terminal_reset();
}

int32_t text_console_input_redirected() { return terminal_input_tty() ? 0 : 1; }
