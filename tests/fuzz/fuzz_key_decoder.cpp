// The terminal key decoder on arbitrary bytes. The first byte chooses the
// decoder (built-in forms only, or with a terminal's own sequences as
// terminfo would give them) and, bit by bit, after which bytes the pause
// comes that ends a lone Escape or a cut sequence.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "textconsole/terminal/key_decoder.h"

namespace {

// Forms a terminal might name, among them some that clash with the
// built-in ones and a prefix of another.
const std::vector<KeySequence>& terminal_sequences() {
    // clang-format off
    static const std::vector<KeySequence> known = {
        {"\x1b[A", TermKey::Up},         {"\x1bOA", TermKey::Up},        {"\x1b[3~", TermKey::Delete},
        {"\x1b[11~", TermKey::F1},       {"\x1b[[A", TermKey::F1},       {"\x1bOP", TermKey::F1},
        {"\x1b[1;5C", TermKey::Right},   {"\x1b[7~", TermKey::Home},     {"\x1b[Z", TermKey::BackTab},
        {"\x1b", TermKey::Insert},       {"\x1b[", TermKey::Insert},     {"\x1bO", TermKey::End},
        {"\x1b[2", TermKey::Insert},     {"\x7f", TermKey::Backspace},   {"\x1b\x1b[A", TermKey::Up},
    };
    // clang-format on
    return known;
}

bool valid_code(int32_t code) {
    if (code >= 1 && code <= 255) return true;
    int32_t scan = code >> 8;
    return (code & 0xFF) == 0xFF && scan >= 1 && scan <= 255;
}

void check(const std::vector<KeyEvent>& events, size_t from) {
    for (size_t i = from; i < events.size(); ++i)
        if (!valid_code(events[i].code)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t pauses = data[0];
    KeyDecoder decoder = pauses & 1 ? KeyDecoder(terminal_sequences()) : KeyDecoder();
    std::vector<KeyEvent> events;
    std::vector<int32_t> codes;
    for (size_t i = 1; i < size; ++i) {
        size_t before = events.size();
        // Both forms of feed, so both stay in step with each other.
        if (i % 2)
            decoder.feed(data[i], events);
        else
            decoder.feed(data[i], codes);
        check(events, before);
        if (decoder.pending() && (pauses >> (i % 7 + 1)) & 1) {
            decoder.timeout(events);
            if (decoder.pending()) std::abort();
        }
    }
    decoder.timeout(codes);
    if (decoder.pending()) std::abort();
    for (int32_t code : codes)
        if (!valid_code(code)) std::abort();
    return 0;
}
