#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// The runtime's few calls into the operating system, one implementation
// per system (runtime/posix/, runtime/windows/). Everything else in the
// runtime is plain C++.

// Floating point: round to nearest, ties to even (and the FPU's 64-bit
// precision where it has such a setting). The numeric input's rounding and
// the waveform arithmetic rely on it.
void os_float_setup();

// Sleeps the calling thread; 0 or less returns at once.
void os_sleep_ms(int32_t milliseconds);

// The bell: a 1000 Hz tone of 250 ms where the system has one, else the
// terminal's bell.
void os_beep();

// Locks (lock true) or unlocks a byte range of the file behind a C
// stream. False when the system refused.
bool os_lock_file(FILE* stream, int64_t offset, int64_t length, bool lock, bool shared);

// The full path of the running program into `path` (zero-terminated,
// cut to `size` - 1 bytes); its length, 0 when unknown.
size_t os_program_path(char* path, size_t size);

// Turns the other system's directory separator in a file name into this
// system's: "/" into a backslash on Windows, a backslash into "/" elsewhere.
void os_native_path(char* path);

// Whether something (a file, a directory) is there under that name.
bool os_path_exists(const char* path);

// Standard input as raw bytes, for redirected input. os_stdin_read
// blocks: bytes read, 0 at the end of input (a failure ends it too).
// os_stdin_ready tells without blocking whether a read would return at
// once (bytes or the end are there).
int64_t os_stdin_read(void* buffer, size_t count);
bool os_stdin_ready();
// Sleeps until a read would return at once or `timeout_ms` passed
// (negative: no limit); it may return early, after a signal for one.
void os_stdin_wait(int32_t timeout_ms);

// Shared libraries loaded at run time. Null when missing.
void* os_library_open(const char* file_name);
void* os_library_symbol(void* library, const char* name);
void os_library_close(void* library);

// A small lock for data two threads touch briefly (the screen's event
// queue). Null when none could be made.
struct OsLock;
OsLock* os_lock_create();
void os_lock_destroy(OsLock* lock);
void os_lock_enter(OsLock* lock);
void os_lock_leave(OsLock* lock);

// A wake-up for the one thread that sleeps until something happens (the
// key signal): set from any thread, it ends that thread's wait at once, or
// its next one when it is not waiting; the wait that ends on it takes it.
// Null when none could be made.
struct OsWakeup;
OsWakeup* os_wakeup_create();
void os_wakeup_set(OsWakeup* wakeup);
// Sleeps until the wake-up is set or `timeout_ms` passed (negative: no
// limit); it may return early.
void os_wakeup_wait(OsWakeup* wakeup, int32_t timeout_ms);
