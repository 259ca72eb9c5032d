#include "export/export_file.h"

#include <algorithm>
#include <filesystem>

#include "export/output_file.h"
#include "export/surge_wt.h"
#include "export/table.h"
#include "export/wav.h"

namespace fs = std::filesystem;

namespace {

bool same_file(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return a.lexically_normal() == b.lexically_normal() || fs::equivalent(a, b, ec);
}

std::vector<unsigned char> encode(const Table& table, const ExportOptions& options) {
    if (options.format == OutputFormat::SURGE_WT) return surge_wt_file(table.samples, options.frame);
    return wav_file(table.samples, options.frame);
}

}  // namespace

std::string output_path(const std::string& input, const ExportOptions& options) {
    const fs::path in(input);
    fs::path out = options.output_folder.empty() ? in : fs::path(options.output_folder) / in.filename();
    out.replace_extension(options.format == OutputFormat::SURGE_WT ? ".wt" : ".wav");
    return out.string();
}

FileOutcome export_file(const std::string& input, const ExportOptions& options, std::vector<std::string>& written) {
    const Table table = read_table(input, options.frame);
    if (!table.failure.empty()) return {FileOutcome::FAILED, input, table.failure};
    if (table.samples.empty()) return {FileOutcome::SKIPPED, input, "empty, skipped"};
    const std::string output = output_path(input, options);
    if (same_file(input, output)) return {FileOutcome::FAILED, input, "its output " + output + " is the file itself"};
    const auto earlier =
        std::find_if(written.begin(), written.end(), [&](const std::string& w) { return same_file(w, output); });
    if (earlier != written.end())
        return {FileOutcome::FAILED, input, "its output " + output + " was just written from another file"};
    const std::string failure = replace_file(output, encode(table, options));
    if (!failure.empty()) return {FileOutcome::FAILED, output, failure};
    written.push_back(output);
    return {FileOutcome::EXPORTED, input, {}};
}
