#include "runtime/runtime_context.h"

#include <clocale>
#include <cstdlib>

#include "runtime/context_slots.h"
#include "runtime/os.h"
#include "runtime/runtime_parts.h"

namespace {

int32_t g_init_count;
bool g_static_init_done;

}  // namespace

RuntimeContext g_runtime_context;

ConsoleHooks& console_hooks() { return g_runtime_context.hooks; }

void runtime_static_init() {
    if (g_static_init_done) return;
    g_static_init_done = true;
    runtime_init();
    std::atexit(runtime_shutdown);
}

void runtime_init() {
    if (++g_init_count != 1) return;
    g_runtime_context = RuntimeContext{};
    // Round to nearest, ties to even: the numeric input's rounding and the
    // waveform arithmetic rely on it.
    os_float_setup();
    runtime_parts_init();  // the console's state among them
    std::setlocale(LC_CTYPE, "");
}

void runtime_start(int32_t argc, char** argv, int32_t start_value) {
    g_runtime_context.argc = argc;
    g_runtime_context.argv = argv;
    g_runtime_context.start_value = start_value;
}

void runtime_end(int32_t code) {
    if (g_runtime_context.exit_hook) g_runtime_context.exit_hook(code);
    std::exit(code);
}

void runtime_shutdown() {
    if (g_init_count == 0 || --g_init_count != 0) return;
    file_close_all();
    runtime_parts_shutdown();
    context_slots_release();
}
