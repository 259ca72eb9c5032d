#include "gfx/key_queue.h"

#include "gfx/screen.h"
#include "runtime/console/key_signal.h"

namespace {

KeyQueue g_queue;

}  // namespace

KeyQueue& key_queue() { return g_queue; }

void key_post(int32_t code) {
    g_queue.push(code);
    key_signal_notify();  // a key wait of the program's thread looks again
}

int32_t key_take() {
    gfx_lock();
    int32_t code = g_queue.take();
    gfx_unlock(1, 0);
    return code;
}

int32_t key_pressed_take() {
    gfx_lock();
    int32_t pressed = g_queue.pressed_take();
    gfx_unlock(1, 0);
    return pressed;
}
