#pragma once
#include <string>
#include <vector>

#include "export/options.h"

// What became of one input. `name` is the file the reason is about: the
// input, or the output that could not be written.
struct FileOutcome {
    enum Kind { EXPORTED, SKIPPED, FAILED } kind;
    std::string name;
    std::string reason;
};

// The path the input's export goes to: beside it, or in the options'
// folder, named for it with the format's extension.
std::string output_path(const std::string& input, const ExportOptions& options);

// Reads the table at `input` and writes its export. `written` holds the
// outputs of this run so far: an input whose output is among them, or is
// the input itself, fails rather than replace it. An empty input is
// skipped.
FileOutcome export_file(const std::string& input, const ExportOptions& options, std::vector<std::string>& written);
