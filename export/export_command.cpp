#include "export/export_command.h"

#include <filesystem>

#include "export/cycle_fit.h"
#include "export/export_file.h"
#include "export/help.h"
#include "export/options.h"

namespace {

void complain(Terminal& terminal, const std::string& about) { terminal.warn("wavetable-export: " + about + "\n"); }

// The output folder must be there: else every file would fail alike.
std::string folder_fault(const std::string& folder) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(folder, ec);
    if (status.type() == std::filesystem::file_type::not_found) return "No such file or directory";
    if (ec) return ec.message();
    return std::filesystem::is_directory(status) ? "" : "Not a directory";
}

int export_files(const ExportOptions& options, Terminal& terminal) {
    if (!options.output_folder.empty()) {
        if (std::string fault = folder_fault(options.output_folder); !fault.empty()) {
            complain(terminal, options.output_folder + ": " + fault);
            return 1;
        }
    }
    for (const std::string& note : cycle_fit_notes(options.files, options.frame)) complain(terminal, note);
    bool failed = false;
    std::vector<std::string> written;
    for (const std::string& file : options.files) {
        const FileOutcome outcome = export_file(file, options, written);
        if (outcome.kind != FileOutcome::EXPORTED) complain(terminal, outcome.name + ": " + outcome.reason);
        failed = failed || outcome.kind == FileOutcome::FAILED;
    }
    return failed ? 1 : 0;
}

}  // namespace

int export_command(const std::vector<std::string>& words, Terminal& terminal) {
    const CommandLine line = parse_command_line(words);
    switch (line.request) {
    case Request::HELP: terminal.say(HELP_TEXT); return 0;
    case Request::VERSION: terminal.say(VERSION_TEXT); return 0;
    case Request::MISTAKE: complain(terminal, line.mistake + " (see wavetable-export --help)"); return 2;
    case Request::EXPORT: break;
    }
    return export_files(line.options, terminal);
}
