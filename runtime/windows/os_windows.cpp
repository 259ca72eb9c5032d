// The runtime's system calls on Windows.
#include <float.h>
#include <io.h>
#include <windows.h>

#include <new>

#include "runtime/os.h"

// Round to nearest (ties to even) and the 64-bit precision setting; on
// x86-64 the precision field has no effect on SSE arithmetic.
void os_float_setup() { _controlfp(0, _MCW_RC | _MCW_PC); }

void os_sleep_ms(int32_t milliseconds) {
    if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

void os_beep() { Beep(1000, 250); }

// LockFile takes the low 32 bits of offset and length, high parts 0.
bool os_lock_file(FILE* stream, int64_t offset, int64_t length, bool lock, bool) {
    const intptr_t os_handle = _get_osfhandle(_fileno(stream));
    if (os_handle == -1) return false;
    HANDLE file = reinterpret_cast<HANDLE>(os_handle);
    const DWORD low = static_cast<DWORD>(offset), count = static_cast<DWORD>(length);
    return (lock ? LockFile(file, low, 0, count, 0) : UnlockFile(file, low, 0, count, 0)) == 1;
}

size_t os_program_path(char* path, size_t size) {
    if (size == 0) return 0;
    DWORD n = GetModuleFileNameA(nullptr, path, static_cast<DWORD>(size - 1));
    if (n >= size) n = 0;
    path[n] = 0;
    return n;
}

void os_native_path(char* path) {
    for (char* p = path; *p; ++p)
        if (*p == '/') *p = '\\';
}

bool os_path_exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

int64_t os_stdin_read(void* buffer, size_t count) {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE) return 0;
    DWORD got = 0;
    const DWORD want = count > 0x10000000 ? 0x10000000 : static_cast<DWORD>(count);
    if (!ReadFile(in, buffer, want, &got, nullptr)) return 0;  // a closed pipe ends the input
    return got;
}

// A pipe tells how much waits; a file (or anything else) never blocks for
// long, so it counts as ready.
bool os_stdin_ready() {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE) return true;
    if (GetFileType(in) != FILE_TYPE_PIPE) return true;
    DWORD available = 0;
    if (!PeekNamedPipe(in, nullptr, 0, nullptr, &available, nullptr)) return true;  // broken: the read ends it
    return available > 0;
}

// A console's input handle is signalled while events wait; a pipe can't be
// waited on, so it is looked at in short slices.
void os_stdin_wait(int32_t timeout_ms) {
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE) return;
    if (GetFileType(in) == FILE_TYPE_CHAR) {
        WaitForSingleObject(in, timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms));
        return;
    }
    constexpr int32_t SLICE_MS = 10;
    for (int32_t waited = 0; !os_stdin_ready() && (timeout_ms < 0 || waited < timeout_ms); waited += SLICE_MS)
        Sleep(SLICE_MS);
}

void* os_library_open(const char* file_name) { return reinterpret_cast<void*>(LoadLibraryA(file_name)); }

void* os_library_symbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void os_library_close(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }

// The screen's event queue is guarded by a semaphore of count 1.
struct OsLock {
    HANDLE semaphore;
};

OsLock* os_lock_create() {
    HANDLE semaphore = CreateSemaphoreA(nullptr, 1, 1, nullptr);
    if (!semaphore) return nullptr;
    OsLock* lock = new (std::nothrow) OsLock{semaphore};
    if (!lock) CloseHandle(semaphore);
    return lock;
}

void os_lock_destroy(OsLock* lock) {
    if (!lock) return;
    CloseHandle(lock->semaphore);
    delete lock;
}

void os_lock_enter(OsLock* lock) { WaitForSingleObject(lock->semaphore, INFINITE); }
void os_lock_leave(OsLock* lock) { ReleaseSemaphore(lock->semaphore, 1, nullptr); }

// An auto-reset event: a wait on it is one call to the system, where a
// condition variable makes several (each a round trip to the Wine server
// under Wine).
struct OsWakeup {
    HANDLE event;
};

OsWakeup* os_wakeup_create() {
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!event) return nullptr;
    OsWakeup* wakeup = new (std::nothrow) OsWakeup{event};
    if (!wakeup) CloseHandle(event);
    return wakeup;
}

void os_wakeup_set(OsWakeup* wakeup) { SetEvent(wakeup->event); }

void os_wakeup_wait(OsWakeup* wakeup, int32_t timeout_ms) {
    WaitForSingleObject(wakeup->event, timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms));
}
