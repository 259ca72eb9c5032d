#pragma once

// Floors above the core that keep process-wide state of their own (the
// console) register here how to clear it when the runtime starts and
// release it when the runtime shuts down; the core never names them.
// Registration happens before the program starts. Parts are cleared in
// the order they registered and released in the reverse order, after the
// file channels are closed.
struct RuntimePart {
    void (*init)();      // may be null
    void (*shutdown)();  // may be null
};

void runtime_register_part(const RuntimePart* part);

void runtime_parts_init();
void runtime_parts_shutdown();
