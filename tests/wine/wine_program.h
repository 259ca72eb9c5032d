#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The cross-built wavetable.exe under test, run under Wine through the
// build's wrapper (tools/wine-run.sh: a Wine prefix of the build's own, no
// X display unless WT_WINE_DISPLAY is set).
std::vector<std::string> wine_command();

// The eight files of a run with `rate` in `directory` are those the program
// must write, bit for bit (trisquare.bin empty). An empty string when they
// are, else what is wrong.
std::string check_wave_files(const std::string& directory, int16_t rate);

// The run's sample files are complete (so the program waits for its key).
bool wave_files_complete(const std::string& directory);
