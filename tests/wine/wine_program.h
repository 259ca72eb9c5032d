#pragma once
#include <string>
#include <vector>

#include "support/wave_files.h"

// The cross-built wavetable.exe under test, run under Wine through the
// build's wrapper (tools/wine-run.sh: a Wine prefix of the build's own, no
// X display unless WT_WINE_DISPLAY is set).
std::vector<std::string> wine_command();

// The cross-built wavetable-export.exe, run the same way.
std::vector<std::string> wine_export_command();
