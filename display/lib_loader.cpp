#include "display/lib_loader.h"

#include "runtime/os.h"

void* lib_load(const char* file_name, const char* const* names, void** entries) {
    if (!file_name) return nullptr;
    void* library = os_library_open(file_name);
    if (!library) return nullptr;
    int32_t count = 0;
    while (names && names[count]) ++count;
    if (lib_resolve(library, names, entries, count) != 0) lib_free(&library);
    return library;
}

int32_t lib_resolve(void* library, const char* const* names, void** entries, int32_t count) {
    if (!library) return -1;
    for (int32_t i = 0; i < count; ++i) {
        void* entry = os_library_symbol(library, names[i]);
        if (!entry) return -1;
        entries[i] = entry;
    }
    return 0;
}

void lib_free(void** library) {
    if (!library || !*library) return;
    os_library_close(*library);
    *library = nullptr;
}
