#include "runtime/debug_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/scoped_env.h"

namespace {

TEST(DebugReport, TheVariableNamesTopicsInAnyCaseAndMix) {
    const struct {
        const char* value;
        uint32_t topics;
    } cases[] = {
        {nullptr, 0},
        {"", 0},
        {"display", DEBUG_DISPLAY},
        {"DISPLAY", DEBUG_DISPLAY},
        {"console", DEBUG_CONSOLE},
        {"display,console", DEBUG_DISPLAY | DEBUG_CONSOLE},
        {" console  display ", DEBUG_DISPLAY | DEBUG_CONSOLE},
        {"all", DEBUG_DISPLAY | DEBUG_CONSOLE},
        {"1", DEBUG_DISPLAY | DEBUG_CONSOLE},
        {"displays", 0},  // whole words only
        {"keys,display", DEBUG_DISPLAY},
    };
    for (const auto& c : cases) EXPECT_EQ(debug_topics_named(c.value), c.topics) << (c.value ? c.value : "(unset)");
}

// What reaches standard error: one whole line per report, and nothing at
// all for a topic that is off.
TEST(DebugReport, SaysOneLinePerReportOnlyForTopicsAsked) {
    ScopedEnv env("WAVETABLE_DEBUG", "display");
    debug_reread();
    testing::internal::CaptureStderr();
    debug_say(DEBUG_DISPLAY, "%s: %s", "Wayland", "no socket");
    debug_say(DEBUG_CONSOLE, "not asked for");
    debug_say(DEBUG_DISPLAY, "%s", std::string(2000, 'x').c_str());  // cut, still one line
    const std::string said = testing::internal::GetCapturedStderr();
    env.set(std::nullopt);
    debug_reread();
    const std::string first = "wavetable: display: Wayland: no socket\n";
    ASSERT_EQ(said.substr(0, first.size()), first);
    const std::string rest = said.substr(first.size());
    EXPECT_EQ(rest.rfind("wavetable: display: xxx", 0), 0u);
    EXPECT_EQ(rest.find('\n'), rest.size() - 1);
    EXPECT_FALSE(debug_wants(DEBUG_DISPLAY));
}

}  // namespace
