#include "tools/layer_check/layer_check.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string describe(const FloorFolder& f) { return f.floor + (f.platform.empty() ? "" : " (" + f.platform + ")"); }

// Why `from` may not include from `to`; empty when it may.
std::string refusal(const FloorTable& table, const FloorFolder& from, const FloorFolder& to) {
    if (!to.platform.empty() && from.platform.empty()) return "shared code includes a platform's folder";
    if (!to.platform.empty() && to.platform != from.platform) return "one platform's code includes another's";
    if (from.floor == to.floor) return "";
    if (table.reaches.at(from.floor).count(to.floor)) return "";
    return "floor " + describe(from) + " may not use floor " + to.floor;
}

std::string top_folder(const std::string& path) { return path.substr(0, path.find('/')); }

std::set<std::string> top_folders(const FloorTable& table) {
    std::set<std::string> tops;
    for (const auto& [path, folder] : table.folders) tops.insert(top_folder(path));
    return tops;
}

}  // namespace

std::vector<LayerFinding> layer_check_file(const FloorTable& table, const std::string& file, const std::string& text) {
    std::vector<LayerFinding> findings;
    const FloorFolder* from = floor_folder_of(table, file);
    if (!from) {
        findings.push_back({file, 0, "no floor names its folder"});
        return findings;
    }
    static const std::regex include_line(R"re(^\s*#\s*include\s*"([^"]+)")re");
    const std::set<std::string> tops = top_folders(table);
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        std::smatch m;
        if (!std::regex_search(line, m, include_line)) continue;
        const std::string included = m[1];
        // Bare names resolve in the file's own folder or its floor's
        // include folders; names outside the floors' folders (tools/,
        // system headers) are not the floors' business.
        if (included.find('/') == std::string::npos || !tops.count(top_folder(included))) continue;
        const FloorFolder* to = floor_folder_of(table, included);
        const std::string why = to ? refusal(table, *from, *to) : "includes from a folder no floor names";
        if (!why.empty()) findings.push_back({file, number, "includes \"" + included + "\": " + why});
    }
    return findings;
}

std::vector<LayerFinding> layer_check_tree(const FloorTable& table, const std::string& root) {
    std::vector<std::string> files;
    for (const std::string& top : top_folders(table)) {
        std::error_code ec;
        if (!fs::is_directory(fs::path(root) / top, ec)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(root) / top, ec)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h"))
                files.push_back(fs::relative(entry.path(), root).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    std::vector<LayerFinding> findings;
    for (const std::string& file : files) {
        std::ifstream in(fs::path(root) / file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        for (LayerFinding& f : layer_check_file(table, file, text.str())) findings.push_back(std::move(f));
    }
    return findings;
}
