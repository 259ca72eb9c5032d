#pragma once
// Stream calls of the disk channels on Windows. The channels are used by
// the program's thread only, so the stream's own lock is not taken.
#include <cstddef>
#include <cstdint>
#include <cstdio>

inline bool stream_put_small(FILE*, const unsigned char*, uint64_t) { return false; }
inline int stream_putc(int c, FILE* f) { return _putc_nolock(c, f); }
inline size_t stream_write(const void* bytes, size_t length, FILE* f) { return std::fwrite(bytes, 1, length, f); }
