#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "export/frames.h"

enum class OutputFormat { WAV, SURGE_WT };

struct ExportOptions {
    OutputFormat format = OutputFormat::WAV;
    int32_t frame = DEFAULT_FRAME;
    std::string output_folder;  // empty: beside each input
    std::vector<std::string> files;
};

enum class Request { EXPORT, HELP, VERSION, MISTAKE };

// What the command line asks for; for MISTAKE, what is wrong with it.
struct CommandLine {
    Request request = Request::EXPORT;
    ExportOptions options;
    std::string mistake;
};

// The words after the command's name: options (-o DIR, --output[=]DIR,
// --format[=]wav|wt, --frame[=]N, -h, --help, --version) and files, in any
// order; after "--" every word is a file.
CommandLine parse_command_line(const std::vector<std::string>& words);
