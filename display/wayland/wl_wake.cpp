#include "display/wayland/wl_wake.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

namespace {

int g_fd = -1;
std::atomic<bool> g_outstanding{false};
std::atomic<bool> g_stopping{false};

void poke() {
    const uint64_t one = 1;
    // A full counter already wakes the thread: a failed write loses nothing.
    [[maybe_unused]] const ssize_t n = write(g_fd, &one, sizeof one);
}

}  // namespace

bool wl_wake_open() {
    if (g_fd < 0) g_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    g_outstanding.store(false);
    g_stopping.store(false);
    return g_fd >= 0;
}

void wl_wake_close() {
    if (g_fd >= 0) close(g_fd);
    g_fd = -1;
}

int wl_wake_fd() { return g_fd; }

void wl_wake() {
    if (g_fd < 0 || g_outstanding.exchange(true)) return;
    poke();
}

void wl_wake_rearm() { g_outstanding.store(false); }

void wl_wake_drain() {
    uint64_t count = 0;
    [[maybe_unused]] const ssize_t n = read(g_fd, &count, sizeof count);
}

void wl_wake_stop() {
    g_stopping.store(true);
    if (g_fd >= 0) poke();
}

bool wl_wake_stopping() { return g_stopping.load(); }
