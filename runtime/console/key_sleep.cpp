#include "runtime/console/key_sleep.h"

#include "runtime/os.h"

namespace {

constexpr int32_t QUICK_POLLS = 200;  // about a fifth of a second of 1 ms pauses
constexpr int32_t SLOW_PAUSE_MS = 20;

// Polls in a row that found no key; the program's thread alone polls.
int32_t g_empty_polls;

}  // namespace

void key_poll_pause(bool found) {
    if (found) {
        g_empty_polls = 0;
        return;
    }
    if (g_empty_polls < QUICK_POLLS) {
        ++g_empty_polls;
        sleep_ms(1);
    } else {
        sleep_ms(SLOW_PAUSE_MS);
    }
}

void sleep_ms(int32_t milliseconds) { os_sleep_ms(milliseconds); }

void sleep_until_key(int32_t milliseconds, bool (*pressed)()) {
    constexpr int32_t STEP = 50;
    if (milliseconds == -1) {
        while (!pressed()) sleep_ms(STEP);
        return;
    }
    if (milliseconds < 0) return;
    if (milliseconds < 100) {
        sleep_ms(milliseconds);
        return;
    }
    int32_t left = milliseconds;
    while (left > STEP) {
        sleep_ms(STEP);
        left -= STEP;
        if (pressed()) return;
    }
    sleep_ms(left);
}
