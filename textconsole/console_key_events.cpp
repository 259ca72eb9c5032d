#include "textconsole/console_key_events.h"

#include "runtime/console/key_codes.h"
#include "runtime/console/key_translate.h"
#include "runtime/console/keyboard_layout.h"
#include "runtime/console/virtual_keys.h"

namespace {

constexpr uint32_t ALT = KEYMOD_LEFT_ALT | KEYMOD_RIGHT_ALT;
constexpr uint32_t SHIFT_OR_CTRL = KEYMOD_SHIFT | KEYMOD_LEFT_CTRL | KEYMOD_RIGHT_CTRL;

// The keyboard layer's "character to virtual key" form: modifier bits
// above the virtual key.
constexpr int32_t LAYOUT_SHIFT = 0x100, LAYOUT_CTRL = 0x200, LAYOUT_ALT = 0x400;

bool alt_only(const ConsoleKeyEvent& e) { return (e.control_state & ALT) && !(e.control_state & SHIFT_OR_CTRL); }

bool numpad_digit(int32_t virtual_key) { return virtual_key >= VKEY_NUMPAD0 && virtual_key <= VKEY_NUMPAD9; }

// The composed code as the key that would type it. Windows composes modulo
// 256, and a key code above 255 would read as an extended key, so only the
// low byte is kept.
void push_composed(uint32_t accumulator, KeyRing& ring) {
    const int32_t character = static_cast<int32_t>(accumulator & 0xFF);
    ConsoleKeyEvent event{1, 1, 0, 0, character, 0};
    const int32_t key = char_virtual_key(character);
    if (key != -1) {
        event.virtual_key = key & 0xFF;
        if (key & LAYOUT_SHIFT) event.control_state |= KEYMOD_SHIFT;
        if (key & LAYOUT_CTRL) event.control_state |= KEYMOD_LEFT_CTRL;
        if (key & LAYOUT_ALT) event.control_state |= KEYMOD_LEFT_ALT;
        event.scan_code = virtual_key_scan_code(event.virtual_key);
    }
    ring.push(character, event);
}

}  // namespace

void console_key_event(AltNumpad& composer, const ConsoleKeyEvent& event, KeyRing& ring) {
    if (event.key_down && event.repeat_count == 0) return;
    const bool composing = alt_only(event);
    const int32_t code =
        event.key_down ? key_translate(event.character, event.scan_code, event.virtual_key, event.control_state, 0)
                       : -1;
    if (event.key_down && !composing && code != -1) {
        composer.accumulator = 0;
        ring.push(code, event);
        return;
    }
    if (composing) {
        if (numpad_digit(event.virtual_key)) {
            if (event.key_down)
                composer.accumulator =
                    composer.accumulator * 10 + static_cast<uint32_t>(event.virtual_key - VKEY_NUMPAD0);
        } else if (code != -1) {
            composer.accumulator = 0;
        }
        if (code != -1) ring.push(code, event);
        return;
    }
    // A release without Alt alone (the release of Alt itself among them), or
    // a key without a code: the composed character, if any, is complete.
    if (composer.accumulator != 0) push_composed(composer.accumulator, ring);
    composer.accumulator = 0;
}
