#include "display/display_window.h"
#include "display/window_events.h"
#include "gfx/key_queue.h"
#include "gfx/screen.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/key_translate.h"
#include "runtime/console/us_layout.h"
#include "runtime/console/virtual_keys.h"

namespace {

constexpr uint32_t ALT_HELD = KEYMOD_LEFT_ALT | KEYMOD_RIGHT_ALT;

// The scan code an event reports: the key's row in the scan-code table.
int32_t event_scan(int32_t virtual_key) { return virtual_key == 0 ? 1 : virtual_key_scan(virtual_key); }

// F10 and Alt must not reach the window's menu, and a close key must not
// close the window: such keys report no event.
bool silent_key(int32_t virtual_key, int32_t code) {
    return virtual_key == VKEY_F10 || virtual_key == VKEY_MENU || code == KEY_CLOSE;
}

int32_t key_code(const KeyMessage& key) {
    return key_translate(key.character, key.scan_code, key.virtual_key, key.modifiers, 0);
}

}  // namespace

bool window_key_down(const KeyMessage& key) {
    if (key.system_key && !display_window().active) return true;
    if (key.system_key && key.virtual_key == VKEY_RETURN && (key.modifiers & ALT_HELD)) {
        fullscreen_toggle();
        return false;
    }
    const int32_t code = key_code(key);
    if (code > 255)
        for (int32_t i = 0; i < key.repeat; ++i) key_post(code);
    if (silent_key(key.virtual_key, code)) return false;
    event_post(GfxEvent{key.was_down ? EVENT_KEY_REPEAT : EVENT_KEY_PRESS, event_scan(key.virtual_key),
                        code < 256 ? code : 0, 0, 0});
    return true;
}

// A system key's release reports nothing.
bool window_key_up(const KeyMessage& key) {
    if (key.system_key) return true;
    const int32_t code = key_code(key);
    if (silent_key(key.virtual_key, code)) return false;
    event_post(GfxEvent{EVENT_KEY_RELEASE, event_scan(key.virtual_key), code < 256 ? code : 0, 0, 0});
    return true;
}

void window_typed(int32_t cp437, int32_t repeat) {
    const int32_t code = static_cast<int8_t>(cp437 & 0xFF);
    for (int32_t i = 0; i < repeat; ++i) key_post(code);
}
