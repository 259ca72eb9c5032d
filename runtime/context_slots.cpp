#include "runtime/context_slots.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct ContextSlots {
    void* records[CONTEXT_SLOT_COUNT];
    void (*finalisers[CONTEXT_SLOT_COUNT])(void*);
};

ContextSlots g_slots;

}  // namespace

void* get_context_slot(int32_t slot, size_t size) {
    if (slot < 0 || slot >= CONTEXT_SLOT_COUNT) return nullptr;
    void*& record = g_slots.records[slot];
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
    if (slot >= 0 && slot < CONTEXT_SLOT_COUNT) g_slots.finalisers[slot] = finaliser;
}

void context_slots_release() {
    for (int slot = 0; slot < CONTEXT_SLOT_COUNT; ++slot) {
        void*& record = g_slots.records[slot];
        if (!record) continue;
        if (g_slots.finalisers[slot]) g_slots.finalisers[slot](record);
        std::free(record);
        record = nullptr;
    }
}
