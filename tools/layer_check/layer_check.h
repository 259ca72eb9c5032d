#pragma once
#include <string>
#include <vector>

#include "tools/layer_check/floor_table.h"

// The includes of the source tree checked against its floors: a file may
// include from its own floor and from the floors it may use; shared code
// never includes a platform's folder, and a platform's folder never
// another platform's. Files under a floor's top folder that no floor
// names are reported too (they would not be built).

struct LayerFinding {
    std::string file;  // relative to the tree, "gfx/screen.cpp"
    int line;          // 0 for the file itself
    std::string message;
};

// The findings for one file's text.
std::vector<LayerFinding> layer_check_file(const FloorTable& table, const std::string& file, const std::string& text);

// Walks the tree under `root`: every .cpp and .h below the top folders of
// the floors. Findings in file order.
std::vector<LayerFinding> layer_check_tree(const FloorTable& table, const std::string& root);
