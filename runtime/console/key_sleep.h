#pragma once
#include <cstdint>

// The console's sleep, ended early by a key: -1 waits until `pressed`
// reports a key (asked at once, then every 50 ms); other negative values
// return at once; 0 .. 99 sleep that long; 100 and more sleep in 50 ms
// steps, ending early once a key was pressed, then sleep the rest.
void sleep_until_key(int32_t milliseconds, bool (*pressed)());

void sleep_ms(int32_t milliseconds);

// The pause after a key poll, so that a program polling in a loop doesn't
// burn a core: none after a poll that found a key; after one that found
// none, 1 ms, and 20 ms once polls have found nothing for a while (a wait
// for a key then costs next to nothing, and a key still ends it within a
// frame or two).
void key_poll_pause(bool found);
