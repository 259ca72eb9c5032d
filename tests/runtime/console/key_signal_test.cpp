#include "runtime/console/key_signal.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A notice from another thread ends a wait without a limit; one that came
// after the waiter noted the count, before it slept, ends the wait at once.
TEST(KeySignal, NoticesEndWaitsAndNoneIsLost) {
    const uint64_t noted = key_signal_count();
    std::thread poster([] {
        std::this_thread::sleep_for(20ms);
        key_signal_notify();
    });
    EXPECT_TRUE(key_signal_wait(noted, -1));
    poster.join();
    EXPECT_NE(key_signal_count(), noted);

    const uint64_t again = key_signal_count();
    key_signal_notify();  // between the look and the sleep
    EXPECT_TRUE(key_signal_wait(again, -1));
    EXPECT_TRUE(key_signal_wait(again, 0));  // the count stays past what was noted
}

// Without a notice the wait lasts its time and says so; a wake-up left
// over from an earlier notice does not end it.
TEST(KeySignal, AWaitWithoutANoticeLastsItsTime) {
    key_signal_notify();  // leaves a wake-up nobody took
    const uint64_t noted = key_signal_count();
    EXPECT_FALSE(key_signal_wait(noted, 0));
    const auto start = Clock::now();
    EXPECT_FALSE(key_signal_wait(noted, 30));
    EXPECT_GE(Clock::now() - start, 30ms);
}

}  // namespace
