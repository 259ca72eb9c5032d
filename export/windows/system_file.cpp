#include "export/system_file.h"

#include <windows.h>

#include <algorithm>

int system_create_new(const std::string& path, SystemFile& file) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    file = reinterpret_cast<SystemFile>(handle);
    return handle == INVALID_HANDLE_VALUE ? static_cast<int>(GetLastError()) : 0;
}

bool system_error_is_exists(int error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

int system_write(SystemFile file, std::span<const unsigned char> bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const auto chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, size_t{1} << 30));
        DWORD written = 0;
        if (!WriteFile(reinterpret_cast<HANDLE>(file), bytes.data() + done, chunk, &written, nullptr))
            return static_cast<int>(GetLastError());
        if (written == 0) return ERROR_DISK_FULL;
        done += written;
    }
    return 0;
}

int system_flush(SystemFile file) {
    return FlushFileBuffers(reinterpret_cast<HANDLE>(file)) ? 0 : static_cast<int>(GetLastError());
}

int system_close(SystemFile file) {
    return CloseHandle(reinterpret_cast<HANDLE>(file)) ? 0 : static_cast<int>(GetLastError());
}

int system_rename_over(const std::string& from, const std::string& to) {
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    return MoveFileExA(from.c_str(), to.c_str(), flags) ? 0 : static_cast<int>(GetLastError());
}

void system_remove(const std::string& path) { DeleteFileA(path.c_str()); }

unsigned long system_process_id() { return GetCurrentProcessId(); }

// The system's text, without its closing full stop and line end, as the C
// library's texts are.
std::string system_reason(int error) {
    char text[512];
    DWORD n =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(error),
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' ' || text[n - 1] == '.')) --n;
    if (n == 0) return "system error " + std::to_string(error);
    return std::string(text, n);
}
