#pragma once
#include <cstdint>
#include <span>
#include <string>

// The few file calls the atomic replacement needs from the system, one
// implementation per system (export/posix/, export/windows/). Each gives 0
// when done, else the system's error number, which system_reason puts in
// words.
using SystemFile = intptr_t;  // a descriptor or a handle

// Creates `path` for writing; fails, with an error that
// system_error_is_exists tells, when a file of that name is there.
int system_create_new(const std::string& path, SystemFile& file);
bool system_error_is_exists(int error);
// Writes all the bytes (a short write that makes no progress is a full
// disk).
int system_write(SystemFile file, std::span<const unsigned char> bytes);
// To the disk, so that after a crash no name holds a part of the file.
int system_flush(SystemFile file);
int system_close(SystemFile file);
// Renames `from` to `to`, replacing a file there in one step.
int system_rename_over(const std::string& from, const std::string& to);
void system_remove(const std::string& path);
unsigned long system_process_id();
std::string system_reason(int error);
