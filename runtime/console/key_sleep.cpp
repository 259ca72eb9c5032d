#include "runtime/console/key_sleep.h"

#include <chrono>

#include "runtime/console/console_end.h"
#include "runtime/console/console_redraw.h"
#include "runtime/os.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int32_t FIRST_PAUSE_MS = 1;
constexpr int32_t IDLE_PAUSE_MS = 1000;
// A poll this soon after the last empty one ended comes from a loop that
// does nothing but poll.
constexpr auto STRAIGHT_BACK = std::chrono::milliseconds(1);
// The last stretch of a long sleep is not ended by a key.
constexpr int32_t UNBROKEN_TAIL_MS = 50;

// The program's thread alone polls.
struct Polls {
    bool last_empty = false;
    Clock::time_point last_end{};
};

Polls g_polls;

int32_t milliseconds_until(Clock::time_point t) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return left > 0 ? static_cast<int32_t>(left) : 0;
}

}  // namespace

void key_poll_pause(bool found, uint64_t noted, const KeyWaiter& waiter) {
    if (found) {
        g_polls.last_empty = false;
        return;
    }
    const bool idle = g_polls.last_empty && Clock::now() - g_polls.last_end < STRAIGHT_BACK;
    // Once the input has ended the next poll has its answer at once.
    if (!console_ended()) waiter.wait(noted, idle ? IDLE_PAUSE_MS : FIRST_PAUSE_MS);
    g_polls.last_empty = true;
    g_polls.last_end = Clock::now();
}

void sleep_ms(int32_t milliseconds) { os_sleep_ms(milliseconds); }

void sleep_until_key(int32_t milliseconds, bool (*pressed)(), const KeyWaiter& waiter) {
    if (milliseconds == -1) {
        for (;;) {
            const uint64_t noted = waiter.note();
            // A screen to draw again ends the wait too: whoever waits has
            // something to do.
            if (pressed() || console_ended() || console_redraw_pending()) return;
            waiter.wait(noted, -1);
        }
    }
    if (milliseconds < 0) return;
    if (milliseconds < 100) {
        sleep_ms(milliseconds);
        return;
    }
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(milliseconds);
    const Clock::time_point tail = end - std::chrono::milliseconds(UNBROKEN_TAIL_MS);
    for (;;) {
        const uint64_t noted = waiter.note();
        if (pressed()) return;
        const int32_t left = milliseconds_until(tail);
        // Once the input has ended no key can come: the rest is slept.
        if (left == 0 || console_ended()) break;
        waiter.wait(noted, left);
    }
    sleep_ms(milliseconds_until(end));
}
