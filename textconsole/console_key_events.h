#pragma once
#include <cstdint>

#include "textconsole/key_ring.h"

// Key events of a console that reports each key press and release with its
// virtual key, scan code, character and modifier state, turned into key
// codes in the key ring. Holding Alt while typing digits on the numeric
// pad composes a character code, which arrives when Alt is let go.
struct AltNumpad {
    uint32_t accumulator;  // 0 while nothing is being composed
};

void console_key_event(AltNumpad& composer, const ConsoleKeyEvent& event, KeyRing& ring);
