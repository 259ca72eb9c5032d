#include "textconsole/terminal/key_decoder.h"

#include <cstring>

#include "runtime/console/key_codes.h"
#include "runtime/console/key_translate.h"
#include "runtime/console/keyboard_layout.h"
#include "runtime/console/posix/codepage.h"
#include "runtime/console/us_layout.h"
#include "runtime/console/virtual_keys.h"

namespace {

constexpr uint8_t kEsc = 0x1B;
constexpr size_t kMaxFields = 4;
constexpr int32_t kFieldLimit = 10000;  // larger numbers stay here: no key uses them

// What a key is to the keyboard layer: character, scan code, virtual key,
// and whether it sits in the separate (enhanced) block.
struct NamedKey {
    uint8_t character;
    uint8_t scan;
    uint8_t vk;
    bool enhanced;
};

// In TermKey order.
// clang-format off
constexpr NamedKey kNamedKeys[] = {
    {0, 0x48, VKEY_UP, true},       {0, 0x50, VKEY_DOWN, true},     {0, 0x4D, VKEY_RIGHT, true},
    {0, 0x4B, VKEY_LEFT, true},     {0, 0x47, VKEY_HOME, true},     {0, 0x4F, VKEY_END, true},
    {0, 0x52, VKEY_INSERT, true},   {0, 0x53, VKEY_DELETE, true},   {0, 0x49, VKEY_PRIOR, true},
    {0, 0x51, VKEY_NEXT, true},
    {0, 0x3B, VKEY_F1, false},      {0, 0x3C, VKEY_F1 + 1, false},  {0, 0x3D, VKEY_F1 + 2, false},
    {0, 0x3E, VKEY_F1 + 3, false},  {0, 0x3F, VKEY_F1 + 4, false},  {0, 0x40, VKEY_F1 + 5, false},
    {0, 0x41, VKEY_F1 + 6, false},  {0, 0x42, VKEY_F1 + 7, false},  {0, 0x43, VKEY_F1 + 8, false},
    {0, 0x44, VKEY_F10, false},     {0, 0x57, VKEY_F1 + 10, false}, {0, 0x58, VKEY_F12, false},
    {8, 0x0E, VKEY_BACK, false},    {9, 0x0F, VKEY_TAB, false},     {0, 0x4C, 0x0C, false},
    {0, 0x1C, VKEY_RETURN, true},   {0, 0x35, VKEY_DIVIDE, true},   {'*', 0x37, VKEY_MULTIPLY, false},
    {'-', 0x4A, VKEY_SUBTRACT, false}, {'+', 0x4E, VKEY_ADD, false}, {'.', 0x53, VKEY_DECIMAL, false},
    {'0', 0x52, VKEY_NUMPAD0, false},     {'1', 0x4F, VKEY_NUMPAD0 + 1, false}, {'2', 0x50, VKEY_NUMPAD0 + 2, false},
    {'3', 0x51, VKEY_NUMPAD0 + 3, false}, {'4', 0x4B, VKEY_NUMPAD0 + 4, false}, {'5', 0x4C, VKEY_NUMPAD0 + 5, false},
    {'6', 0x4D, VKEY_NUMPAD0 + 6, false}, {'7', 0x47, VKEY_NUMPAD0 + 7, false}, {'8', 0x48, VKEY_NUMPAD0 + 8, false},
    {'9', 0x49, VKEY_NUMPAD0 + 9, false},
};
// clang-format on
static_assert(sizeof kNamedKeys / sizeof kNamedKeys[0] == static_cast<size_t>(TermKey::Keypad9) + 1);

constexpr KeyEvent kEscapeKey{KEY_ESCAPE, 0x01, VKEY_ESCAPE, 0, 0};

KeyEvent named_event(TermKey key, uint32_t modifiers) {
    const NamedKey& k = kNamedKeys[static_cast<size_t>(key)];
    if (k.enhanced) modifiers |= KEYMOD_ENHANCED;
    return KeyEvent{k.character, k.scan, k.vk, modifiers, 0};
}

// The key of a CSI n ~ code, false when n names none.
bool tilde_key(int32_t n, TermKey& key) {
    static constexpr TermKey kLow[] = {TermKey::Home,   TermKey::Insert,   TermKey::Delete, TermKey::End,
                                       TermKey::PageUp, TermKey::PageDown, TermKey::Home,   TermKey::End};
    static constexpr TermKey kFunction[] = {TermKey::F1, TermKey::F2,  TermKey::F3,  TermKey::F4,
                                            TermKey::F5, TermKey::F6,  TermKey::F7,  TermKey::F8,
                                            TermKey::F9, TermKey::F10, TermKey::F11, TermKey::F12};
    static constexpr int32_t kFunctionCodes[] = {11, 12, 13, 14, 15, 17, 18, 19, 20, 21, 23, 24};
    if (n >= 1 && n <= 8) {
        key = kLow[n - 1];
        return true;
    }
    for (size_t i = 0; i < sizeof kFunctionCodes / sizeof kFunctionCodes[0]; ++i) {
        if (kFunctionCodes[i] == n) {
            key = kFunction[i];
            return true;
        }
    }
    return false;
}

// Cursor-block and function keys named by the final letter of a CSI or SS3
// sequence; `extra` receives the modifiers the letter itself implies.
bool letter_key(uint8_t final, bool ss3, TermKey& key, uint32_t& extra) {
    static constexpr TermKey kArrows[] = {TermKey::Up, TermKey::Down, TermKey::Right, TermKey::Left};
    extra = 0;
    if (final >= 'A' && final <= 'D')
        key = kArrows[final - 'A'];
    else if (final >= 'a' && final <= 'd') {  // rxvt: CSI with Shift, SS3 with Ctrl
        key = kArrows[final - 'a'];
        extra = ss3 ? KEYMOD_LEFT_CTRL : KEYMOD_SHIFT;
    } else if (final >= 'P' && final <= 'S')
        key = static_cast<TermKey>(static_cast<int>(TermKey::F1) + final - 'P');
    else if (final == 'H')
        key = TermKey::Home;
    else if (final == 'F')
        key = TermKey::End;
    else if (final == 'E' || (final == 'G' && !ss3))
        key = TermKey::KeypadBegin;
    else if (final == 'Z' && !ss3) {
        key = TermKey::BackTab;
        extra = KEYMOD_SHIFT;
    } else
        return false;
    return true;
}

// Application-keypad keys (SS3 only).
bool keypad_key(uint8_t final, TermKey& key) {
    if (final >= 'p' && final <= 'y') {
        key = static_cast<TermKey>(static_cast<int>(TermKey::Keypad0) + final - 'p');
        return true;
    }
    switch (final) {
    case 'M': key = TermKey::KeypadEnter; return true;
    case 'j': key = TermKey::KeypadMultiply; return true;
    case 'k': key = TermKey::KeypadPlus; return true;
    case 'm': key = TermKey::KeypadMinus; return true;
    case 'n': key = TermKey::KeypadDecimal; return true;
    case 'o': key = TermKey::KeypadDivide; return true;
    default: return false;
    }
}

// The modifier bits of an xterm modifier parameter.
uint32_t xterm_modifiers(int32_t parameter) {
    if (parameter < 2) return 0;
    const int32_t bits = (parameter - 1) & 0xF;
    uint32_t modifiers = 0;
    if (bits & 1) modifiers |= KEYMOD_SHIFT;
    if (bits & (2 | 8)) modifiers |= KEYMOD_LEFT_ALT;
    if (bits & 4) modifiers |= KEYMOD_LEFT_CTRL;
    return modifiers;
}

// Numeric parameters "n;n;..." (empty fields are 0). False for anything
// else: private markers, sub-parameters, intermediates, too many fields.
bool parse_fields(const uint8_t* p, size_t n, int32_t* fields, size_t& count) {
    count = 1;
    fields[0] = 0;
    if (n == 0) {
        count = 0;
        return true;
    }
    for (size_t i = 0; i < n; ++i) {
        if (p[i] == ';') {
            if (count == kMaxFields) return false;
            fields[count++] = 0;
        } else if (p[i] >= '0' && p[i] <= '9') {
            int32_t& f = fields[count - 1];
            if (f < kFieldLimit) f = f * 10 + (p[i] - '0');
        } else {
            return false;
        }
    }
    return true;
}

bool is_parameter(uint8_t c) { return c >= 0x20 && c <= 0x3F; }
bool is_final(uint8_t c) { return c >= 0x40 && c <= 0x7E; }

bool all_digits(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
    }
    return n > 0;
}

}  // namespace

// The outcome of reading the bytes collected after an ESC.
struct KeyDecoder::Parse {
    enum Kind : uint8_t {
        Incomplete,  // more bytes needed
        Key,         // a complete sequence of `length` bytes; a key when has_key
        Mouse,       // ESC [ M: three report bytes follow
        Meta,        // ESC before an ordinary byte: the ESC (length 1) is Alt
        Broken,      // cut by a byte that cannot be part of it, at `length`
    };
    Kind kind = Incomplete;
    size_t length = 0;
    bool has_key = false;
    KeyEvent event{};

    static Parse make(Kind kind, size_t length) {
        Parse p;
        p.kind = kind;
        p.length = length;
        return p;
    }
    static Parse key(size_t length, const KeyEvent& event) {
        Parse p = make(Key, length);
        p.has_key = true;
        p.event = event;
        return p;
    }
    static Parse key(size_t length, TermKey key, uint32_t modifiers) {
        return Parse::key(length, named_event(key, modifiers));
    }
};

namespace {

using Parse = KeyDecoder::Parse;

// CSI n ~ and the rxvt finals $ ^ @.
Parse decode_tilde(size_t length, const int32_t* fields, size_t count, uint8_t final) {
    TermKey key;
    if (count == 0 || count > 2 || !tilde_key(fields[0], key)) return Parse::make(Parse::Key, length);
    uint32_t modifiers = count == 2 ? xterm_modifiers(fields[1]) : 0;
    if (final == '$') modifiers |= KEYMOD_SHIFT;
    if (final == '^') modifiers |= KEYMOD_LEFT_CTRL;
    if (final == '@') modifiers |= KEYMOD_LEFT_CTRL | KEYMOD_SHIFT;
    return Parse::key(length, key, modifiers);
}

// A complete CSI or SS3 sequence of `length` bytes: parameters p[0..n),
// final byte `final`.
Parse decode_sequence(size_t length, const uint8_t* p, size_t n, uint8_t final, bool ss3) {
    int32_t fields[kMaxFields];
    size_t count = 0;
    if (!parse_fields(p, n, fields, count)) return Parse::make(Parse::Key, length);
    if (!ss3 && (final == '~' || final == '$' || final == '^' || final == '@'))
        return decode_tilde(length, fields, count, final);
    TermKey key;
    uint32_t extra = 0;
    if (ss3 && keypad_key(final, key)) return Parse::key(length, key, count ? xterm_modifiers(fields[count - 1]) : 0);
    if (!letter_key(final, ss3, key, extra)) return Parse::make(Parse::Key, length);
    if (count > 2) return Parse::make(Parse::Key, length);
    if (ss3) {  // SS3 P, SS3 m P, SS3 1;m P
        return Parse::key(length, key, extra | (count ? xterm_modifiers(fields[count - 1]) : 0));
    }
    if (count > 0 && fields[0] > 1) return Parse::make(Parse::Key, length);  // CSI [1[;m]] X only
    return Parse::key(length, key, extra | (count == 2 ? xterm_modifiers(fields[1]) : 0));
}

// The bytes after ESC [ or ESC O (body, n of them; `start` bytes precede).
Parse parse_control(const uint8_t* body, size_t n, size_t start, bool ss3) {
    for (size_t i = 0; i < n; ++i) {
        const uint8_t c = body[i];
        if (!ss3 && c == '$' && all_digits(body, i)) return decode_sequence(start + i + 1, body, i, c, ss3);
        if (is_parameter(c)) continue;
        if (is_final(c)) return decode_sequence(start + i + 1, body, i, c, ss3);
        return Parse::make(Parse::Broken, start + i);
    }
    return Parse::make(Parse::Incomplete, 0);
}

// ESC [ [ A .. E: the Linux console's F1..F5.
Parse parse_linux_function(const uint8_t* s, size_t n) {
    if (n < 4) return Parse::make(Parse::Incomplete, 0);
    if (s[3] < 0x20 || s[3] >= 0x7F) return Parse::make(Parse::Broken, 3);
    if (s[3] < 'A' || s[3] > 'E') return Parse::make(Parse::Key, 4);
    return Parse::key(4, static_cast<TermKey>(static_cast<int>(TermKey::F1) + s[3] - 'A'), 0);
}

Parse parse_escape(const uint8_t* s, size_t n) {
    if (n < 2) return Parse::make(Parse::Incomplete, 0);
    if (s[1] == 'O') return parse_control(s + 2, n - 2, 2, true);
    if (s[1] != '[') return Parse::make(Parse::Meta, 1);
    if (n < 3) return Parse::make(Parse::Incomplete, 0);
    if (s[2] == '[') return parse_linux_function(s, n);
    if (s[2] == 'M') return Parse::make(Parse::Mouse, 3);
    return parse_control(s + 2, n - 2, 2, false);
}

}  // namespace

KeyDecoder::KeyDecoder(const std::vector<KeySequence>& known) {
    for (const KeySequence& k : known) {
        const std::string& b = k.bytes;
        if (b.size() < 2 || b.size() > kMaxSequence || b[0] != static_cast<char>(kEsc)) continue;
        if (b[1] == static_cast<char>(kEsc)) continue;  // ESC ESC is the Alt prefix
        known_.push_back(k);
    }
}

void KeyDecoder::feed(uint8_t byte, std::vector<KeyEvent>& events) {
    switch (mode_) {
    case Mode::Ground: ground(byte, events); break;
    case Mode::Sequence: sequence_byte(byte, events); break;
    case Mode::Mouse:
        if (--mouse_left_ <= 0) mode_ = Mode::Ground;
        break;
    case Mode::Discard: discard_byte(byte, events); break;
    }
}

void KeyDecoder::feed(uint8_t byte, std::vector<int32_t>& codes) {
    scratch_.clear();
    feed(byte, scratch_);
    for (const KeyEvent& e : scratch_) codes.push_back(e.code);
}

bool KeyDecoder::pending() const { return mode_ != Mode::Ground || char_need_ > 0; }

void KeyDecoder::timeout(std::vector<KeyEvent>& events) {
    while (mode_ == Mode::Sequence) {
        TermKey key;
        Parse p = known_exact(seq_len_, key) ? Parse::key(seq_len_, key, 0) : parse_escape(seq_, seq_len_);
        if (p.kind == Parse::Incomplete) {
            if (seq_len_ == 1) {
                p = Parse::key(1, kEscapeKey);  // the Escape key itself
            } else if (seq_len_ == 2) {
                p = Parse::make(Parse::Meta, 1);  // a typed Alt+[ or Alt+O
            } else {
                p = Parse::make(Parse::Key, seq_len_);  // cut short: dropped
            }
        }
        finish_sequence(p, events);
    }
    mode_ = Mode::Ground;
    char_need_ = char_len_ = 0;
    meta_ = false;
}

void KeyDecoder::timeout(std::vector<int32_t>& codes) {
    scratch_.clear();
    timeout(scratch_);
    for (const KeyEvent& e : scratch_) codes.push_back(e.code);
}

void KeyDecoder::start_sequence() {
    mode_ = Mode::Sequence;
    seq_[0] = kEsc;
    seq_len_ = 1;
}

bool KeyDecoder::known_exact(size_t length, TermKey& key) const {
    for (const KeySequence& k : known_) {
        if (k.bytes.size() == length && std::memcmp(k.bytes.data(), seq_, length) == 0) {
            key = k.key;
            return true;
        }
    }
    return false;
}

bool KeyDecoder::known_prefix() const {
    for (const KeySequence& k : known_) {
        if (k.bytes.size() > seq_len_ && std::memcmp(k.bytes.data(), seq_, seq_len_) == 0) return true;
    }
    return false;
}

void KeyDecoder::sequence_byte(uint8_t byte, std::vector<KeyEvent>& events) {
    if (seq_len_ == 1 && byte == kEsc) {
        if (!meta_) {
            meta_ = true;  // ESC ESC: Alt on what follows
            return;
        }
        emit(kEscapeKey, events);  // Alt+Esc, then a new ESC
        start_sequence();
        return;
    }
    seq_[seq_len_++] = byte;
    if (!known_.empty() && known_byte(events)) return;
    const Parse p = parse_escape(seq_, seq_len_);
    if (p.kind != Parse::Incomplete) {
        finish_sequence(p, events);
    } else if (seq_len_ == kMaxSequence) {
        // Too long for any key (no known sequence is longer): skip the rest.
        seq_len_ = 0;
        meta_ = false;
        mode_ = Mode::Discard;
    }
}

// Matches the sequence so far against the terminal's own ones; true when
// that settles the byte (a key found, or a longer known sequence may follow).
bool KeyDecoder::known_byte(std::vector<KeyEvent>& events) {
    TermKey key;
    const bool prefix = known_prefix();
    if (known_exact(seq_len_, key)) {
        if (!prefix) finish_sequence(Parse::key(seq_len_, key, 0), events);
        return true;
    }
    if (prefix) return true;
    // Not the longer one after all: the known key that ended before this byte.
    if (known_exact(seq_len_ - 1, key)) {
        finish_sequence(Parse::key(seq_len_ - 1, key, 0), events);
        return true;
    }
    return false;
}

// A sequence over the length limit: dropped up to its final byte. A byte
// that cannot belong to it ends it and is decoded on its own.
void KeyDecoder::discard_byte(uint8_t byte, std::vector<KeyEvent>& events) {
    if (is_parameter(byte)) return;
    mode_ = Mode::Ground;
    if (!is_final(byte)) ground(byte, events);
}

void KeyDecoder::finish_sequence(const Parse& parse, std::vector<KeyEvent>& events) {
    uint8_t rest[kMaxSequence];
    const size_t rest_len = seq_len_ - parse.length;
    std::memcpy(rest, seq_ + parse.length, rest_len);
    seq_len_ = 0;
    mode_ = Mode::Ground;
    switch (parse.kind) {
    case Parse::Key:
        if (parse.has_key) emit(parse.event, events);
        meta_ = false;
        break;
    case Parse::Mouse:
        mode_ = Mode::Mouse;
        mouse_left_ = 3;
        meta_ = false;
        break;
    case Parse::Meta: meta_ = true; break;
    case Parse::Broken:
    case Parse::Incomplete: meta_ = false; break;
    }
    for (size_t i = 0; i < rest_len; ++i) feed(rest[i], events);
}

void KeyDecoder::ground(uint8_t byte, std::vector<KeyEvent>& events) {
    if (char_need_ > 0) {
        if ((byte & 0xC0) == 0x80) {
            char_[char_len_++] = byte;
            if (char_len_ == char_need_) {
                char_need_ = 0;
                locale_char(char_, char_len_, events);
            }
            return;
        }
        char_need_ = char_len_ = 0;  // a broken character: dropped
        meta_ = false;
    }
    if (byte == kEsc) {
        start_sequence();
    } else if (byte < 0x20 || byte == 0x7F) {
        control_key(byte, events);
    } else if (byte < 0x80) {
        char_key(byte, events);
    } else {
        const size_t need = codepage_char_length(byte);
        if (need == 1) {
            locale_char(&byte, 1, events);
        } else if (need > 1) {
            char_[0] = byte;
            char_len_ = 1;
            char_need_ = need;
        } else {
            meta_ = false;  // cannot start a character
        }
    }
}

void KeyDecoder::locale_char(const uint8_t* bytes, size_t n, std::vector<KeyEvent>& events) {
    const int32_t cp437 = codepage_from_locale(reinterpret_cast<const char*>(bytes), n);
    if (cp437 > 0)
        char_key(cp437, events);
    else
        meta_ = false;
}

void KeyDecoder::control_key(uint8_t byte, std::vector<KeyEvent>& events) {
    switch (byte) {
    case 0:  // Ctrl+2 (Ctrl+@) reports the 2 key
        emit(KeyEvent{'2', 0x03, '2', KEYMOD_LEFT_CTRL, 0}, events);
        return;
    case 8:
    case 0x7F: emit(named_event(TermKey::Backspace, 0), events); return;
    case 10:
    case 13: emit(KeyEvent{KEY_ENTER, 0x1C, VKEY_RETURN, 0, 0}, events); return;
    default: char_key(byte, events); return;
    }
}

void KeyDecoder::char_key(int32_t cp437, std::vector<KeyEvent>& events) {
    KeyEvent event{cp437, 0, 0, 0, 0};
    const int32_t key = cp437 < 128 ? char_virtual_key(cp437) : -1;
    if (key >= 0) {
        event.virtual_key = key & 0xFF;
        event.scan_code = virtual_key_scan(event.virtual_key);
        if (key & 0x100) event.modifiers |= KEYMOD_SHIFT;
        if (key & 0x200) event.modifiers |= KEYMOD_LEFT_CTRL;
    }
    emit(event, events);
}

void KeyDecoder::emit(KeyEvent event, std::vector<KeyEvent>& events) {
    if (meta_) event.modifiers |= KEYMOD_LEFT_ALT;
    meta_ = false;
    event.code = key_translate(event.character, event.scan_code, event.virtual_key, event.modifiers, 0);
    if (event.code != -1) events.push_back(event);
}
