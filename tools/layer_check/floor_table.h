#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

// The floors of the source tree as the build states them (floors.txt,
// written by cmake/floors.cmake): each floor's folders and the floors it
// may use. A folder or floor named with a platform prefix ("posix:",
// "windows:") belongs to that platform only.

struct FloorFolder {
    std::string path;      // "display/x11"
    std::string platform;  // "" for shared code, else "posix" or "windows"
    std::string floor;
};

struct FloorTable {
    std::map<std::string, FloorFolder> folders;            // by path
    std::map<std::string, std::set<std::string>> reaches;  // floor -> floors it may use, transitively
};

// Reads the table; false with a message in `error` on a malformed line or
// a floor that uses one the table does not name.
bool floor_table_parse(const std::string& text, FloorTable& table, std::string& error);

// The folder record of a file's folder ("display/x11" for
// "display/x11/x11_window.cpp"), or null when no floor has that folder.
const FloorFolder* floor_folder_of(const FloorTable& table, const std::string& file);
