#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The first bytes of a file, at most `limit`: a table's, or the two samples
// of a sawtooth that tell its rate. `longer` when the file holds more;
// `failure` the system's reason when it could not be read.
struct FileStart {
    std::vector<unsigned char> bytes;
    bool longer = false;
    std::string failure;
};

FileStart read_file_start(const std::string& path, size_t limit);
