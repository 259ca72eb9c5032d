// The Windows console's key events as the key ring takes them: the typed
// byte in the console's code page, 0x80 and above included, arrives as the
// code the terminal gives for it, 1 to 255.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "runtime/console/key_string.h"
#include "runtime/strings.h"
#include "textconsole/console_key_events.h"
#include "textconsole/windows_console/win_console.h"

namespace {

KEY_EVENT_RECORD pressed(WORD vk, WORD scan, unsigned char typed, DWORD state = 0) {
    KEY_EVENT_RECORD k{};
    k.bKeyDown = TRUE;
    k.wRepeatCount = 1;
    k.wVirtualKeyCode = vk;
    k.wVirtualScanCode = scan;
    k.uChar.AsciiChar = static_cast<CHAR>(typed);
    k.dwControlKeyState = state;
    return k;
}

TEST(ConsoleKeyRecords, TypedBytesOfCodePage437GiveTheirCodes) {
    struct Case {
        const char* what;
        KEY_EVENT_RECORD record;
        int32_t code;
    };
    const Case cases[] = {
        {"a", pressed('A', 0x1E, 'a'), 'a'},
        {"e acute, 0x82 (French layout, the 2 key)", pressed('2', 0x03, 0x82), 130},
        {"sharp s, 0xE1 (German layout)", pressed(VK_OEM_4, 0x0C, 0xE1), 225},
        {"no-break space, 0xFF, the last byte", pressed(VK_SPACE, 0x39, 0xFF, SHIFT_PRESSED), 255},
    };
    for (const Case& c : cases) {
        const ConsoleKeyEvent event = console_key_event_of(c.record);
        EXPECT_EQ(event.character, c.code) << c.what;
        auto ring = std::make_unique<KeyRing>();
        AltNumpad composer{};
        console_key_event(composer, event, *ring);
        const int32_t code = ring->take();
        EXPECT_EQ(code, c.code) << c.what;
        StringDesc* key = key_code_string(code);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(key->data), string_length(key)),
                  std::string(1, static_cast<char>(c.code)))
            << c.what;
        temp_string_release(key);
    }
}

}  // namespace
