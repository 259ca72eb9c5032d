#include "export/output_file.h"

#include <filesystem>

#include "export/system_file.h"

namespace {

constexpr int ATTEMPTS = 100;

// Hidden, in the target's folder (a rename does not cross file systems),
// told apart by the process and a number.
std::string temporary_name(const std::string& path, int attempt) {
    const std::filesystem::path target(path);
    std::string name(".");
    name.append(target.filename().string()).append(".").append(std::to_string(system_process_id()));
    name.append("-").append(std::to_string(attempt)).append(".tmp");
    return (target.parent_path() / name).string();
}

int create_temporary(const std::string& path, std::string& temporary, SystemFile& file) {
    int error = 0;
    for (int attempt = 0; attempt < ATTEMPTS; ++attempt) {
        temporary = temporary_name(path, attempt);
        error = system_create_new(temporary, file);
        if (!system_error_is_exists(error)) break;
    }
    return error;
}

int write_and_close(SystemFile file, std::span<const unsigned char> bytes) {
    int error = system_write(file, bytes);
    if (!error) error = system_flush(file);
    const int close_error = system_close(file);
    return error ? error : close_error;
}

}  // namespace

std::string replace_file(const std::string& path, std::span<const unsigned char> bytes) {
    std::string temporary;
    SystemFile file = 0;
    int error = create_temporary(path, temporary, file);
    if (error) return system_reason(error);
    error = write_and_close(file, bytes);
    if (!error) error = system_rename_over(temporary, path);
    if (!error) return {};
    system_remove(temporary);
    return system_reason(error);
}
