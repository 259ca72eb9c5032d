#include "runtime/key_sleep.h"

#include "runtime/os.h"

void sleep_ms(int32_t milliseconds) { os_sleep_ms(milliseconds); }

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
