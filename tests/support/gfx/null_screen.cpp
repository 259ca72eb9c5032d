#include "support/gfx/null_screen.h"

#include "gfx/gfx_keys.h"
#include "runtime/console/key_codes.h"
#include "runtime/console_hooks.h"

namespace {

ScriptedUser* g_user;

}  // namespace

ScriptedUser::ScriptedUser(std::vector<Step> steps) : steps_(std::move(steps)) {
    g_user = this;
    previous_ = console_hooks().keyhit;
    console_hooks().keyhit = keyhit;
}

ScriptedUser::~ScriptedUser() {
    console_hooks().keyhit = previous_;
    g_user = nullptr;
}

int32_t ScriptedUser::keyhit() {
    if (!gfx_keyhit() && g_user) {
        if (g_user->next_ < g_user->steps_.size()) {
            g_user->steps_[g_user->next_++]();
        } else {
            ADD_FAILURE() << "the program waits for a key the script doesn't have";
            key_post(KEY_ENTER);
        }
    }
    return gfx_keyhit();
}
