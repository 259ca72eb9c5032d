// Kept apart: <term.h> defines capability names (lines, columns, ...) as
// macros, which must not reach other code.
#include <term.h>

#include "textconsole/terminal/key_decoder.h"

namespace {

struct Capability {
    const char* name;
    TermKey key;
};

// clang-format off
constexpr Capability kCapabilities[] = {
    {"kcuu1", TermKey::Up},     {"kcud1", TermKey::Down},   {"kcub1", TermKey::Left},  {"kcuf1", TermKey::Right},
    {"khome", TermKey::Home},   {"kend", TermKey::End},     {"kich1", TermKey::Insert}, {"kdch1", TermKey::Delete},
    {"kpp", TermKey::PageUp},   {"knp", TermKey::PageDown}, {"kf1", TermKey::F1},      {"kf2", TermKey::F2},
    {"kf3", TermKey::F3},       {"kf4", TermKey::F4},       {"kf5", TermKey::F5},      {"kf6", TermKey::F6},
    {"kf7", TermKey::F7},       {"kf8", TermKey::F8},       {"kf9", TermKey::F9},      {"kf10", TermKey::F10},
    {"kf11", TermKey::F11},     {"kf12", TermKey::F12},     {"kbs", TermKey::Backspace},
};
// clang-format on

// setupterm once per process: it allocates the terminal description and
// keeps it as the current one.
bool terminfo_ready(int fd) {
    static const bool ready = [fd] {
        int error = 0;
        return setupterm(nullptr, fd, &error) == 0;  // 0 is OK (named in curses.h)
    }();
    return ready;
}

}  // namespace

std::vector<KeySequence> terminfo_key_sequences(int fd) {
    std::vector<KeySequence> sequences;
    if (!terminfo_ready(fd)) return sequences;
    for (const Capability& cap : kCapabilities) {
        const char* value = tigetstr(cap.name);
        // Absent (null) or not a string capability ((char*)-1).
        if (value == nullptr || value == reinterpret_cast<const char*>(-1)) continue;
        sequences.push_back(KeySequence{value, cap.key});
    }
    return sequences;
}
