#include "textconsole/key_ring.h"

#include <gtest/gtest.h>

#include <memory>

#include "runtime/console/key_codes.h"
#include "runtime/console/key_translate.h"

namespace {

TEST(KeyRing, FullRingKeepsTheLast511WithTheirEvents) {
    auto ring = std::make_unique<KeyRing>();
    for (int32_t i = 1; i <= 512; ++i) ring->push(i, ConsoleKeyEvent{1, 1, i, 0, 0, 0});
    EXPECT_EQ(ring->pressed_take(), 1);
    EXPECT_EQ(ring->pressed_take(), 0);
    ConsoleKeyEvent event{};
    for (int32_t i = 2; i <= 512; ++i) {
        ASSERT_EQ(ring->take(&event), i);
        ASSERT_EQ(event.virtual_key, i);
    }
    EXPECT_TRUE(ring->empty());
    EXPECT_EQ(ring->take(&event), 0);
    EXPECT_EQ(event.virtual_key, 0);  // an empty ring gives no event
}

TEST(KeyRing, CloseKeyIsAltF4) {
    const ConsoleKeyEvent e = close_key_event();
    EXPECT_EQ(e.virtual_key, 115);
    EXPECT_EQ(e.scan_code, 0x3E);  // F4 on the PC keyboard
    EXPECT_EQ(e.control_state, KEYMOD_LEFT_ALT);
    EXPECT_EQ(key_translate(e.character, e.scan_code, e.virtual_key, e.control_state, 0), KEY_CLOSE);
}

}  // namespace
