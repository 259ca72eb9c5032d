#pragma once
#include <cstdint>

// The character console's queue of key codes: 512 entries, at most 511
// held; a push into a full ring drops the oldest.
struct KeyRing {
    int32_t codes[512];
    int32_t read_index;
    int32_t write_index;
    int32_t key_pressed;
};

inline constexpr int32_t KEY_RING_MASK = 511;

KeyRing& key_ring();
void key_ring_push(int32_t code);
bool key_ring_empty();
// The oldest code; call only when not empty. Clears the key-pressed flag.
int32_t key_ring_take();
// The key-pressed flag before clearing it.
int32_t key_ring_pressed_take();
void key_ring_clear();
