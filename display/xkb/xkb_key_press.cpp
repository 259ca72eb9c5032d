#include "display/xkb/xkb_key_press.h"

#include "display/window_events.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/posix/codepage.h"
#include "runtime/console/virtual_keys.h"

namespace {

constexpr uint8_t NO_FORM = '?';  // a typed character code page 437 lacks
constexpr int32_t NONE = -1;

// What Ctrl combinations type on the PC layout besides Ctrl+letter: the
// key, whether Shift is held too, the character. Every other Ctrl
// combination types nothing (Ctrl+3 is no Escape, Ctrl+Tab no Tab).
struct CtrlChar {
    int32_t vk;
    bool shift;
    int32_t character;
};
constexpr CtrlChar CTRL_CHARS[] = {
    {VKEY_ESCAPE, false, 27}, {VKEY_RETURN, false, 10},   {VKEY_SPACE, false, ' '}, {VKEY_BACK, false, 127},
    {VKEY_OEM_4, false, 27},  {VKEY_OEM_5, false, 28},    {VKEY_OEM_6, false, 29},  {'2', true, 0},
    {'6', true, 30},          {VKEY_OEM_MINUS, true, 31},
};

// Keys whose character is the PC keyboard's whatever the layout's text:
// X types 127 for Delete, and nothing for Shift+Tab.
struct FixedChar {
    int32_t vk;
    int32_t character;
};
constexpr FixedChar FIXED_CHARS[] = {
    {VKEY_BACK, 8}, {VKEY_TAB, 9}, {VKEY_RETURN, 13}, {VKEY_ESCAPE, 27}, {VKEY_DELETE, NONE},
};

const FixedChar* fixed_char(int32_t vk) {
    for (const FixedChar& row : FIXED_CHARS)
        if (row.vk == vk) return &row;
    return nullptr;
}

int32_t ctrl_char(int32_t vk, bool shift) {
    if (vk >= 'A' && vk <= 'Z') return vk - 'A' + 1;
    for (const CtrlChar& row : CTRL_CHARS)
        if (row.vk == vk && row.shift == shift) return row.character;
    return NONE;
}

uint32_t modifier_bits(const XkbModifiers& m, bool enhanced) {
    uint32_t bits = enhanced ? KEYMOD_ENHANCED : 0;
    if (m.shift) bits |= KEYMOD_SHIFT;
    if (m.ctrl) bits |= KEYMOD_LEFT_CTRL;
    if (m.alt) bits |= KEYMOD_LEFT_ALT;
    return bits;
}

// UTF-8 text as code page 437 bytes, one per character.
int32_t to_cp437(const char* text, int32_t n, uint8_t* out) {
    int32_t count = 0;
    for (int32_t i = 0; text && i < n && count < XKB_TEXT_CAPACITY;) {
        size_t length = codepage_utf8_length(static_cast<uint8_t>(text[i]));
        if (length == 0 || i + static_cast<int32_t>(length) > n) length = 1;
        const int32_t c = codepage_from_utf8(text + i, length);
        out[count++] = c < 0 ? NO_FORM : static_cast<uint8_t>(c);
        i += static_cast<int32_t>(length);
    }
    return count;
}

// The key message of an event and the characters it types.
struct Reading {
    KeyMessage message;
    uint8_t typed[XKB_TEXT_CAPACITY];
    int32_t count;
};

Reading read_event(const XkbKeyEvent& e) {
    Reading r{};
    const PcKey key = xkb_pc_key(e.looked_up, e.unshifted);
    // Text typed by a layout or an input method counts without Ctrl only,
    // and as a key's character when it is one character.
    if (!e.modifiers.ctrl && !fixed_char(key.virtual_key)) r.count = to_cp437(e.text, e.text_length, r.typed);
    const int32_t character = xkb_key_character(key, e.modifiers, r.count == 1 ? r.typed[0] : NONE);
    if (r.count <= 1) {
        r.count = character == NONE ? 0 : 1;
        r.typed[0] = static_cast<uint8_t>(character);
    }
    KeyMessage& m = r.message;
    m.virtual_key = key.virtual_key;
    m.scan_code = key.scan_code;
    m.modifiers = modifier_bits(e.modifiers, key.enhanced);
    m.character = character > 0 ? static_cast<int8_t>(character) : 0;
    m.repeat = e.repeat > 0 ? e.repeat : 1;
    m.was_down = e.was_down;
    m.system_key = e.modifiers.alt || key.virtual_key == VKEY_F10;
    return r;
}

}  // namespace

int32_t xkb_key_character(const PcKey& key, const XkbModifiers& modifiers, int32_t layout_char) {
    if (modifiers.ctrl) return modifiers.alt ? NONE : ctrl_char(key.virtual_key, modifiers.shift);
    if (const FixedChar* fixed = fixed_char(key.virtual_key)) return fixed->character;
    return layout_char;
}

void xkb_key_press(const XkbKeyEvent& event) {
    const Reading r = read_event(event);
    window_key_down(r.message);
    if (event.modifiers.alt) return;
    for (int32_t i = 0; i < r.count; ++i) window_typed(r.typed[i], r.message.repeat);
}

void xkb_key_release(const XkbKeyEvent& event) { window_key_up(read_event(event).message); }
