#pragma once
// The "DirectX" back-end: the picture is converted into a DirectDraw
// surface of the display's pixel format and blitted to the window (or, in
// full screen, converted straight into the display), and the key states
// come from a DirectInput keyboard. ddraw.dll and dinput.dll are loaded by
// name when a window is made, so the program starts where they are
// missing and "GDI" serves instead.
#define DIRECTINPUT_VERSION 0x0300
#include <ddraw.h>
#include <dinput.h>
#include <windows.h>

#include <cstdint>

#include "display/win32/win32_window.h"

// Entry points of the two libraries.
using DirectDrawCreateFn = HRESULT(WINAPI*)(GUID*, LPDIRECTDRAW*, IUnknown*);
using DirectDrawEnumerateExFn = HRESULT(WINAPI*)(LPDDENUMCALLBACKEXA, LPVOID, DWORD);
using DirectInputCreateFn = HRESULT(WINAPI*)(HINSTANCE, DWORD, LPDIRECTINPUTA*, IUnknown*);

// Everything the back-end made. Made and released on the refresh thread,
// under the display lock once the window is up.
struct DxState {
    HMODULE ddraw_library, dinput_library;
    DirectDrawCreateFn DirectDrawCreate;
    DirectDrawEnumerateExFn DirectDrawEnumerateExA;  // may be missing
    DirectInputCreateFn DirectInputCreateA;
    IDirectDraw2* ddraw;
    IDirectDrawSurface* primary;
    IDirectDrawSurface* back;     // the primary itself in full screen
    IDirectDrawClipper* clipper;  // window mode
    IDirectDrawPalette* palette;  // 8-bit displays
    IDirectInputA* dinput;
    IDirectInputDeviceA* keyboard;
    HANDLE vblank_event;      // manual reset; set when a retrace wait of the drawing thread is over
    int32_t vblank_pending;   // the drawing thread waits for the retrace
    POINT window_position;    // of the framed window, kept from one window to the next
    bool window_placed;       // window_position holds one
    RECT display_rect;        // (0, 0, width, height) of the picture at the window's scale: the back surface
    int32_t vertical_offset;  // rows the picture starts down the display (full screen)
    int32_t bytes_per_pixel;  // of the display's pixel format
    // The picture converted at its own size when the window shows it scaled
    // (its scale above 1), scaled from there into the back surface.
    uint8_t* unscaled;
    int32_t unscaled_pitch;
};

DxState& dx_state();

// dx_window.cpp: on the refresh thread.
int32_t dx_window_init();
void dx_window_exit();

// dx_device.cpp: the libraries (false when one or a needed entry point is
// missing) and the DirectDraw object (in full screen of the window's
// monitor).
bool dx_load_libraries();
void dx_free_libraries();
bool dx_open_device();
// A DirectDraw object of the display (null: the primary display) asked for
// its IDirectDraw2 interface; null on failure.
IDirectDraw2* dx_create_ddraw(DirectDrawCreateFn create, GUID* device);
// For the drawing thread, under the display lock: a reference to the
// running DirectDraw object and to its library, which the refresh thread
// may release and unload meanwhile (a display-mode change makes everything
// again). False, holding nothing, when there is none.
bool dx_hold_ddraw(IDirectDraw2** ddraw, HMODULE* library);
// Gives up what dx_hold_ddraw took; nulls are left alone.
void dx_drop_ddraw(IDirectDraw2* ddraw, HMODULE library);

// dx_surfaces.cpp: the surfaces of the display (window mode: primary with
// the window's clipper and a back surface; full screen: the primary alone),
// the 8-bit palette and the converter for the display's pixel format.
bool dx_make_surfaces();
void dx_release_surfaces();
// The window's rescale: a back surface (and an unscaled picture) for
// another scale; false, with the old ones kept, when they can't be had.
bool dx_rescale(int32_t scale);

// dx_refresh.cpp: the refresh thread, the repaint, lost surfaces, the
// retrace wait of the drawing thread. A pass runs under the display lock.
void dx_thread_main();
RefreshOutcome dx_refresh_pass();
void dx_paint();
// Restores lost surfaces; re-creates everything when the display mode
// changed under the program. True when the surfaces can be used.
bool dx_restore_surfaces();
void dx_wait_vsync();

// dx_keyboard.cpp: the DirectInput keyboard. Its data format has one
// optional button per key, object i at byte i of a 256-byte state.
inline constexpr int32_t DX_KEY_OBJECTS = 256;
const DIDATAFORMAT& dx_keyboard_format();
// The 128 key states from the device state: a key is down when its byte,
// or the byte of its extended twin 128 further on, has the top bit set.
void dx_key_states_from(const uint8_t device_state[DX_KEY_OBJECTS], uint8_t key_states[128]);
// The keyboard device of the DirectInput object, in the format above,
// acquired; false when any step fails.
bool dx_keyboard_open();
// Releases the device and the DirectInput object.
void dx_keyboard_close();
void dx_keyboard_refresh_key_states();

// dx_modes.cpp
int32_t* dx_fetch_modes(int32_t depth, int32_t* count);
