#include "display/lib_loader.h"
#include "display/x11/x11_symbols.h"

X11Api x11;

namespace {

enum Group { X11, X11_OPT, XEXT, XRANDR, XSS, GROUP_COUNT };

constexpr const char* LIBRARY_FILE[GROUP_COUNT] = {"libX11.so.6", "libX11.so.6", "libXext.so.6", "libXrandr.so.2",
                                                   "libXss.so.1"};

constexpr int32_t GROUP_CAPACITY = 96;

// The names and entry slots of one group, in list order, null-terminated.
struct GroupNames {
    const char* names[GROUP_CAPACITY];
    void** slots[GROUP_CAPACITY];
    int32_t count;
};

GroupNames g_groups[GROUP_COUNT];

void collect_groups() {
#define X11_COLLECT(group, name)                          \
    g_groups[group].names[g_groups[group].count] = #name; \
    g_groups[group].slots[g_groups[group].count++] = reinterpret_cast<void**>(&x11.name);
    X11_SYMBOLS(X11_COLLECT)
#undef X11_COLLECT
}

constexpr int32_t count_in(Group group) {
    int32_t n = 0;
#define X11_COUNT(g, name) n += (g == group);
    X11_SYMBOLS(X11_COUNT)
#undef X11_COUNT
    return n;
}
static_assert(count_in(X11) < GROUP_CAPACITY && count_in(XEXT) < GROUP_CAPACITY && count_in(XRANDR) < GROUP_CAPACITY &&
              count_in(X11_OPT) < GROUP_CAPACITY && count_in(XSS) < GROUP_CAPACITY);

// Loads one all-or-nothing group; the library stays loaded when it fits.
bool load_group(Group group) {
    GroupNames& g = g_groups[group];
    void* entries[GROUP_CAPACITY] = {};
    void* library = lib_load(LIBRARY_FILE[group], g.names, entries);
    if (!library) return false;
    for (int32_t i = 0; i < g.count; ++i) *g.slots[i] = entries[i];
    return true;
}

// Optional entries of libX11, each on its own.
void load_optional() {
    GroupNames& g = g_groups[X11_OPT];
    void* library = lib_load(LIBRARY_FILE[X11_OPT], nullptr, nullptr);
    for (int32_t i = 0; library && i < g.count; ++i) {
        void* entry = nullptr;
        if (lib_resolve(library, &g.names[i], &entry, 1) == 0) *g.slots[i] = entry;
    }
    // One more reference of the already loaded libX11; it stays loaded anyway.
    lib_free(&library);
}

bool load_all() {
    collect_groups();
    if (!load_group(X11)) return false;
    load_optional();
    x11.has_xext = load_group(XEXT);
    x11.has_xrandr = load_group(XRANDR);
    x11.has_xss = load_group(XSS);
    return true;
}

}  // namespace

bool x11_library_load() {
    static const bool loaded = load_all();
    return loaded;
}
