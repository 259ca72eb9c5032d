#pragma once
#include <cstdint>

// News for whoever waits for a key: a key was posted to the graphics key
// queue, or the console's input ended. It carries no keys; a waiter notes
// the count, looks for a key itself, and sleeps only if it found none, so
// no notice between its look and its sleep is lost.

// The notices so far.
uint64_t key_signal_count();

// From any thread.
void key_signal_notify();

// Sleeps until the count is past `seen` or `timeout_ms` have passed (a
// negative timeout: no limit). Whether a notice came.
bool key_signal_wait(uint64_t seen, int32_t timeout_ms);
