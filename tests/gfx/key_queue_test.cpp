#include "gfx/key_queue.h"

#include <gtest/gtest.h>

#include <chrono>

#include "gfx/gfx_keys.h"
#include "runtime/console/console.h"
#include "runtime/console/key_codes.h"
#include "runtime/strings.h"
#include "support/gfx/null_screen.h"

namespace {

class KeyQueueTest : public NullScreenTest {
   protected:
    void SetUp() override {
        NullScreenTest::SetUp();
        open_screen();
    }
    // The poll's result as bytes; the string goes back to the pool.
    std::string poll() {
        StringDesc* k = inkey();
        std::string bytes(reinterpret_cast<const char*>(k->data ? k->data : reinterpret_cast<const uint8_t*>("")),
                          string_length(k));
        temp_string_release(k);
        return bytes;
    }
};

TEST_F(KeyQueueTest, KeyStrings) {
    post_keys({'a', KEY_UP, KEY_F1, ext_key(0x54), ext_key(0x77), KEY_CLOSE, -126});
    EXPECT_EQ(poll(), "a");
    EXPECT_EQ(poll(), "\xff\x48");
    EXPECT_EQ(poll(), "\xff\x3b");
    EXPECT_EQ(poll(), "\xff\x54");
    EXPECT_EQ(poll(), "\xff\x77");
    EXPECT_EQ(poll(), "\xff\x6b");
    EXPECT_EQ(poll(), "\x82");  // a sign-extended character comes out as its byte
    EXPECT_EQ(poll(), "");
}

TEST_F(KeyQueueTest, SixteenPostsKeepTheLastFifteen) {
    for (int i = 1; i <= 16; ++i) key_post('A' + i);
    for (int i = 2; i <= 16; ++i) EXPECT_EQ(key_take(), 'A' + i);
    EXPECT_EQ(key_take(), 0);
}

TEST_F(KeyQueueTest, FlagAndZeroCode) {
    EXPECT_EQ(gfx_keyhit(), 0);
    key_post(0);
    EXPECT_EQ(gfx_keyhit(), 1);
    EXPECT_EQ(poll(), "");  // code 0 can't be told from an empty queue
    EXPECT_EQ(key_queue().key_pressed, 0);
    key_post('x');
    EXPECT_EQ(key_pressed_take(), 1);
    EXPECT_EQ(key_pressed_take(), 0);
    EXPECT_EQ(poll(), "x");
    EXPECT_EQ(poll(), "");
    EXPECT_EQ(key_queue().key_pressed, 0);
}

TEST_F(KeyQueueTest, KeyStatesAndWithoutAScreen) {
    g_gfx_screen->key_states[0x1E] = 1;
    EXPECT_EQ(gfx_key_state(0x1E), -1);
    EXPECT_EQ(gfx_key_state(0x1F), 0);
    EXPECT_EQ(gfx_key_state(128), 0);
    EXPECT_EQ(gfx_key_state(-1), 0);
    key_post('q');
    gfx_screen_close();
    StringDesc* k = gfx_inkey();
    EXPECT_EQ(k, string_empty());
    EXPECT_EQ(gfx_getkey(), 0);
    open_screen();
    EXPECT_EQ(poll(), "q");  // keys stay in the queue for the next screen
}

TEST_F(KeyQueueTest, SleepEndsEarlyOnAKey) {
    using namespace std::chrono;
    key_post('k');
    auto start = steady_clock::now();
    gfx_sleep(-1);  // the key is already there
    gfx_sleep(-7);  // returns at once
    key_post('k');
    gfx_sleep(10000);  // ends at the first 50 ms check
    EXPECT_LT(steady_clock::now() - start, milliseconds(1000));
    start = steady_clock::now();
    gfx_sleep(120);
    EXPECT_GE(steady_clock::now() - start, milliseconds(110));
}

}  // namespace
