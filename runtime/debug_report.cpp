#include "runtime/debug_report.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t ALL_TOPICS = DEBUG_DISPLAY | DEBUG_CONSOLE;
constexpr uint32_t UNREAD = 0x80000000u;

struct TopicName {
    const char* name;
    uint32_t topics;
};

// clang-format off
constexpr TopicName TOPIC_NAMES[] = {
    {"display", DEBUG_DISPLAY},
    {"console", DEBUG_CONSOLE},
    {"all",     ALL_TOPICS},
    {"1",       ALL_TOPICS},
};
// clang-format on

const char* topic_name(DebugTopic topic) { return topic == DEBUG_DISPLAY ? "display" : "console"; }

bool separator(char c) { return c == ',' || std::isspace(static_cast<unsigned char>(c)); }

bool same_word(const char* word, size_t length, const char* name) {
    if (std::strlen(name) != length) return false;
    for (size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(word[i])) != name[i]) return false;
    return true;
}

uint32_t topics_of_word(const char* word, size_t length) {
    for (const TopicName& t : TOPIC_NAMES)
        if (same_word(word, length, t.name)) return t.topics;
    return 0;
}

// Read by any thread, written once (or again by a test).
std::atomic<uint32_t> g_topics{UNREAD};

}  // namespace

uint32_t debug_topics_named(const char* value) {
    uint32_t topics = 0;
    if (!value) return 0;
    for (const char* p = value; *p;) {
        while (*p && separator(*p)) ++p;
        const char* start = p;
        while (*p && !separator(*p)) ++p;
        topics |= topics_of_word(start, static_cast<size_t>(p - start));
    }
    return topics;
}

void debug_reread() { g_topics.store(debug_topics_named(std::getenv("WAVETABLE_DEBUG"))); }

bool debug_wants(DebugTopic topic) {
    if (g_topics.load(std::memory_order_relaxed) == UNREAD) debug_reread();
    return (g_topics.load(std::memory_order_relaxed) & topic) != 0;
}

void debug_say(DebugTopic topic, const char* format, ...) {
    if (!debug_wants(topic)) return;
    char line[512];
    int used = std::snprintf(line, sizeof line, "wavetable: %s: ", topic_name(topic));
    va_list args;
    va_start(args, format);
    const int text = std::vsnprintf(line + used, sizeof line - static_cast<size_t>(used) - 1, format, args);
    va_end(args);
    // A longer text is cut; the line still ends.
    used = text < 0 ? used : std::min(used + text, static_cast<int>(sizeof line) - 2);
    line[used] = '\n';
    std::fwrite(line, 1, static_cast<size_t>(used) + 1, stderr);
}
