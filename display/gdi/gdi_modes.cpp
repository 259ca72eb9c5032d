#include <windows.h>

#include <cstdlib>

#include "display/gdi/gdi_backend.h"
#include "display/mode_list.h"

// The display modes of the primary display whose depth serves `depth`, as
// the system enumerates them. When the list cannot grow, the modes so far.
int32_t* gdi_fetch_modes(int32_t depth, int32_t* count) {
    ModeList list{};
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
        if (!mode_depth_matches(static_cast<int32_t>(mode.dmBitsPerPel), depth)) continue;
        if (!mode_list_add(list, mode.dmPelsWidth, mode.dmPelsHeight)) break;
    }
    *count = list.count;
    if (list.count == 0) {
        std::free(list.entries);
        return nullptr;
    }
    return list.entries;
}
