#pragma once
#include <cstdint>

#include "runtime/console/code_ring.h"

// What the console said about the key a code came from. All zero where the
// console gave no details (redirected input, a terminal's byte sequence).
struct ConsoleKeyEvent {
    int32_t key_down;  // 1 pressed, 0 released
    int32_t repeat_count;
    int32_t virtual_key;
    int32_t scan_code;
    int32_t character;       // the byte the key typed, 0 for none
    uint32_t control_state;  // KEYMOD_* bits of runtime/console/key_codes.h
};

// The character console's key ring: 512 entries of a key code and a copy of
// its event, at most 511 held; a push into a full ring drops the oldest. The
// push from a closing console goes through the program's own thread here
// (the hang-up or the console's close event is noticed by the key poll), so
// the ring needs no lock.
class KeyRing {
   public:
    static constexpr int32_t SIZE = 512;
    static constexpr int32_t MASK = SIZE - 1;

    bool empty() const { return codes_.empty(); }

    void push(int32_t code, const ConsoleKeyEvent& event = {}) {
        events_[codes_.write_index] = event;
        codes_.push(code);
    }

    // The oldest code (0 when empty) and, when asked, its event.
    int32_t take(ConsoleKeyEvent* event = nullptr) {
        if (event) *event = empty() ? ConsoleKeyEvent{} : events_[codes_.read_index];
        return codes_.take();
    }

    int32_t pressed_take() { return codes_.pressed_take(); }

   private:
    CodeRing<SIZE> codes_{};
    ConsoleKeyEvent events_[SIZE]{};
};

KeyRing& key_ring();

// The event of the window-close key: Alt+F4 (left Alt) on the system's
// keyboard layout.
ConsoleKeyEvent close_key_event();
