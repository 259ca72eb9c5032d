#pragma once
#include <cstdint>
#include <string>

// The eight files of a run with `rate` in `directory` are those the program
// must write, bit for bit (trisquare.bin empty). An empty string when they
// are, else what is wrong.
std::string check_wave_files(const std::string& directory, int16_t rate);

// The run's sample files are complete (so the program waits for its key).
bool wave_files_complete(const std::string& directory);
