#include "display/lib_symbols.h"
#include "display/xkb/xkb_symbols.h"

XkbApi xkb;

namespace {

constexpr const char* LIBRARY_FILE = "libxkbcommon.so.0";

const LibSymbol SYMBOLS[] = {
#define XKB_ENTRY(group, name) {group, #name, reinterpret_cast<void**>(&xkb.name)},
    XKB_SYMBOLS(XKB_ENTRY)
#undef XKB_ENTRY
};
constexpr int32_t SYMBOL_COUNT = sizeof SYMBOLS / sizeof SYMBOLS[0];

bool load_all() {
    if (!lib_load_group(LIBRARY_FILE, SYMBOLS, SYMBOL_COUNT, XKB)) return false;
    // The compose entries come as a group too: half of them is no use.
    lib_load_group(LIBRARY_FILE, SYMBOLS, SYMBOL_COUNT, XKB_COMPOSE);
    return true;
}

}  // namespace

bool xkb_library_load() {
    static const bool loaded = load_all();
    return loaded;
}
