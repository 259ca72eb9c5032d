#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/console_end.h"
#include "runtime/runtime_context.h"
#include "support/scoped_env.h"

// A test with the runtime up and the in-memory "Null" screen chosen by the
// driver request, as `ZVGFX=null wavetable` would have it.
class NullScreenTest : public ::testing::Test {
   protected:
    void SetUp() override {
        runtime_init();
        request_ = std::make_unique<ScopedEnv>("ZVGFX", "null");
        drain_key_queue();
    }
    void TearDown() override {
        gfx_screen_close();
        drain_key_queue();
        console_end_reset();
        request_.reset();
    }
    static void drain_key_queue() { key_queue() = KeyQueue{}; }
    void open_screen() { ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, 0, 0), ERR_NONE); }

   private:
    std::unique_ptr<ScopedEnv> request_;
};

// Posts keys the way the window does.
inline void post_keys(std::initializer_list<int32_t> codes) {
    for (int32_t code : codes) key_post(code);
}
inline void post_text(const std::string& text) {
    for (unsigned char c : text) key_post(c);
}

// A user that acts whenever the program waits for a key and none is
// queued: each step may look at the screen and post more keys. It stands
// in the console's key test (hook 3), so everything stays on one thread.
class ScriptedUser {
   public:
    using Step = std::function<void()>;
    explicit ScriptedUser(std::vector<Step> steps);
    ~ScriptedUser();
    ScriptedUser(const ScriptedUser&) = delete;
    ScriptedUser& operator=(const ScriptedUser&) = delete;
    size_t steps_left() const { return steps_.size() - next_; }

   private:
    static int32_t keyhit();
    std::vector<Step> steps_;
    size_t next_ = 0;
    int32_t (*previous_)() = nullptr;
};
