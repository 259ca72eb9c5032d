#include "runtime/console/bell.h"

#include <atomic>

#include "runtime/os.h"

namespace {

std::atomic<void (*)()> g_handler{nullptr};

}  // namespace

void bell_ring() {
    if (auto handler = g_handler.load())
        handler();
    else
        os_beep();
}

void bell_set_handler(void (*handler)()) { g_handler.store(handler); }
