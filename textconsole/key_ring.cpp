#include "textconsole/key_ring.h"

namespace {

KeyRing g_ring;

}  // namespace

KeyRing& key_ring() { return g_ring; }

void key_ring_push(int32_t code) {
    g_ring.codes[g_ring.write_index] = code;
    g_ring.write_index = (g_ring.write_index + 1) & KEY_RING_MASK;
    if (g_ring.write_index == g_ring.read_index) g_ring.read_index = (g_ring.read_index + 1) & KEY_RING_MASK;
    g_ring.key_pressed = 1;
}

bool key_ring_empty() { return g_ring.read_index == g_ring.write_index; }

int32_t key_ring_take() {
    int32_t code = g_ring.codes[g_ring.read_index];
    g_ring.read_index = (g_ring.read_index + 1) & KEY_RING_MASK;
    g_ring.key_pressed = 0;
    return code;
}

int32_t key_ring_pressed_take() {
    int32_t pressed = g_ring.key_pressed;
    g_ring.key_pressed = 0;
    return pressed;
}

void key_ring_clear() { g_ring = KeyRing{}; }
