#include "export/system_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

int system_create_new(const std::string& path, SystemFile& file) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    file = fd;
    return fd < 0 ? errno : 0;
}

bool system_error_is_exists(int error) { return error == EEXIST; }

int system_write(SystemFile file, std::span<const unsigned char> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(static_cast<int>(file), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return ENOSPC;
        done += static_cast<size_t>(n);
    }
    return 0;
}

int system_flush(SystemFile file) { return fsync(static_cast<int>(file)) == 0 ? 0 : errno; }

int system_close(SystemFile file) { return close(static_cast<int>(file)) == 0 ? 0 : errno; }

int system_rename_over(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void system_remove(const std::string& path) { unlink(path.c_str()); }

unsigned long system_process_id() { return static_cast<unsigned long>(getpid()); }

std::string system_reason(int error) { return std::strerror(error); }
