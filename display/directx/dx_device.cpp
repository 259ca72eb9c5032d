// ddraw.dll and dinput.dll, loaded by name, and the DirectDraw object of
// the display the window is on.
#include "display/directx/dx_backend.h"
#include "display/display_window.h"
#include "display/win32/win32_window.h"
#include "gfx/screen.h"

namespace {

template <class F>
F entry(HMODULE library, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

struct MonitorSearch {
    HMONITOR monitor;
    GUID guid;
    bool found;
};

// The first device on the monitor that has an identifier of its own.
BOOL WINAPI take_device_of_monitor(GUID* guid, LPSTR, LPSTR, LPVOID context, HMONITOR monitor) {
    auto* search = static_cast<MonitorSearch*>(context);
    if (!guid || monitor != search->monitor) return DDENUMRET_OK;
    search->guid = *guid;
    search->found = true;
    return DDENUMRET_CANCEL;
}

// In full screen, the display of the monitor the window is on; else (and
// where the system cannot tell) the primary display, which is none.
bool full_screen_device(GUID* guid) {
    const DxState& dx = dx_state();
    MonitorSearch search{win32_window().monitor, GUID{}, false};
    if (!(display_window().flags & SCREEN_FULLSCREEN) || !search.monitor || !dx.DirectDrawEnumerateExA) return false;
    dx.DirectDrawEnumerateExA(take_device_of_monitor, &search, DDENUM_ATTACHEDSECONDARYDEVICES);
    if (search.found) *guid = search.guid;
    return search.found;
}

}  // namespace

bool dx_load_libraries() {
    DxState& dx = dx_state();
    dx.ddraw_library = LoadLibraryA("ddraw.dll");
    dx.dinput_library = LoadLibraryA("dinput.dll");
    if (!dx.ddraw_library || !dx.dinput_library) return false;
    dx.DirectDrawCreate = entry<DirectDrawCreateFn>(dx.ddraw_library, "DirectDrawCreate");
    dx.DirectDrawEnumerateExA = entry<DirectDrawEnumerateExFn>(dx.ddraw_library, "DirectDrawEnumerateExA");
    dx.DirectInputCreateA = entry<DirectInputCreateFn>(dx.dinput_library, "DirectInputCreateA");
    return dx.DirectDrawCreate && dx.DirectInputCreateA;
}

void dx_free_libraries() {
    DxState& dx = dx_state();
    if (dx.ddraw_library) FreeLibrary(dx.ddraw_library);
    if (dx.dinput_library) FreeLibrary(dx.dinput_library);
    dx.ddraw_library = dx.dinput_library = nullptr;
    dx.DirectDrawCreate = nullptr;
    dx.DirectDrawEnumerateExA = nullptr;
    dx.DirectInputCreateA = nullptr;
}

IDirectDraw2* dx_create_ddraw(DirectDrawCreateFn create, GUID* device) {
    IDirectDraw* first = nullptr;
    if (FAILED(create(device, &first, nullptr)) || !first) return nullptr;
    IDirectDraw2* ddraw = nullptr;
    if (FAILED(first->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&ddraw)))) ddraw = nullptr;
    first->Release();
    return ddraw;
}

bool dx_open_device() {
    DxState& dx = dx_state();
    GUID guid{};
    dx.ddraw = dx_create_ddraw(dx.DirectDrawCreate, full_screen_device(&guid) ? &guid : nullptr);
    return dx.ddraw != nullptr;
}

bool dx_hold_ddraw(IDirectDraw2** ddraw, HMODULE* library) {
    *ddraw = nullptr;
    *library = nullptr;
    IDirectDraw2* running = dx_state().ddraw;
    if (!running || !GetModuleHandleExA(0, "ddraw.dll", library)) return false;
    running->AddRef();
    *ddraw = running;
    return true;
}

void dx_drop_ddraw(IDirectDraw2* ddraw, HMODULE library) {
    if (ddraw) ddraw->Release();
    if (library) FreeLibrary(library);
}
