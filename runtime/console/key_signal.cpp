#include "runtime/console/key_signal.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// The count is the signal's own state, under its own mutex: it is never
// the keys themselves, which stay under the display lock.
struct KeySignal {
    std::mutex mutex;
    std::condition_variable changed;
    uint64_t count = 0;
};

KeySignal& signal() {
    static KeySignal s;
    return s;
}

}  // namespace

uint64_t key_signal_count() {
    KeySignal& s = signal();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.count;
}

void key_signal_notify() {
    KeySignal& s = signal();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        ++s.count;
    }
    s.changed.notify_all();
}

bool key_signal_wait(uint64_t seen, int32_t timeout_ms) {
    KeySignal& s = signal();
    std::unique_lock<std::mutex> lock(s.mutex);
    const auto passed = [&] { return s.count != seen; };
    if (timeout_ms < 0) {
        s.changed.wait(lock, passed);
        return true;
    }
    return s.changed.wait_for(lock, std::chrono::milliseconds(timeout_ms), passed);
}
