#include "textconsole/console_key_events.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/console/key_codes.h"
#include "runtime/console/virtual_keys.h"

namespace {

constexpr uint32_t ALT = KEYMOD_LEFT_ALT, SHIFT = KEYMOD_SHIFT, CTRL = KEYMOD_LEFT_CTRL;
constexpr int32_t NUM5 = VKEY_NUMPAD0 + 5, NUM6 = VKEY_NUMPAD0 + 6, NUM2 = VKEY_NUMPAD0 + 2;

// Key events as the console reports them (Num Lock on).
ConsoleKeyEvent down(int32_t vk, int32_t scan, int32_t character, uint32_t state) {
    return {1, 1, vk, scan, character, state};
}
ConsoleKeyEvent up(int32_t vk, int32_t scan, int32_t character, uint32_t state) {
    return {0, 1, vk, scan, character, state};
}
const ConsoleKeyEvent ALT_DOWN = down(VKEY_MENU, 0x38, 0, ALT);
const ConsoleKeyEvent ALT_UP = up(VKEY_MENU, 0x38, 0, 0);  // Alt no longer held
// A numeric-pad digit typed with Alt held: down and up.
std::vector<ConsoleKeyEvent> alt_pad(int32_t vk, int32_t scan, int32_t character = 0) {
    return {down(vk, scan, character, ALT), up(vk, scan, character, ALT)};
}

std::vector<ConsoleKeyEvent> join(std::initializer_list<std::vector<ConsoleKeyEvent>> parts) {
    std::vector<ConsoleKeyEvent> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct Case {
    const char* what;
    std::vector<ConsoleKeyEvent> events;
    std::vector<int32_t> codes;
};

TEST(ConsoleKeyEvents, EventsGiveTheirCodesAndAltOnTheNumericPadComposes) {
    // clang-format off
    const Case cases[] = {
        {"a letter: pressed gives it, released nothing",
         {down('A', 0x1E, 'a', 0), up('A', 0x1E, 'a', 0)}, {'a'}},
        {"Up arrow, plain and as an enhanced key", {down(VKEY_UP, 0x48, 0, 0), down(VKEY_UP, 0x48, 0, 0x100)},
         {KEY_UP, KEY_UP}},
        {"a key-down with repeat count 0 is ignored", {{1, 0, 'A', 0x1E, 'a', 0}}, {}},
        {"Shift alone has no code", {down(VKEY_SHIFT, 0x2A, 0, SHIFT), up(VKEY_SHIFT, 0x2A, 0, 0)}, {}},
        {"Alt, pad 6, pad 6, Alt released: one character 66",
         join({{ALT_DOWN}, alt_pad(NUM6, 0x4D), alt_pad(NUM6, 0x4D), {ALT_UP}}), {66}},
        {"pad 5 with Alt posts its extended code besides its digit",
         join({{ALT_DOWN}, alt_pad(NUM5, 0x4C, '5'), {ALT_UP}}), {ext_key(0x4C), 5}},
        {"a key with a code under Alt drops the digits",
         join({{ALT_DOWN}, alt_pad(NUM6, 0x4D), {down('X', 0x2D, 'x', ALT)}, {ALT_UP}}), {ext_key(0x2D)}},
        {"a key without a code ends the composition at once",
         join({{ALT_DOWN}, alt_pad(NUM6, 0x4D), alt_pad(NUM5, 0x4C), {down(VKEY_CONTROL, 0x1D, 0, ALT | CTRL)},
               {ALT_UP}}),
         {65}},
        {"codes above 255 wrap as Windows composes them: 2, 5, 6, 6 is 6",
         join({{ALT_DOWN}, alt_pad(NUM2, 0x50), alt_pad(NUM5, 0x4C), alt_pad(NUM6, 0x4D), alt_pad(NUM6, 0x4D),
               {ALT_UP}}),
         {6}},
        {"Alt released without digits gives nothing", {ALT_DOWN, ALT_UP}, {}},
        {"digits with Shift as well are no composition",
         join({{down(NUM6, 0x4D, 0, ALT | SHIFT), up(NUM6, 0x4D, 0, ALT | SHIFT)}, {ALT_UP}}), {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        auto ring = std::make_unique<KeyRing>();
        AltNumpad composer{};
        for (const ConsoleKeyEvent& e : c.events) console_key_event(composer, e, *ring);
        std::vector<int32_t> got;
        while (!ring->empty()) got.push_back(ring->take());
        EXPECT_EQ(got, c.codes) << c.what;
        EXPECT_EQ(composer.accumulator, 0u) << c.what;
    }
}

// The composed character carries the event of the key that types it.
TEST(ConsoleKeyEvents, ComposedCharacterComesWithTheEventOfItsKey) {
    auto ring = std::make_unique<KeyRing>();
    AltNumpad composer{};
    for (const ConsoleKeyEvent& e : join({{ALT_DOWN}, alt_pad(NUM6, 0x4D), alt_pad(NUM6, 0x4D), {ALT_UP}}))
        console_key_event(composer, e, *ring);
    ConsoleKeyEvent event{};
    ASSERT_EQ(ring->take(&event), 'B');
    EXPECT_EQ(event.key_down, 1);
    EXPECT_EQ(event.character, 'B');
    EXPECT_EQ(event.virtual_key, 'B');
    EXPECT_EQ(event.control_state, SHIFT);
    EXPECT_EQ(event.scan_code, 0x30);
    // A typed key keeps the console's own event.
    const ConsoleKeyEvent typed = down('A', 0x1E, 'a', 0);
    console_key_event(composer, typed, *ring);
    ASSERT_EQ(ring->take(&event), 'a');
    EXPECT_EQ(event.virtual_key, 'A');
    EXPECT_EQ(event.scan_code, 0x1E);
}

}  // namespace
