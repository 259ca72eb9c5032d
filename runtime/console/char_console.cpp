#include "runtime/console/char_console.h"

#include "runtime/console/console_channel.h"
#include "runtime/runtime_parts.h"

namespace {

constexpr CharConsole NO_CONSOLE{};

// Written before main by the console driver's registration, read after.
constinit const CharConsole* g_console = &NO_CONSOLE;

// The console's state goes with the runtime: cleared at its start, the
// console channel's stream released at its shutdown (after the files).
constexpr RuntimePart CONSOLE_PART = {char_console_reset, console_channel_release};

const bool g_part_registered = (runtime_register_part(&CONSOLE_PART), true);

}  // namespace

void char_console_register(const CharConsole* console) { g_console = console ? console : &NO_CONSOLE; }

const ConsoleHooks& char_console_operations() { return g_console->operations; }

void char_console_reset() {
    if (g_console->reset) g_console->reset();
}
