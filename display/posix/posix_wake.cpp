#include "display/posix/posix_wake.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "display/display_window.h"

namespace {

int g_pipe[2] = {-1, -1};
std::atomic<bool> g_armed{false};
std::atomic<bool> g_show_now{false};

void write_byte() {
    const char byte = 1;
    // A full pipe already wakes the thread; nothing else can go wrong here.
    while (g_pipe[1] >= 0 && write(g_pipe[1], &byte, 1) < 0 && errno == EINTR) {
    }
}

bool non_blocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 && fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

}  // namespace

bool posix_wake_open() {
    if (g_pipe[0] >= 0) return true;
    int fds[2];
    if (pipe(fds) != 0) return false;
    if (!non_blocking(fds[0]) || !non_blocking(fds[1])) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    g_pipe[0] = fds[0];
    g_pipe[1] = fds[1];
    return true;
}

void posix_wake_close() {
    g_armed.store(false);
    for (int& fd : g_pipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

int posix_wake_fd() { return g_pipe[0]; }

void posix_wake_arm() { g_armed.store(true); }

void posix_wake_drain() {
    char bytes[16];
    while (g_pipe[0] >= 0 && read(g_pipe[0], bytes, sizeof bytes) > 0) {
    }
}

void window_wake() {
    if (!g_armed.load(std::memory_order_relaxed) || !g_armed.exchange(false)) return;
    write_byte();
}

void window_show_now() {
    g_show_now.store(true);
    write_byte();
}

bool posix_wake_take_show_now() { return g_show_now.exchange(false); }
