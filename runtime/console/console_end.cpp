#include "runtime/console/console_end.h"

#include <atomic>
#include <cstdint>

#include "runtime/console/key_codes.h"
#include "runtime/console/key_signal.h"
#include "runtime/console/key_string.h"
#include "runtime/strings.h"

namespace {

std::atomic<bool> g_ended{false};

// Touched by the program's thread only.
struct EndPolls {
    bool idle;       // the last poll after the end found no key
    bool owe_close;  // a key test said yes on the end's behalf
};

EndPolls g_polls;

}  // namespace

void console_mark_ended() {
    g_ended.store(true);
    key_signal_notify();  // whoever waits for a key must look again
}

bool console_ended() { return g_ended.load(); }

StringDesc* console_end_filter_inkey(StringDesc* polled) {
    if (g_polls.owe_close || (console_ended() && string_length(polled) == 0 && g_polls.idle)) {
        temp_string_release(polled);
        g_polls = EndPolls{};
        return key_code_string(KEY_CLOSE);
    }
    g_polls.idle = console_ended() && string_length(polled) == 0;
    return polled;
}

int32_t console_end_filter_keyhit(int32_t polled) {
    if (g_polls.owe_close || polled || !console_ended()) return polled || g_polls.owe_close ? 1 : 0;
    if (!g_polls.idle) {
        g_polls.idle = true;
        return 0;
    }
    g_polls = EndPolls{false, true};
    return 1;
}

void console_end_reset() {
    g_ended.store(false);
    g_polls = EndPolls{};
}
