#pragma once
#include "runtime/console_hooks.h"

// The character console serves every console operation whose hook is
// empty: all of them while no graphics screen is open. The platform's
// console driver registers itself once, before the program starts; the
// runtime never names it. An operation that no registered console serves
// does nothing and answers as a console that nobody types on.
struct CharConsole {
    ConsoleHooks operations;  // empty slots: not served
    void (*reset)();          // forgets all its state; run when the runtime starts
};

void char_console_register(const CharConsole* console);

// The registered console's operations (all empty when none registered).
const ConsoleHooks& char_console_operations();

// Runs the registered console's reset, if any.
void char_console_reset();

// The operation behind a console hook slot: the hook while a screen filled
// it, else the character console's; null when neither serves it.
template <auto Slot>
auto console_operation() {
    auto hook = console_hooks().*Slot;
    return hook ? hook : char_console_operations().*Slot;
}
