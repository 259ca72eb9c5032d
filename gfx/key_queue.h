#pragma once
#include <cstdint>

#include "runtime/console/code_ring.h"

// The queue of key codes between the display window and the program: 16
// slots, at most 15 codes; a post into a full queue drops the oldest. The
// window posts under the display lock; the program takes under gfx_lock.
using KeyQueue = CodeRing<16>;

KeyQueue& key_queue();
void key_post(int32_t code);
int32_t key_take();          // 0 when empty
int32_t key_pressed_take();  // the key-pressed flag before clearing it
