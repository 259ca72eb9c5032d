#include <cstring>

#include "display/display_window.h"
#include "display/window_events.h"
#include "display/x11/x11_backend.h"
#include "display/xkb/xkb_key_press.h"

namespace {

constexpr int TEXT_CAPACITY = XKB_TEXT_CAPACITY;

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

XkbKeyEvent key_event(XKeyEvent* event, KeySym looked_up, const char* text, int n, int32_t repeat) {
    XkbKeyEvent e{};
    e.looked_up = static_cast<uint32_t>(looked_up);
    e.unshifted = static_cast<uint32_t>(x11.XLookupKeysym(event, 0));
    e.modifiers = {(event->state & ShiftMask) != 0, (event->state & ControlMask) != 0, (event->state & Mod1Mask) != 0};
    e.text = text;
    e.text_length = n;
    e.repeat = repeat;
    e.was_down = x11_state().key_down[event->keycode & 0xFF] != 0;
    return e;
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
        x.keycode_vk[code] =
            static_cast<uint8_t>(xkb_pc_key(static_cast<uint32_t>(first), static_cast<uint32_t>(first)).virtual_key);
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

// A press stands for `repeat` presses of a held key.
void x11_key_press(XKeyEvent* event, int32_t repeat) {
    char text[TEXT_CAPACITY];
    KeySym looked_up = NoSymbol;
    const int n = lookup_press(event, text, &looked_up);
    const XkbKeyEvent e = key_event(event, looked_up, text, n, repeat);
    x11_state().key_down[event->keycode & 0xFF] = 1;
    xkb_key_press(e);
}

void x11_key_release(XKeyEvent* event) {
    char text[TEXT_CAPACITY];
    KeySym looked_up = NoSymbol;
    const int n = plain_lookup(event, text, &looked_up);
    const XkbKeyEvent e = key_event(event, looked_up, text, n, 1);
    x11_state().key_down[event->keycode & 0xFF] = 0;
    xkb_key_release(e);
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
