#pragma once
#include <cstdint>

// Entry points of a library loaded at run time, filled in groups: a
// back-end lists every entry it uses once (an X-macro list), each with its
// group, and loads a group all or nothing.
struct LibSymbol {
    int32_t group;
    const char* name;
    void** slot;
};

// Loads `file` and fills the slots of every entry of `group`: false, with
// nothing filled and nothing left loaded, when the library or one of the
// entries is missing. A loaded library stays for the process's life.
bool lib_load_group(const char* file, const LibSymbol* symbols, int32_t count, int32_t group);
