#pragma once
// Stream calls of the disk channels on POSIX systems. The channels are used
// by the program's thread only, so the stream's own lock is not taken.
#include <cstddef>
#include <cstdint>
#include <cstdio>

// Stores up to 8 bytes straight into the stream's buffer when they fit:
// one test instead of one per byte (what putc_unlocked does with the same
// two fields). False when they don't fit or the C library is not known.
inline bool stream_put_small(FILE* f, const unsigned char* bytes, uint64_t length) {
#ifdef __GLIBC__
    if (f->_IO_write_end - f->_IO_write_ptr < static_cast<ptrdiff_t>(length)) return false;
    __builtin_memcpy(f->_IO_write_ptr, bytes, length);
    f->_IO_write_ptr += length;
    return true;
#else
    (void)f, (void)bytes, (void)length;
    return false;
#endif
}

inline int stream_putc(int c, FILE* f) { return putc_unlocked(c, f); }
inline size_t stream_write(const void* bytes, size_t length, FILE* f) { return fwrite_unlocked(bytes, 1, length, f); }
