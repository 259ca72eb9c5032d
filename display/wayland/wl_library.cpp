#include "display/lib_symbols.h"
#include "display/wayland/wl_protocols.h"

// The table's entries are called through the macros of wl_protocols.h.
#undef wl_proxy_marshal_flags
#undef wl_proxy_add_listener
#undef wl_proxy_destroy
#undef wl_proxy_get_version
#undef wl_proxy_set_user_data
#undef wl_proxy_get_user_data

WaylandClientApi wl;
WaylandExtraApi wlx;

namespace {

enum Group { WL, CURSOR, DECOR };

const LibSymbol SYMBOLS[] = {
#define WL_ENTRY(group, name) {group, #name, reinterpret_cast<void**>(&wl.name)},
#define WL_EXTRA_ENTRY(group, name) {group, #name, reinterpret_cast<void**>(&wlx.name)},
    WL_CLIENT_SYMBOLS(WL_ENTRY) WL_CURSOR_SYMBOLS(WL_EXTRA_ENTRY) WL_DECOR_SYMBOLS(WL_EXTRA_ENTRY)
#undef WL_ENTRY
#undef WL_EXTRA_ENTRY
};
constexpr int32_t SYMBOL_COUNT = sizeof SYMBOLS / sizeof SYMBOLS[0];

bool load_all() {
    if (!lib_load_group("libwayland-client.so.0", SYMBOLS, SYMBOL_COUNT, WL)) return false;
    wlx.has_cursor = lib_load_group("libwayland-cursor.so.0", SYMBOLS, SYMBOL_COUNT, CURSOR);
    wlx.has_decor = lib_load_group("libdecor-0.so.0", SYMBOLS, SYMBOL_COUNT, DECOR);
    return true;
}

}  // namespace

bool wl_library_load() {
    static const bool loaded = load_all();
    return loaded;
}
