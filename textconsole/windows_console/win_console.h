#pragma once
#include <windows.h>

#include <cstdint>

#include "textconsole/console_key_events.h"

// The Windows character console behind the text console: the standard
// handles, the console window as last seen, and the pending line break.
struct WinConsole {
    bool fetched;  // handles taken (and the input mode set) once
    HANDLE input;
    HANDLE output;
    bool input_console;  // standard input is a console (not redirected)
    // The window in screen-buffer coordinates: left 0, right the buffer's
    // last column, top and bottom the visible rows; all 0 when the buffer
    // can't be read (output redirected).
    SMALL_RECT window;
    bool pending_newline;  // text ended in the last cell; the line break waits
    AltNumpad alt_numpad;  // a character being composed on the numeric pad
};

WinConsole& win_console();

// Reads the screen buffer into `info` (when given) and refreshes the
// cached window. True when the console is usable as a text window: the
// buffer could be read and the window is at least two cells wide and high
// (output redirected to a file or a pipe has no window).
bool console_refresh(CONSOLE_SCREEN_BUFFER_INFO* info);

// A key event of the console as the key ring keeps it. The character is
// the event's byte as a number 0 to 255: the console types in its code
// page (437 here), where 0x80 and above are letters such as the "é" of
// 0x82, never negative numbers.
ConsoleKeyEvent console_key_event_of(const KEY_EVENT_RECORD& record);

// The console control handler, installed by the first key poll. Console
// closed, user logging off, system shutting down: the window-close key,
// pushed by the next key poll (the handler runs on a thread of the
// system's). Ctrl+C and Ctrl+Break go on to the system's own handling,
// which ends the process.
BOOL WINAPI console_ctrl_handler(DWORD event);
