#include "runtime/key_sleep.h"

#include <chrono>
#include <thread>

void sleep_ms(int32_t milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void sleep_until_key(int32_t milliseconds, bool (*pressed)()) {
    constexpr int32_t STEP = 50;
    if (milliseconds == -1) {
        while (!pressed()) sleep_ms(STEP);
        return;
    }
    if (milliseconds < 0) return;
    if (milliseconds < 100) {
        sleep_ms(milliseconds);
        return;
    }
    int32_t left = milliseconds;
    while (left > STEP) {
        sleep_ms(STEP);
        left -= STEP;
        if (pressed()) return;
    }
    sleep_ms(left);
}
