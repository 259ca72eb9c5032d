#pragma once
// The window procedure's keyboard and mouse halves (win32_keys.cpp,
// win32_mouse.cpp): each handles its messages and answers the result, or
// nothing when the default processing is to follow.
#include <windows.h>

#include <cstdint>
#include <optional>

#include "display/window_events.h"

// A key message's control-key state: KEYMOD_* bits from the keyboard
// state (a key is down when its byte's top bit is set) and the enhanced
// flag of lParam.
uint32_t win32_key_modifiers(const BYTE state[256], LPARAM lparam);

// The key a WM_KEYDOWN, WM_KEYUP or WM_SYSKEYDOWN stands for, with the
// character the key types (0 for none).
KeyMessage win32_key_message(UINT message, WPARAM wparam, LPARAM lparam, const BYTE state[256], int32_t character);

// The character a key types with the keyboard state, as a signed byte; 0
// for none and for dead keys, which must keep their pending accent.
int32_t win32_key_character(WPARAM wparam, LPARAM lparam, const BYTE state[256]);

// A byte of a code page (typed characters come in the process code page,
// CP_ACP) as code page 437, through the growable buffers of the record;
// false when it has no form there or the buffers cannot grow.
bool win32_cp437_of(uint8_t byte, UINT code_page, uint8_t* cp437);

std::optional<LRESULT> win32_key(UINT message, WPARAM wparam, LPARAM lparam);
std::optional<LRESULT> win32_char(WPARAM wparam, LPARAM lparam);
std::optional<LRESULT> win32_mouse(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The extra buttons (MOUSE_EXTRA1, MOUSE_EXTRA2) wParam's key flags give
// as held.
int32_t win32_extra_buttons(WPARAM wparam);

// The client area of the window in screen pixels; false (and an empty
// rectangle) when the window has none.
bool win32_client_on_screen(HWND window, RECT* area);
