#include "runtime/console_stdin.h"

#include <cstddef>
#include <cstdlib>

#include "runtime/os.h"

namespace {

struct ConsoleState {
    uint8_t buffer[4096];
    size_t pos;
    size_t len;
    bool at_end;
};

ConsoleState* g_state;

ConsoleState* state() {
    if (!g_state) g_state = static_cast<ConsoleState*>(std::calloc(1, sizeof(ConsoleState)));
    return g_state;
}

// Refills the buffer; false at the end of input (or on a read error, which
// ends the input just the same).
bool refill(ConsoleState* s) {
    const int64_t n = os_stdin_read(s->buffer, sizeof s->buffer);
    if (n > 0) {
        s->pos = 0;
        s->len = static_cast<size_t>(n);
        return true;
    }
    s->at_end = true;
    return false;
}

}  // namespace

void* console_stdin_state() { return state(); }

void console_stdin_release() {
    std::free(g_state);
    g_state = nullptr;
}

uint64_t console_stdin_read(void* buffer, uint64_t count) {
    ConsoleState* s = state();
    if (!s) return 0;
    auto* out = static_cast<uint8_t*>(buffer);
    uint64_t n = 0;
    while (n < count) {
        if (s->pos == s->len && (s->at_end || !refill(s))) break;
        out[n++] = s->buffer[s->pos++];
    }
    return n;
}

void console_stdin_wait(int32_t timeout_ms) {
    ConsoleState* s = state();
    if (!s || s->pos < s->len || s->at_end) return;
    os_stdin_wait(timeout_ms);
}

int32_t console_stdin_poll_byte(uint8_t* byte) {
    ConsoleState* s = state();
    if (!s) return -1;
    if (s->pos == s->len) {
        if (s->at_end) return -1;
        if (!os_stdin_ready()) return 0;
        if (!refill(s)) return -1;
    }
    *byte = s->buffer[s->pos++];
    return 1;
}
