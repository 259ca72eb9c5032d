#pragma once
#include <cstdint>

// How a console waits for a key: `note` what has arrived so far before
// looking for a key, then `wait` until something may have arrived since
// (or `timeout_ms` passed; negative: no limit). A wait may end early for
// nothing: the caller looks again.
struct KeyWaiter {
    uint64_t (*note)();
    void (*wait)(uint64_t noted, int32_t timeout_ms);
};

// The console's sleep, ended early by a key: -1 waits until `pressed`
// reports a key (or the console's input ends, or its screen is to be drawn
// again); other negative values
// return at once; 0 .. 99 sleep that long; 100 and more wait, ending early
// when a key is pressed while more than 50 ms remain, and sleep the rest.
// The waits sleep until a key arrives, not in slices.
void sleep_until_key(int32_t milliseconds, bool (*pressed)(), const KeyWaiter& waiter);

void sleep_ms(int32_t milliseconds);

// The pause after a key poll, so that a program polling in a loop doesn't
// burn a core: none after a poll that found a key; after one that found
// none, a wait for a key of up to 1 ms, and of up to a second when the
// program comes straight back from an empty poll to poll again (it does
// nothing else). A key ends the wait at once, so the pause costs a
// waiting program nothing and a typed key no time. `noted` is what the
// waiter noted before the poll.
void key_poll_pause(bool found, uint64_t noted, const KeyWaiter& waiter);
