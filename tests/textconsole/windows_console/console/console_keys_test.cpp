// Keys of the text console from a real console's input events.
#include <string>
#include <thread>
#include <vector>

#include "console_fixture.h"
#include "runtime/console/console.h"
#include "runtime/console/console_end.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/virtual_keys.h"
#include "runtime/strings.h"
#include "textconsole/text_console.h"
#include "textconsole/windows_console/win_console.h"

namespace {

using Keys = ConsoleDriverTest;

INPUT_RECORD key(bool down, WORD vk, WORD scan, char character, DWORD state = 0, WORD repeat = 1) {
    INPUT_RECORD r{};
    r.EventType = KEY_EVENT;
    r.Event.KeyEvent.bKeyDown = down;
    r.Event.KeyEvent.wRepeatCount = repeat;
    r.Event.KeyEvent.wVirtualKeyCode = vk;
    r.Event.KeyEvent.wVirtualScanCode = scan;
    r.Event.KeyEvent.uChar.AsciiChar = character;
    r.Event.KeyEvent.dwControlKeyState = state;
    return r;
}

// A press and a release.
void type(std::vector<INPUT_RECORD>& events, WORD vk, WORD scan, char character, DWORD state = 0) {
    events.push_back(key(true, vk, scan, character, state));
    events.push_back(key(false, vk, scan, character, state));
}

void send(const std::vector<INPUT_RECORD>& events) {
    DWORD written = 0;
    ASSERT_TRUE(
        WriteConsoleInputA(GetStdHandle(STD_INPUT_HANDLE), events.data(), static_cast<DWORD>(events.size()), &written));
    ASSERT_EQ(written, events.size());
}

// Every key string the poll has, one by one.
std::vector<std::string> poll_all() {
    std::vector<std::string> keys;
    for (;;) {
        StringDesc* k = text_console_inkey();
        const uint64_t n = string_length(k);
        if (n == 0) return keys;
        keys.emplace_back(reinterpret_cast<const char*>(k->data), n);
        temp_string_release(k);
    }
}

TEST_F(Keys, InputIsAConsole) { EXPECT_EQ(text_console_input_redirected(), 0); }

TEST_F(Keys, TypedKeysArriveAsKeyStrings) {
    std::vector<INPUT_RECORD> events;
    type(events, '1', 0x02, '1');
    type(events, VKEY_LEFT, 0x4B, 0, KEYMOD_ENHANCED);
    type(events, VKEY_UP, 0x48, 0);
    events.push_back(key(true, 'A', 0x1E, 'a', 0, 0));  // repeat count 0: ignored
    type(events, VKEY_F1, 0x3B, 0, KEYMOD_SHIFT);
    type(events, VKEY_RETURN, 0x1C, '\r');
    send(events);
    EXPECT_EQ(text_console_keyhit(), 1);
    const std::vector<std::string> want = {"1", "\xff\x4b", "\xff\x48", "\xff\x54", "\r"};
    EXPECT_EQ(poll_all(), want);
    EXPECT_EQ(text_console_keyhit(), 0);
}

// Alt held while 6 and 6 are typed on the numeric pad, then let go: "B".
TEST_F(Keys, AltOnTheNumericPadComposesACharacter) {
    std::vector<INPUT_RECORD> events;
    events.push_back(key(true, VKEY_MENU, 0x38, 0, KEYMOD_LEFT_ALT));
    type(events, VKEY_NUMPAD0 + 6, 0x4D, 0, KEYMOD_LEFT_ALT);
    type(events, VKEY_NUMPAD0 + 6, 0x4D, 0, KEYMOD_LEFT_ALT);
    events.push_back(key(false, VKEY_MENU, 0x38, 0, 0));
    send(events);
    EXPECT_EQ(poll_all(), std::vector<std::string>{"B"});
}

TEST_F(Keys, GetkeyAndSleepWakeOnAKey) {
    std::vector<INPUT_RECORD> events;
    type(events, 'Q', 0x10, 'q');
    send(events);
    text_console_sleep(-1);  // returns: a key was pressed
    EXPECT_EQ(text_console_getkey(), 'q');
}

// The console types in code page 437: an "e" acute is the byte 0x82, code
// 130 as the terminal gives it, and the one-byte key string 0x82.
TEST_F(Keys, BytesAbove127AreCodesAbove127) {
    std::vector<INPUT_RECORD> events;
    type(events, '2', 0x03, static_cast<char>(0x82));  // the 2 key of a French layout
    type(events, '2', 0x03, static_cast<char>(0x82));
    send(events);
    EXPECT_EQ(text_console_getkey(), 130);
    EXPECT_EQ(poll_all(), std::vector<std::string>{"\x82"});
}

// The control handler runs on a thread of its own; the key it leaves
// arrives through the next poll, once, and the console counts as ended.
TEST_F(Keys, ClosingTheConsoleGivesTheWindowCloseKey) {
    EXPECT_EQ(console_ctrl_handler(CTRL_C_EVENT), FALSE);
    EXPECT_EQ(console_ctrl_handler(CTRL_BREAK_EVENT), FALSE);
    EXPECT_EQ(poll_all(), std::vector<std::string>{});
    BOOL handled = FALSE;
    std::thread system_thread([&] { handled = console_ctrl_handler(CTRL_CLOSE_EVENT); });
    system_thread.join();
    EXPECT_EQ(handled, TRUE);
    EXPECT_EQ(poll_all(), std::vector<std::string>{"\xff\x6b"});
    EXPECT_TRUE(console_ended());
    EXPECT_EQ(console_ctrl_handler(CTRL_LOGOFF_EVENT), TRUE);
    EXPECT_EQ(poll_all(), std::vector<std::string>{});  // closed once is enough
}

// Input that can no longer be read ends the console the same way.
TEST_F(Keys, UnreadableInputEndsTheConsole) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, buffer());  // a screen buffer has no input events
    text_console_reset();
    EXPECT_EQ(text_console_input_redirected(), 0);
    EXPECT_EQ(poll_all(), std::vector<std::string>{"\xff\x6b"});
    EXPECT_TRUE(console_ended());
    SetStdHandle(STD_INPUT_HANDLE, input);
}

}  // namespace
