#pragma once
#include <cstdint>

// A ring of key codes: Size slots, at most Size - 1 codes held (empty when
// the indexes meet); a push into a full ring drops the oldest code. The
// key-pressed flag is set by every push and cleared by every take.
template <int32_t Size>
struct CodeRing {
    static_assert((Size & (Size - 1)) == 0, "the indexes wrap by masking");
    static constexpr int32_t MASK = Size - 1;

    int32_t codes[Size];
    int32_t read_index;
    int32_t write_index;
    int32_t key_pressed;

    bool empty() const { return read_index == write_index; }

    void push(int32_t code) {
        codes[write_index] = code;
        write_index = (write_index + 1) & MASK;
        if (write_index == read_index) read_index = (read_index + 1) & MASK;
        key_pressed = 1;
    }

    // The oldest code, 0 when empty.
    int32_t take() {
        int32_t code = 0;
        if (!empty()) {
            code = codes[read_index];
            read_index = (read_index + 1) & MASK;
        }
        key_pressed = 0;
        return code;
    }

    int32_t pressed_take() {
        int32_t pressed = key_pressed;
        key_pressed = 0;
        return pressed;
    }
};
