// The console's handles and window, shared by output and keys.
#include "textconsole/windows_console/win_console.h"

#include "textconsole/console_input.h"
#include "textconsole/text_console.h"

namespace {

WinConsole g_console;

// Ctrl+C must reach the system's handling, whatever mode the console
// came with.
void fetch_handles() {
    g_console.fetched = true;
    g_console.input = GetStdHandle(STD_INPUT_HANDLE);
    g_console.output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    g_console.input_console =
        g_console.input != INVALID_HANDLE_VALUE && g_console.input != nullptr && GetConsoleMode(g_console.input, &mode);
    if (g_console.input_console) SetConsoleMode(g_console.input, mode | ENABLE_PROCESSED_INPUT);
}

}  // namespace

WinConsole& win_console() {
    if (!g_console.fetched) fetch_handles();
    return g_console;
}

bool console_refresh(CONSOLE_SCREEN_BUFFER_INFO* info) {
    WinConsole& c = win_console();
    CONSOLE_SCREEN_BUFFER_INFO read{};
    if (!GetConsoleScreenBufferInfo(c.output, &read)) {
        c.window = SMALL_RECT{0, 0, 0, 0};
        return false;
    }
    c.window = SMALL_RECT{0, read.srWindow.Top, static_cast<SHORT>(read.dwSize.X - 1), read.srWindow.Bottom};
    if (info) *info = read;
    return c.window.Left != c.window.Right && c.window.Top != c.window.Bottom;
}

int32_t text_console_input_redirected() { return win_console().input_console ? 0 : 1; }

void text_console_driver_reset() { g_console = WinConsole{}; }
