#include "runtime/console/key_signal.h"

#include <atomic>
#include <chrono>

#include "runtime/os.h"

namespace {

using Clock = std::chrono::steady_clock;

// Without a wake-up the waiter looks this often.
constexpr int32_t LOOK_MS = 10;

// The count is the signal's own state: it is never the keys themselves,
// which stay under the display lock. A notice counts first and wakes
// after, and the waiter looks at the count before every sleep, so no
// notice is lost; a wake-up left from an earlier notice only makes it look
// once more.
struct KeySignal {
    std::atomic<uint64_t> count{0};
    OsWakeup* wakeup = os_wakeup_create();  // kept for the process
};

KeySignal& signal() {
    static KeySignal s;
    return s;
}

int32_t milliseconds_until(Clock::time_point t) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return left > 0 ? static_cast<int32_t>(left) + 1 : 0;
}

void sleep_for(OsWakeup* wakeup, int32_t timeout_ms) {
    if (wakeup) return os_wakeup_wait(wakeup, timeout_ms);
    os_sleep_ms(timeout_ms < 0 || timeout_ms > LOOK_MS ? LOOK_MS : timeout_ms);
}

}  // namespace

uint64_t key_signal_count() { return signal().count.load(); }

void key_signal_notify() {
    KeySignal& s = signal();
    s.count.fetch_add(1);
    if (s.wakeup) os_wakeup_set(s.wakeup);
}

bool key_signal_wait(uint64_t seen, int32_t timeout_ms) {
    KeySignal& s = signal();
    const Clock::time_point end = Clock::now() + std::chrono::milliseconds(timeout_ms < 0 ? 0 : timeout_ms);
    for (;;) {
        if (s.count.load() != seen) return true;
        const int32_t left = timeout_ms < 0 ? -1 : milliseconds_until(end);
        if (left == 0) return false;
        sleep_for(s.wakeup, left);
    }
}
