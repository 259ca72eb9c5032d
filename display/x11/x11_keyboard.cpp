#include <cstring>

#include "display/display_window.h"
#include "display/window_events.h"
#include "display/x11/x11_backend.h"
#include "display/x11/x11_keymap.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/posix/codepage.h"
#include "runtime/console/virtual_keys.h"

namespace {

constexpr int TEXT_CAPACITY = 64;
constexpr uint8_t NO_FORM = '?';  // a typed character code page 437 lacks

uint32_t modifiers_of(unsigned int state, bool enhanced) {
    uint32_t m = enhanced ? KEYMOD_ENHANCED : 0;
    if (state & ShiftMask) m |= KEYMOD_SHIFT;
    if (state & ControlMask) m |= KEYMOD_LEFT_CTRL;
    if (state & Mod1Mask) m |= KEYMOD_LEFT_ALT;
    return m;
}

// Latin-1 text (the plain lookup's) as UTF-8.
int latin1_to_utf8(const char* in, int n, char* out, int capacity) {
    int used = 0;
    for (int i = 0; i < n && used + 2 <= capacity; ++i) {
        const auto c = static_cast<uint8_t>(in[i]);
        if (c < 0x80) {
            out[used++] = static_cast<char>(c);
        } else {
            out[used++] = static_cast<char>(0xC0 | c >> 6);
            out[used++] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return used;
}

int plain_lookup(XKeyEvent* event, char* text, KeySym* keysym) {
    char latin1[TEXT_CAPACITY / 2];
    const int n = x11.XLookupString(event, latin1, sizeof latin1, keysym, nullptr);
    return latin1_to_utf8(latin1, n > 0 ? n : 0, text, TEXT_CAPACITY);
}

// The UTF-8 text a key press types and the keysym it gives.
int lookup_press(XKeyEvent* event, char* text, KeySym* keysym) {
    X11State& x = x11_state();
    *keysym = NoSymbol;
    if (!x.ic) return plain_lookup(event, text, keysym);
    Status status = 0;
    const int n = x11.Xutf8LookupString(x.ic, event, text, TEXT_CAPACITY, keysym, &status);
    if (status != XLookupKeySym && status != XLookupBoth) *keysym = NoSymbol;
    return status == XLookupChars || status == XLookupBoth ? n : 0;
}

// UTF-8 text as code page 437 bytes, one per character.
int to_cp437(const char* text, int n, uint8_t* out) {
    int count = 0;
    for (int i = 0; i < n && count < TEXT_CAPACITY;) {
        size_t length = codepage_utf8_length(static_cast<uint8_t>(text[i]));
        if (length == 0 || i + static_cast<int>(length) > n) length = 1;
        const int32_t c = codepage_from_utf8(text + i, length);
        out[count++] = c < 0 ? NO_FORM : static_cast<uint8_t>(c);
        i += static_cast<int>(length);
    }
    return count;
}

KeyMessage key_message(XKeyEvent* event, KeySym looked_up, const uint8_t* typed, int count, int32_t repeat) {
    const X11Key key = x11_key_for(looked_up, x11.XLookupKeysym(event, 0));
    KeyMessage m{};
    m.virtual_key = key.virtual_key;
    m.scan_code = key.scan_code;
    m.modifiers = modifiers_of(event->state, key.enhanced);
    m.character = count == 1 ? static_cast<int8_t>(typed[0]) : 0;
    m.repeat = repeat;
    m.was_down = x11_state().key_down[event->keycode & 0xFF] != 0;
    m.system_key = (event->state & Mod1Mask) || key.virtual_key == VKEY_F10;
    return m;
}

void build_keycode_table() {
    X11State& x = x11_state();
    std::memset(x.keycode_vk, 0, sizeof x.keycode_vk);
    int low = 0, high = 0, per_code = 0;
    x11.XDisplayKeycodes(x.display, &low, &high);
    if (low < 0 || high > 255 || high < low) return;
    KeySym* syms = x11.XGetKeyboardMapping(x.display, static_cast<KeyCode>(low), high - low + 1, &per_code);
    if (!syms) return;
    for (int code = low; per_code > 0 && code <= high; ++code) {
        const KeySym first = syms[(code - low) * per_code];
        x.keycode_vk[code] = static_cast<uint8_t>(x11_key_for(first, first).virtual_key);
    }
    x11.XFree(syms);
}

}  // namespace

void x11_keyboard_init() {
    X11State& x = x11_state();
    std::memset(x.key_down, 0, sizeof x.key_down);
    x.keys_changed = true;
    build_keycode_table();
    if (x.im)
        x.ic = x11.XCreateIC(x.im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, x.window,
                             XNFocusWindow, x.window, nullptr);
}

void x11_keyboard_exit() {
    X11State& x = x11_state();
    if (x.ic) x11.XDestroyIC(x.ic);
    x.ic = nullptr;
    std::memset(x.key_down, 0, sizeof x.key_down);
}

void x11_keyboard_focus(bool focused) {
    X11State& x = x11_state();
    std::memset(x.key_down, 0, sizeof x.key_down);
    if (!x.ic) return;
    if (focused)
        x11.XSetICFocus(x.ic);
    else
        x11.XUnsetICFocus(x.ic);
}

void x11_keyboard_mapping_changed(XMappingEvent* event) {
    x11.XRefreshKeyboardMapping(event);
    if (event->request == MappingKeyboard) build_keycode_table();
}

// A press stands for `repeat` presses of a held key. Its extended code goes
// to the key queue through the key handling, its text through the typed
// characters; keys pressed with Alt type nothing.
void x11_key_press(XKeyEvent* event, int32_t repeat) {
    char text[TEXT_CAPACITY];
    KeySym looked_up = NoSymbol;
    const int n = lookup_press(event, text, &looked_up);
    uint8_t typed[TEXT_CAPACITY];
    int count = to_cp437(text, n, typed);
    KeyMessage key = key_message(event, looked_up, typed, count, repeat);
    if (key.virtual_key == VKEY_DELETE) {  // X types 127 for it; the PC keyboard types nothing
        count = 0;
        key.character = 0;
    }
    x11_state().key_down[event->keycode & 0xFF] = 1;
    const bool alt = (event->state & Mod1Mask) != 0;
    window_key_down(key);
    if (alt) return;
    for (int i = 0; i < count; ++i) window_typed(typed[i], repeat);
}

void x11_key_release(XKeyEvent* event) {
    char text[TEXT_CAPACITY];
    KeySym looked_up = NoSymbol;
    const int n = plain_lookup(event, text, &looked_up);
    uint8_t typed[TEXT_CAPACITY];
    const int count = to_cp437(text, n, typed);
    KeyMessage key = key_message(event, looked_up, typed, count, 1);
    if (key.virtual_key == VKEY_DELETE) key.character = 0;
    x11_state().key_down[event->keycode & 0xFF] = 0;
    window_key_up(key);
}

// The key states follow the keyboard while the window is active. Keys
// change only with key, focus and mapping events: asking the server for
// the keyboard after every drain would cost a round trip each time.
void x11_refresh_key_states() {
    X11State& x = x11_state();
    if (!display_window().active || !x.keys_changed || x.lost) return;
    x.keys_changed = false;
    char keys[32] = {};
    x11.XQueryKeymap(x.display, keys);
    uint8_t vk_down[256] = {};
    for (int code = 0; code < 256; ++code)
        if ((keys[code >> 3] >> (code & 7)) & 1) vk_down[x.keycode_vk[code]] = 1;
    vk_down[0] = 0;
    window_refresh_key_states(vk_down);
}
