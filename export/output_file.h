#pragma once
#include <span>
#include <string>

// Puts `bytes` into the file `path` whole or not at all: they are written
// to a new file beside it, flushed to the disk, and only then renamed over
// `path`, so an existing file is replaced only by a complete one. Empty
// when done; else the system's reason, and nothing is left behind.
std::string replace_file(const std::string& path, std::span<const unsigned char> bytes);
