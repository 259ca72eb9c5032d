#pragma once
#include <vector>

#include "gfx/screen.h"
#include "runtime/os.h"

// Takes the events the window recorded in the screen's queue since the
// last call, oldest first, under the queue's own lock.
inline std::vector<GfxEvent> take_screen_events() {
    std::vector<GfxEvent> events;
    GfxScreen* s = g_gfx_screen;
    if (!s || !s->event_lock) return events;
    os_lock_enter(s->event_lock);
    for (; s->event_tail != s->event_head; s->event_tail = (s->event_tail + 1) % EVENT_QUEUE_SIZE)
        events.push_back(s->events[s->event_tail]);
    os_lock_leave(s->event_lock);
    return events;
}
