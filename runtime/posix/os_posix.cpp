// The runtime's system calls on POSIX systems.
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cfenv>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "runtime/os.h"

// x86-64 computes doubles in SSE registers: only the rounding mode exists.
void os_float_setup() { std::fesetround(FE_TONEAREST); }

void os_sleep_ms(int32_t milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// No tone generator here: the terminal's bell, on standard output when it
// is the terminal, else on the controlling terminal.
void os_beep() {
    if (isatty(STDOUT_FILENO)) {
        if (write(STDOUT_FILENO, "\a", 1) < 0) { /* a bell nobody hears is no error */
        }
        return;
    }
    int fd = open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    if (write(fd, "\a", 1) < 0) { /* as above */
    }
    close(fd);
}

// Advisory record locks; the offset and length are taken to 32 bits, as
// the lock operation of the channels defines them.
bool os_lock_file(FILE* stream, int64_t offset, int64_t length, bool lock, bool shared) {
    struct flock fl {};
    fl.l_type = static_cast<short>(!lock ? F_UNLCK : shared ? F_RDLCK : F_WRLCK);
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<uint32_t>(offset);
    fl.l_len = static_cast<uint32_t>(length);
    return fcntl(fileno(stream), F_SETLK, &fl) == 0;
}

size_t os_program_path(char* path, size_t size) {
    if (size == 0) return 0;
    ssize_t n = readlink("/proc/self/exe", path, size - 1);
    if (n <= 0) n = 0;
    path[n] = 0;
    return static_cast<size_t>(n);
}

void os_native_path(char* path) {
    for (char* p = path; *p; ++p)
        if (*p == '\\') *p = '/';
}

bool os_path_exists(const char* path) {
    struct stat info {};
    return stat(path, &info) == 0;
}

int64_t os_stdin_read(void* buffer, size_t count) {
    for (;;) {
        ssize_t n = read(STDIN_FILENO, buffer, count);
        if (n >= 0) return n;
        if (errno != EINTR) return 0;
    }
}

bool os_stdin_ready() {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    for (;;) {
        int r = poll(&p, 1, 0);
        if (r >= 0) return r > 0;
        if (errno != EINTR) return true;  // let the read report the failure
    }
}

void os_stdin_wait(int32_t timeout_ms) {
    pollfd p{STDIN_FILENO, POLLIN, 0};
    poll(&p, 1, timeout_ms < 0 ? -1 : timeout_ms);  // a signal ends it early: the caller looks again
}

void* os_library_open(const char* file_name) { return dlopen(file_name, RTLD_NOW | RTLD_LOCAL); }

void* os_library_symbol(void* library, const char* name) { return dlsym(library, name); }

void os_library_close(void* library) { dlclose(library); }

struct OsLock {
    std::mutex mutex;
};

OsLock* os_lock_create() { return new (std::nothrow) OsLock; }
void os_lock_destroy(OsLock* lock) { delete lock; }
void os_lock_enter(OsLock* lock) { lock->mutex.lock(); }
void os_lock_leave(OsLock* lock) { lock->mutex.unlock(); }

struct OsWakeup {
    std::mutex mutex;
    std::condition_variable changed;
    bool set = false;
};

OsWakeup* os_wakeup_create() { return new (std::nothrow) OsWakeup; }

void os_wakeup_set(OsWakeup* wakeup) {
    {
        std::lock_guard<std::mutex> lock(wakeup->mutex);
        wakeup->set = true;
    }
    wakeup->changed.notify_one();
}

void os_wakeup_wait(OsWakeup* wakeup, int32_t timeout_ms) {
    std::unique_lock<std::mutex> lock(wakeup->mutex);
    const auto set = [&] { return wakeup->set; };
    if (timeout_ms < 0)
        wakeup->changed.wait(lock, set);
    else
        wakeup->changed.wait_for(lock, std::chrono::milliseconds(timeout_ms), set);
    wakeup->set = false;
}
