// layer_check FLOORS_TXT SOURCE_ROOT: checks every include of the source
// tree against its floors; prints each finding and exits 1 when there is
// one (2 when the table can't be read).
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/layer_check/layer_check.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: layer_check FLOORS_TXT SOURCE_ROOT\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    std::ostringstream text;
    text << in.rdbuf();
    FloorTable table;
    std::string error;
    if (!in || !floor_table_parse(text.str(), table, error)) {
        std::fprintf(stderr, "layer_check: %s: %s\n", argv[1], error.empty() ? "cannot be read" : error.c_str());
        return 2;
    }
    const std::vector<LayerFinding> findings = layer_check_tree(table, argv[2]);
    for (const LayerFinding& f : findings) std::printf("%s:%d: %s\n", f.file.c_str(), f.line, f.message.c_str());
    if (findings.empty()) std::printf("layer_check: every include keeps to the floors\n");
    return findings.empty() ? 0 : 1;
}
