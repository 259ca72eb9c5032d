#pragma once
#include <cstdint>

#include "runtime/channels.h"
#include "runtime/console_hooks.h"
#include "runtime/strings.h"

// The one process-wide runtime record.
struct RuntimeContext {
    int32_t argc;
    char** argv;
    StringDesc empty_string;
    ConsoleHooks hooks;
    ChannelRecord console_record;         // channel 0
    ChannelRecord reserved_record;        // channel -1
    ChannelRecord channels[CHANNEL_MAX];  // channels 1 .. 255
    int32_t files_opened;
    int32_t start_value;
    void (*exit_hook)(int32_t code);
    // Per channel 1 .. 255: the system's reason (an errno value) for the
    // first failure of its file since it was last opened, 0 for none. Not
    // cleared by closing, so a program can still report after close-all.
    int32_t faults[CHANNEL_MAX];
};

extern RuntimeContext g_runtime_context;

inline RuntimeContext& runtime_context() { return g_runtime_context; }

// Runs the program's static initialisers once per process: runtime_init now,
// runtime_shutdown at exit. Further calls do nothing.
void runtime_static_init();

void runtime_init();
void runtime_start(int32_t argc, char** argv, int32_t start_value);
[[noreturn]] void runtime_end(int32_t code);
void runtime_shutdown();
