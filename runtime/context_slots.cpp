#include "runtime/context_slots.h"

#include <cstdio>
#include <cstdlib>

namespace {

void (*g_finalisers[CONTEXT_SLOT_COUNT])(void*);

}  // namespace

void* g_context_slot_records[CONTEXT_SLOT_COUNT];

void* context_slot_create(int32_t slot, size_t size) {
    void*& record = g_context_slot_records[slot];
    if (record) return record;
    record = std::calloc(1, size);
    if (!record) {
        // Every runtime operation stands on these records; there is no
        // sensible way to go on without one.
        std::fputs("wavetable: out of memory\n", stderr);
        std::_Exit(70);
    }
    return record;
}

void context_slot_set_finaliser(int32_t slot, void (*finaliser)(void*)) {
    if (slot >= 0 && slot < CONTEXT_SLOT_COUNT) g_finalisers[slot] = finaliser;
}

void context_slots_release() {
    for (int slot = 0; slot < CONTEXT_SLOT_COUNT; ++slot) {
        void*& record = g_context_slot_records[slot];
        if (!record) continue;
        if (g_finalisers[slot]) g_finalisers[slot](record);
        std::free(record);
        record = nullptr;
    }
}
