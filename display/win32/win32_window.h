#pragma once
// The Windows half of the window record and the machinery every Windows
// back-end shares: the window class, the window, the display lock (a
// critical section), the refresh thread and its start handshake, the
// window procedure, and the pieces of window creation the back-ends have
// in common (monitor, display mode, centring, refresh rate).
//
// A back-end with a refresh thread ("GDI", "DirectX") sets its operations
// in the record and calls display_window_init. Its thread main is
// win32_refresh_thread_main with the back-end's pass: the window init
// makes the window (display_window_create), and each pass runs under the
// display lock and handles the window's messages (display_pump_messages).
#include <windows.h>

#include <cstdint>

// The optional USER32 entry points, looked up by name at every start; null
// where the system lacks them, which only removes their feature.
struct User32Extras {
    BOOL(WINAPI* SetLayeredWindowAttributes)(HWND, COLORREF, BYTE, DWORD);
    HMONITOR(WINAPI* MonitorFromWindow)(HWND, DWORD);
    HMONITOR(WINAPI* MonitorFromPoint)(POINT, DWORD);
    BOOL(WINAPI* FlashWindowEx)(PFLASHWINFO);
    BOOL(WINAPI* TrackMouseEvent)(LPTRACKMOUSEEVENT);
    BOOL(WINAPI* GetMonitorInfoA)(HMONITOR, LPMONITORINFO);
    LONG(WINAPI* ChangeDisplaySettingsExA)(LPCSTR, LPDEVMODEA, HWND, DWORD, LPVOID);
    // A window's own DPI and the frame for it (Windows 10), the system's
    // DPI (Windows 10); the system DPI comes from a device context without.
    UINT(WINAPI* GetDpiForWindow)(HWND);
    UINT(WINAPI* GetDpiForSystem)();
    BOOL(WINAPI* AdjustWindowRectExForDpi)(LPRECT, DWORD, BOOL, DWORD, UINT);
};

// A growable buffer of the character conversion, kept between messages.
template <class T>
struct GrowableBuffer {
    T* data;
    int32_t capacity;  // characters
};

struct Win32Window {
    uint32_t platform_version;  // major x 256 + minor
    HINSTANCE instance;
    WNDCLASSA window_class;
    HWND window;
    HMONITOR monitor;  // under the cursor at start, of the window after a full-screen switch
    User32Extras user32;
    BOOL screen_saver_active;  // the setting found at start, given back at exit

    // The refresh thread and the display lock; none with SCREEN_OPENGL.
    HANDLE refresh_thread;
    HANDLE start_event;  // set by the refresh thread once its window is made
    HANDLE wake_event;   // set by window_wake: there is work for the window
    bool lock_made;
    CRITICAL_SECTION display_lock;

    // Device pixels per picture pixel in the window: the whole factor of
    // its DPI (dpi_scale), 1 in full screen, where the display mode is the
    // picture's size. The back-end shows the picture scaled by it; the
    // client area is the picture's size times it.
    int32_t scale;
    UINT dpi;  // the window's DPI the client area and frame were sized for
    // The back-end remakes what holds the scaled picture for another scale
    // (a DPI change); false, with nothing changed, when it can't.
    bool (*rescale)(int32_t scale);

    // What the window procedure found at the start of the message it is
    // handling.
    HWND message_window;
    POINT cursor;  // screen pixels

    // The typed-character conversion (process code page -> UTF-16 -> code
    // page 437).
    GrowableBuffer<wchar_t> wide;
    GrowableBuffer<char> bytes;
};

Win32Window& win32_window();

inline constexpr uint32_t PLATFORM_WHEEL = 0x40A;  // the wheel message
inline constexpr uint32_t PLATFORM_2000 = 0x500;   // extra buttons, horizontal wheel, layered windows

// Creates the window of the class with the stored title (on the refresh
// thread), keeps it on top with SCREEN_ALWAYS_ON_TOP and brings it to the
// front: 0, or -1 when no window could be made.
int32_t display_window_create(DWORD style, DWORD ex_style, int32_t x, int32_t y, int32_t outer_width,
                              int32_t outer_height);

// Drains the calling thread's message queue; the window procedure runs
// for each message.
void display_pump_messages();

// The window procedure of every Windows back-end.
LRESULT CALLBACK display_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// What a refresh pass did, for the sleep after it: whether it copied rows
// to the window (rows marked later then wait for the rest of the period),
// and whether it left rows a pass can copy at once (marked by the window
// procedure while the messages were handled).
struct RefreshOutcome {
    bool copied;
    bool work_left;
};

// The thread main of a back-end with a refresh thread: the back-end's
// window init, display_window_started, then while running `pass` under the
// display lock, each followed by a sleep until there is work (see
// win32_refresh.cpp), and the window exit under the display lock, made or
// not (only the thread that made a window can destroy it).
void win32_refresh_thread_main(RefreshOutcome (*pass)());
// The passes and sleeps alone (win32_refresh.cpp).
void win32_refresh_loop(RefreshOutcome (*pass)());

// The 128 key states from the keyboard state (refresh loops, while active).
void win32_refresh_key_states();

// The confine_pointer operation of Windows back-ends: the cursor kept in
// the client area (1) or let go (0).
void win32_confine_cursor(int32_t on);

// The known monitor's information; false when there is none or its answer
// does not count (no device name).
bool win32_monitor_info(MONITORINFOEXA* info);

// Full screen: the display set to width x height at depth and refresh rate
// on the monitor (null: the primary display). False when refused.
bool win32_set_display_mode(const MONITORINFOEXA* monitor, int32_t width, int32_t height, int32_t depth,
                            int32_t refresh_rate);
void win32_restore_display_mode();

// The styles of a window (not full screen) of the request flags: `sizing`
// is what AdjustWindowRect takes for the outer size, `style` what the
// window is made with.
void win32_window_styles(int32_t flags, DWORD* sizing, DWORD* style);

// The record's palette as the system's palette entries.
void win32_palette_entries(PALETTEENTRY (&entries)[256]);

// Top-left corner of a window of the outer size centred on the monitor
// (null: the primary display).
POINT win32_centred_position(const MONITORINFOEXA* monitor, int32_t outer_width, int32_t outer_height);

// The scale of a window about to be made (win32_dpi.cpp): 1 in full
// screen, else that of the system's DPI, which the window's own corrects
// once it exists (win32_adopt_window_dpi). Stores scale and dpi.
void win32_choose_scale(bool full_screen);
// The window's own DPI: where it differs from the one chosen, the window
// is sized again for it (at its place); the back-end makes its buffers
// after this.
void win32_adopt_window_dpi();
// The outer size of a window of `style` and `ex_style` around a client
// area of the picture at the chosen scale, with the frame of the chosen
// DPI. False when the system can't tell.
bool win32_outer_size(DWORD style, DWORD ex_style, SIZE* outer);
// WM_DPICHANGED: the window went to a monitor of another DPI. The
// back-end rescales the picture when the scale changes, the window takes
// the size for it at the place the system suggests, every row is shown
// again. Nothing in full screen.
void win32_dpi_changed(HWND window, UINT dpi, const RECT& suggested);

// The display's refresh rate, from a device context of the window or as a
// back-end measured it, into the screen record; 0 where the display
// reports its "default" rate.
void win32_store_refresh_rate(HDC dc);
void win32_store_refresh_rate(int32_t rate);
