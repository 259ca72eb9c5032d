#pragma once
#include <cstdint>

// Why the runtime chose what it chose, said on standard error when the
// environment variable WAVETABLE_DEBUG names the topic: "display" (each
// window driver tried, why it refused, which served and at what scale),
// "console" (terminal, batch or redirected output, and why), or "all".
// Names are separated by commas or blanks and ignore case. Without the
// variable nothing is said: the program's output stays its own.
enum DebugTopic : uint32_t {
    DEBUG_DISPLAY = 0x1,
    DEBUG_CONSOLE = 0x2,
};

// The topics a value of WAVETABLE_DEBUG names.
uint32_t debug_topics_named(const char* value);

// Whether the topic is on; the variable is read once, at the first ask.
bool debug_wants(DebugTopic topic);

// One line "wavetable: <topic>: <text>" on standard error when the topic
// is on, from any thread, written whole.
void debug_say(DebugTopic topic, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Reads the variable again (tests change it).
void debug_reread();
