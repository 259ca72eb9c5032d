// The start and end of a window on Windows: the record, the window class,
// the display lock and the refresh thread.
#include "display/win32/win32_window.h"

#include <process.h>

#include <cstdlib>
#include <cstring>

#include "display/display_window.h"
#include "display/window_events.h"
#include "display/window_platform.h"
#include "gfx/screen.h"

namespace {

Win32Window g_win32;

template <class T>
void free_buffer(GrowableBuffer<T>& buffer) {
    std::free(buffer.data);
    buffer = {};
}

void free_conversion_buffers() {
    free_buffer(g_win32.wide);
    free_buffer(g_win32.bytes);
}

template <class F>
void resolve(F*& entry, HMODULE user32, const char* name) {
    FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
    entry = reinterpret_cast<F*>(reinterpret_cast<void*>(found));
}

void find_user32_extras() {
    HMODULE user32 = GetModuleHandleA("USER32");
    User32Extras& u = g_win32.user32;
    resolve(u.SetLayeredWindowAttributes, user32, "SetLayeredWindowAttributes");
    resolve(u.MonitorFromWindow, user32, "MonitorFromWindow");
    resolve(u.MonitorFromPoint, user32, "MonitorFromPoint");
    resolve(u.FlashWindowEx, user32, "FlashWindowEx");
    resolve(u.TrackMouseEvent, user32, "TrackMouseEvent");
    resolve(u.GetMonitorInfoA, user32, "GetMonitorInfoA");
    resolve(u.ChangeDisplaySettingsExA, user32, "ChangeDisplaySettingsExA");
    resolve(u.GetDpiForWindow, user32, "GetDpiForWindow");
    resolve(u.GetDpiForSystem, user32, "GetDpiForSystem");
    resolve(u.AdjustWindowRectExForDpi, user32, "AdjustWindowRectExForDpi");
}

uint32_t platform_version() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return 0;
    return static_cast<uint32_t>(info.dwMajorVersion << 8 | (info.dwMinorVersion & 0xFF));
}

HMONITOR monitor_under_cursor() {
    POINT cursor{};
    if (!g_win32.user32.MonitorFromPoint || !GetCursorPos(&cursor)) return nullptr;
    return g_win32.user32.MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST);
}

void switch_screen_saver_off() {
    BOOL active = FALSE;
    if (SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) g_win32.screen_saver_active = active;
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
}

void register_class() {
    const DisplayWindow& w = display_window();
    WNDCLASSA& c = g_win32.window_class;
    c = WNDCLASSA{};
    c.style = (w.flags & SCREEN_OPENGL) ? CS_DBLCLKS : CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    c.lpfnWndProc = display_window_proc;
    c.hInstance = g_win32.instance;
    c.hIcon = LoadIconA(g_win32.instance, "ZV_PROGRAM_ICON");
    if (!c.hIcon) c.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.lpszClassName = display_window().class_name;
    RegisterClassA(&c);  // a class left registered by an earlier start serves as well
}

unsigned __stdcall refresh_thread_entry(void*) {
    display_window().backend.thread_main();
    return 0;
}

void close_handle(HANDLE& handle) {
    if (handle) CloseHandle(handle);
    handle = nullptr;
}

// Starts the refresh thread and waits until it has made its window (true)
// or ended without one (false).
bool start_refresh_thread() {
    InitializeCriticalSection(&g_win32.display_lock);
    g_win32.lock_made = true;
    g_win32.start_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!g_win32.start_event) return false;
    // Without it the refresh thread passes every period instead.
    g_win32.wake_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    const uintptr_t thread = _beginthreadex(nullptr, 0, refresh_thread_entry, nullptr, 0, nullptr);
    if (!thread) {
        close_handle(g_win32.start_event);
        return false;
    }
    g_win32.refresh_thread = reinterpret_cast<HANDLE>(thread);
    const HANDLE waited[2] = {g_win32.start_event, g_win32.refresh_thread};
    const DWORD first = WaitForMultipleObjects(2, waited, FALSE, INFINITE);
    close_handle(g_win32.start_event);
    return first == WAIT_OBJECT_0;
}

}  // namespace

Win32Window& win32_window() { return g_win32; }

void window_platform_clear() {
    free_conversion_buffers();
    std::memset(static_cast<void*>(&g_win32), 0, sizeof g_win32);
}

int32_t display_window_init(const char* title, int32_t width, int32_t height, int32_t depth, int32_t refresh_rate,
                            int32_t flags) {
    DisplayWindow& w = display_window();
    g_win32.platform_version = platform_version();
    find_user32_extras();
    g_win32.monitor = monitor_under_cursor();
    window_events_reset();
    switch_screen_saver_off();
    g_win32.instance = GetModuleHandleA(nullptr);
    display_window_store(title, width, height, depth, refresh_rate, flags);
    register_class();
    w.running.store(1);
    free_conversion_buffers();
    if (flags & SCREEN_OPENGL) return 0;  // the back-end works on the caller's thread
    if (!w.backend.thread_main || !start_refresh_thread()) return -1;
    if (flags & SCREEN_HIGH_PRIORITY) SetThreadPriority(g_win32.refresh_thread, THREAD_PRIORITY_ABOVE_NORMAL);
    gfx_set_change_listener(window_wake, window_show_now);
    return 0;
}

void display_window_started(bool made) {
    if (made) SetEvent(g_win32.start_event);
}

void win32_refresh_thread_main(RefreshOutcome (*pass)()) {
    DisplayWindow& w = display_window();
    if (w.backend.window_init() == 0) {
        w.active = 1;
        display_window_started(true);
        win32_refresh_loop(pass);
    }
    window_lock();
    w.backend.window_exit();
    window_unlock();
}

void display_window_exit() {
    DisplayWindow& w = display_window();
    if (w.running.exchange(0) == 0) return;
    gfx_set_change_listener(nullptr, nullptr);
    window_show_now();  // the refresh thread ends even within its period
    GfxScreen* s = g_gfx_screen;
    if (s && s->lock_count > 0) {
        s->lock_count = 0;
        window_unlock();
    }
    if (g_win32.refresh_thread) {
        WaitForSingleObject(g_win32.refresh_thread, INFINITE);
        close_handle(g_win32.refresh_thread);
    }
    close_handle(g_win32.wake_event);
    if (g_win32.lock_made) {
        DeleteCriticalSection(&g_win32.display_lock);
        g_win32.lock_made = false;
    }
    free_conversion_buffers();
    if (w.backend.window_exit) w.backend.window_exit();
    SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, static_cast<UINT>(g_win32.screen_saver_active), nullptr, 0);
    UnregisterClassA(w.class_name, g_win32.instance);
    if (mouse_state().clip) {
        ClipCursor(nullptr);
        mouse_state().clip = 0;
    }
}

// Without a refresh thread (OpenGL) there is no lock to take.
void window_lock() {
    if (g_win32.lock_made) EnterCriticalSection(&g_win32.display_lock);
}

void window_unlock() {
    if (g_win32.lock_made) LeaveCriticalSection(&g_win32.display_lock);
}
