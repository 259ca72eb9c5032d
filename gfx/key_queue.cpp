#include "gfx/key_queue.h"

#include "gfx/screen.h"

namespace {

KeyQueue g_queue;

}  // namespace

KeyQueue& key_queue() { return g_queue; }

void key_post(int32_t code) {
    g_queue.slots[g_queue.write_index] = code;
    int32_t next = (g_queue.write_index + 1) & 15;
    if (next == g_queue.read_index) g_queue.read_index = (g_queue.read_index + 1) & 15;
    g_queue.write_index = next;
    g_queue.key_pressed = 1;
}

int32_t key_take() {
    gfx_lock();
    int32_t code = 0;
    if (g_queue.read_index != g_queue.write_index) {
        code = g_queue.slots[g_queue.read_index];
        g_queue.read_index = (g_queue.read_index + 1) & 15;
    }
    g_queue.key_pressed = 0;
    gfx_unlock(1, 0);
    return code;
}

int32_t key_pressed_take() {
    gfx_lock();
    int32_t pressed = g_queue.key_pressed;
    g_queue.key_pressed = 0;
    gfx_unlock(1, 0);
    return pressed;
}
