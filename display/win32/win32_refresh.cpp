// The refresh thread of the Windows back-ends with one ("GDI", "DirectX"):
// a pass under the display lock, then a sleep until there is work.
//
// The thread sleeps in MsgWaitForMultipleObjectsEx on its wake-up event
// and its message queue. Window messages and window_show_now end the sleep
// at once.
// Marked rows (window_wake) end it too, except right after a pass that
// copied rows: then they wait for the rest of the period, so that a
// growing plot reaches the window at most once a period. The wake-up is
// armed under the display lock at the end of a pass, so a mark made after
// the pass always finds it armed, and one made before is seen by the pass.
#include <windows.h>

#include <atomic>
#include <chrono>

#include "display/display_window.h"
#include "display/win32/win32_window.h"

namespace {

using Clock = std::chrono::steady_clock;

// The refresh thread is about to sleep: the next wake-up sets the event.
// (Setting it on every marked unlock would cost a system call per dot.)
std::atomic<bool> g_wake_armed{false};
// window_show_now asked for a pass at once.
std::atomic<bool> g_show_now{false};

DWORD milliseconds_until(Clock::time_point t) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return left > 0 ? static_cast<DWORD>(left) + 1 : 0;
}

enum class Woken { MESSAGE, WAKE, TIMEOUT, FAILED };

Woken sleep_for(DWORD timeout_ms) {
    const HANDLE wake = win32_window().wake_event;
    const DWORD r = MsgWaitForMultipleObjectsEx(1, &wake, timeout_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r == WAIT_OBJECT_0) return Woken::WAKE;
    if (r == WAIT_OBJECT_0 + 1) return Woken::MESSAGE;
    if (r == WAIT_TIMEOUT) return Woken::TIMEOUT;
    return Woken::FAILED;
}

// Returns when a pass is due. `work_left`: the last pass left rows to copy.
void wait_for_work(Clock::time_point quiet_until, bool work_left) {
    if (!win32_window().wake_event) {  // without a wake-up the thread looks every period
        Sleep(REFRESH_PERIOD_MS);
        return;
    }
    for (;;) {
        const bool quiet = Clock::now() < quiet_until;
        if (work_left && !quiet) return;
        switch (sleep_for(quiet ? milliseconds_until(quiet_until) : INFINITE)) {
        case Woken::MESSAGE: return;
        case Woken::TIMEOUT: break;
        case Woken::WAKE:
            if (g_show_now.exchange(false) || !display_window().running.load()) return;
            work_left = true;
            break;
        case Woken::FAILED: Sleep(REFRESH_PERIOD_MS); return;
        }
    }
}

}  // namespace

void win32_refresh_loop(RefreshOutcome (*pass)()) {
    DisplayWindow& w = display_window();
    Clock::time_point quiet_until{};
    while (w.running.load()) {
        window_lock();
        g_show_now.store(false);  // this pass shows it
        const RefreshOutcome done = pass();
        if (done.copied) quiet_until = Clock::now() + std::chrono::milliseconds(REFRESH_PERIOD_MS);
        g_wake_armed.store(true);  // what is marked from here on wakes the thread
        window_unlock();
        // Looked at after arming: an end asked for before the arming is seen
        // here, one asked for after it wakes the sleep.
        if (!w.running.load()) break;
        wait_for_work(quiet_until, done.work_left);
    }
    g_wake_armed.store(false);
}

void window_wake() {
    const HANDLE event = win32_window().wake_event;
    if (g_wake_armed.load(std::memory_order_relaxed) && g_wake_armed.exchange(false) && event) SetEvent(event);
}

void window_show_now() {
    const HANDLE event = win32_window().wake_event;
    if (!event) return;
    g_show_now.store(true);
    SetEvent(event);
}
