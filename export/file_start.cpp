#include "export/file_start.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

FileStart read_file_start(const std::string& path, size_t limit) {
    FileStart start;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        start.failure = std::strerror(errno);
        return start;
    }
    // One byte past the limit tells whether there is more.
    start.bytes.resize(limit + 1);
    const size_t got = std::fread(start.bytes.data(), 1, start.bytes.size(), file);
    if (std::ferror(file)) start.failure = std::strerror(errno);
    std::fclose(file);
    start.longer = got > limit;
    start.bytes.resize(got > limit ? limit : got);
    return start;
}
