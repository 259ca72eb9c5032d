#pragma once
// Keys a window posted, read from the key queue itself under the screen
// lock: a posted 0 is a key here, which key_take could not tell from none.
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "gfx/key_queue.h"
#include "gfx/screen.h"

// The keys before `fence`, waiting up to `limit` for it.
inline std::vector<int32_t> keys_before(int32_t fence, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    std::vector<int32_t> keys;
    const auto end = std::chrono::steady_clock::now() + limit;
    for (bool fenced = false; !fenced && std::chrono::steady_clock::now() < end;) {
        gfx_lock();
        while (!fenced && !key_queue().empty()) {
            const int32_t code = key_queue().take();
            fenced = code == fence;
            if (!fenced) keys.push_back(code);
        }
        gfx_unlock(1, 0);
        if (!fenced) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return keys;
}
