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

// Returns the slot's record, creating it zeroed with `size` bytes on first
// use. Ends the process with a message when memory is exhausted: nothing
// sensible can run without these records.
void* get_context_slot(int32_t slot, size_t size);

// Frees every slot record (and first the buffer a DrawContext holds).
void context_slots_release();

// Lets the owner of a slot's record free what the record holds before the
// record itself is released (the drawing context's row table).
void context_slot_set_finaliser(int32_t slot, void (*finaliser)(void*));
