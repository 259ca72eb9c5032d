// The sizes of the outputs, for the fetch_modes slot: over a connection of
// its own, as the drawing thread asks while the refresh thread owns the
// window's. Wayland clients draw 32-bit pixels whatever the output.
#include <cstdlib>
#include <cstring>

#include "display/mode_list.h"
#include "display/wayland/wl_backend.h"

namespace {

constexpr int32_t OUTPUT_DEPTH = 32;

void mode(void* data, wl_output*, uint32_t, int32_t width, int32_t height, int32_t) {
    auto* list = static_cast<ModeList*>(data);
    for (int32_t i = 0; i < list->count; ++i)
        if (list->entries[i] == (width << 16 | height)) return;
    if (width > 0 && height > 0) mode_list_add(*list, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
}

void geometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*, int32_t) {}
void done(void*, wl_output*) {}
void scale(void*, wl_output*, int32_t) {}

// Built field by field: newer headers add events of versions not bound.
const wl_output_listener OUTPUT_LISTENER = [] {
    wl_output_listener l{};
    l.geometry = geometry;
    l.mode = mode;
    l.done = done;
    l.scale = scale;
    return l;
}();

struct Listing {
    ModeList list;
    wl_output* outputs[WL_MAX_OUTPUTS];
    int32_t count;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    auto* l = static_cast<Listing*>(data);
    if (std::strcmp(interface, wl_output_interface.name) != 0 || l->count >= WL_MAX_OUTPUTS) return;
    auto* output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 1));
    if (!output) return;
    l->outputs[l->count++] = output;
    wl_output_add_listener(output, &OUTPUT_LISTENER, &l->list);
}

void global_remove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener REGISTRY_LISTENER = {.global = global, .global_remove = global_remove};

}  // namespace

int32_t* wl_fetch_modes(int32_t depth, int32_t* count) {
    *count = 0;
    if (!mode_depth_matches(OUTPUT_DEPTH, depth) || !wl_display_named() || !wl_library_load()) return nullptr;
    wl_display* display = wl.wl_display_connect(nullptr);
    if (!display) return nullptr;
    Listing l{};
    wl_registry* registry = wl_display_get_registry(display);
    if (registry) {
        wl_registry_add_listener(registry, &REGISTRY_LISTENER, &l);
        if (wl.wl_display_roundtrip(display) >= 0) wl.wl_display_roundtrip(display);
        for (int32_t i = 0; i < l.count; ++i) wl_output_destroy(l.outputs[i]);
        wl_registry_destroy(registry);
    }
    wl.wl_display_disconnect(display);
    if (l.list.count == 0) {
        std::free(l.list.entries);
        return nullptr;
    }
    *count = l.list.count;
    return l.list.entries;
}
