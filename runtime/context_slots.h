#pragma once
#include <cstddef>
#include <cstdint>

// Lazily created, zero-filled process-wide records, indexed by slot.
enum ContextSlot : int32_t {
    SLOT_ERROR = 0,  // ErrorRecord
    SLOT_INPUT = 2,  // InputContext
    SLOT_DRAW = 4,   // DrawContext
    CONTEXT_SLOT_COUNT = 5,
};

extern void* g_context_slot_records[CONTEXT_SLOT_COUNT];

// Creates the slot's record zeroed with `size` bytes. Ends the process with
// a message when memory is exhausted: nothing sensible can run without
// these records.
void* context_slot_create(int32_t slot, size_t size);

// Returns the slot's record, creating it on first use. Inline: the last
// error is stored through it by every runtime operation.
inline void* get_context_slot(int32_t slot, size_t size) {
    if (slot < 0 || slot >= CONTEXT_SLOT_COUNT) return nullptr;
    void* record = g_context_slot_records[slot];
    return record ? record : context_slot_create(slot, size);
}

// Frees every slot record (and first the buffer a DrawContext holds).
void context_slots_release();

// Lets the owner of a slot's record free what the record holds before the
// record itself is released (the drawing context's row table).
void context_slot_set_finaliser(int32_t slot, void (*finaliser)(void*));
