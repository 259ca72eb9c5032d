#include "tools/layer_check/floor_table.h"

#include <sstream>

namespace {

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

// "posix:display/x11" -> ("posix", "display/x11").
std::pair<std::string, std::string> split_platform(const std::string& item) {
    const auto colon = item.find(':');
    if (colon == std::string::npos) return {"", item};
    return {item.substr(0, colon), item.substr(colon + 1)};
}

void close_transitively(FloorTable& table) {
    for (bool grew = true; grew;) {
        grew = false;
        for (auto& [floor, reached] : table.reaches) {
            const std::set<std::string> before = reached;
            for (const std::string& used : before)
                for (const std::string& further : table.reaches[used]) grew |= reached.insert(further).second;
        }
    }
}

}  // namespace

bool floor_table_parse(const std::string& text, FloorTable& table, std::string& error) {
    std::istringstream in(text);
    std::map<std::string, std::vector<std::string>> uses;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        const auto bar1 = line.find('|');
        const auto bar2 = bar1 == std::string::npos ? bar1 : line.find('|', bar1 + 1);
        const std::vector<std::string> name = words(line.substr(0, bar1));
        if (bar2 == std::string::npos || name.size() != 1) {
            error = "floors line " + std::to_string(number) + ": expected \"floor | folders | uses\"";
            return false;
        }
        for (const std::string& item : words(line.substr(bar1 + 1, bar2 - bar1 - 1))) {
            auto [platform, path] = split_platform(item);
            table.folders[path] = FloorFolder{path, platform, name[0]};
        }
        table.reaches[name[0]];
        for (const std::string& item : words(line.substr(bar2 + 1)))
            uses[name[0]].push_back(split_platform(item).second);
    }
    for (const auto& [floor, used] : uses) {
        for (const std::string& u : used) {
            if (!table.reaches.count(u)) {
                error = "floor " + floor + " uses " + u + ", which no line names";
                return false;
            }
            table.reaches[floor].insert(u);
        }
    }
    close_transitively(table);
    return true;
}

const FloorFolder* floor_folder_of(const FloorTable& table, const std::string& file) {
    const auto slash = file.rfind('/');
    if (slash == std::string::npos) return nullptr;
    const auto it = table.folders.find(file.substr(0, slash));
    return it == table.folders.end() ? nullptr : &it->second;
}
