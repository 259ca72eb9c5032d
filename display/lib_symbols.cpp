#include "display/lib_symbols.h"

#include <cstddef>
#include <vector>

#include "display/lib_loader.h"

bool lib_load_group(const char* file, const LibSymbol* symbols, int32_t count, int32_t group) {
    std::vector<const char*> names;
    std::vector<void**> slots;
    for (int32_t i = 0; i < count; ++i) {
        if (symbols[i].group != group) continue;
        names.push_back(symbols[i].name);
        slots.push_back(symbols[i].slot);
    }
    std::vector<void*> entries(names.size());
    names.push_back(nullptr);
    if (!lib_load(file, names.data(), entries.data())) return false;
    for (size_t i = 0; i < slots.size(); ++i) *slots[i] = entries[i];
    return true;
}
