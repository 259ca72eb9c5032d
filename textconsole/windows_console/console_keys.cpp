// Keys from the Windows console's input events, and the console control
// handler that turns a closing console into the window-close key.
//
// The handler runs on a thread the system starts for the event; the key
// ring belongs to the program's thread. So the handler only raises a flag,
// and the next key poll pushes the key.
#include <atomic>
#include <cstdlib>

#include "runtime/console_stdin.h"
#include "textconsole/console_input.h"
#include "textconsole/console_key_events.h"
#include "textconsole/key_ring.h"
#include "textconsole/windows_console/win_console.h"

namespace {

std::atomic<bool> g_close_event{false};
std::atomic<bool> g_handler_installed{false};
// Set by the handler too, so that a wait for input hears of the close.
HANDLE g_close_signal = nullptr;

void remove_ctrl_handler() {
    if (g_handler_installed.exchange(false)) SetConsoleCtrlHandler(console_ctrl_handler, FALSE);
}

// Once per process, by the first key poll; removed again at exit.
void install_ctrl_handler() {
    static bool done;
    if (done) return;
    done = true;
    std::atexit(remove_ctrl_handler);
    g_close_signal = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (SetConsoleCtrlHandler(console_ctrl_handler, TRUE)) g_handler_installed.store(true);
}

// Every waiting input event, at most a ring's worth per poll so that a
// flood of events can't keep a poll from returning. A console that can no
// longer be read has gone away.
void read_events(WinConsole& console) {
    for (int32_t n = 0; n < KeyRing::SIZE; ++n) {
        INPUT_RECORD record{};
        DWORD count = 0;
        if (!PeekConsoleInputA(console.input, &record, 1, &count)) {
            text_console_closed();
            return;
        }
        if (count == 0) return;
        if (!ReadConsoleInputA(console.input, &record, 1, &count)) {
            text_console_closed();
            return;
        }
        if (count == 1 && record.EventType == KEY_EVENT)
            console_key_event(console.alt_numpad, console_key_event_of(record.Event.KeyEvent), key_ring());
    }
}

}  // namespace

ConsoleKeyEvent console_key_event_of(const KEY_EVENT_RECORD& k) {
    return ConsoleKeyEvent{k.bKeyDown ? 1 : 0,
                           k.wRepeatCount,
                           k.wVirtualKeyCode,
                           k.wVirtualScanCode,
                           static_cast<uint8_t>(k.uChar.AsciiChar),
                           static_cast<uint32_t>(k.dwControlKeyState)};
}

BOOL WINAPI console_ctrl_handler(DWORD event) {
    if (event != CTRL_CLOSE_EVENT && event != CTRL_LOGOFF_EVENT && event != CTRL_SHUTDOWN_EVENT) return FALSE;
    g_close_event.store(true);
    if (g_close_signal) SetEvent(g_close_signal);
    return TRUE;
}

void text_console_read_typed_keys() {
    install_ctrl_handler();
    if (g_close_event.exchange(false)) text_console_closed();
    read_events(win_console());
}

// The console's input handle is signalled while events wait; redirected
// input is the runtime's standard input.
void text_console_wait_for_input(int32_t timeout_ms) {
    const WinConsole& console = win_console();
    if (!console.input_console) {
        console_stdin_wait(timeout_ms);
        return;
    }
    const HANDLE handles[2] = {console.input, g_close_signal};
    const DWORD count = g_close_signal ? 2 : 1;
    WaitForMultipleObjects(count, handles, FALSE, timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms));
}

// Every key event is whole as it comes.
bool text_console_keys_pending() { return false; }
