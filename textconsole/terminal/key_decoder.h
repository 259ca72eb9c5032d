#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Turns the bytes a terminal sends for key presses into key events and key
// codes (runtime/console/key_codes.h), one byte at a time. Characters arrive in the
// locale's charset and become code page 437 bytes; keys without a
// character arrive as escape sequences.
//
// Single bytes:
//   printable ASCII, and locale characters (UTF-8: 2..4 bytes) with a
//   CP437 form                      the character; others are dropped
//   CR, LF                          Enter (13)
//   DEL, BS                         Backspace (8)
//   TAB                             Tab (9)
//   NUL                             Ctrl+2
//   1..26 (but 8, 9, 10, 13)        Ctrl+letter, the control character
//   28..31                          Ctrl+\ ] 6 -, the control character
//   ESC alone                       Escape, once no byte followed within the
//                                   caller's pause (pending() + timeout())
// ESC before a key (not [ or O):    that key with Alt (ESC x = Alt+X,
//                                   ESC ESC = Alt+Esc, ESC ESC [ A = Alt+Up)
// ESC [ or ESC O, then the pause:   Alt+[ or Alt+O
//
// CSI = ESC [, SS3 = ESC O; m is the xterm modifier parameter
// 1 + (1 Shift, 2 Alt, 4 Ctrl, 8 Meta = Alt):
//   CSI A B C D, SS3 A B C D, CSI 1;m A..D     Up Down Right Left
//   CSI H F, SS3 H F, CSI 1;m H F              Home End
//   CSI E, CSI G, SS3 E                        keypad 5 (no Num Lock)
//   CSI n ~, CSI n;m ~                         1 Home, 2 Insert, 3 Delete,
//                                              4 End, 5 Page Up, 6 Page Down,
//                                              7 Home, 8 End, 11..15 F1..F5,
//                                              17..21 F6..F10, 23 F11, 24 F12
//   CSI n $, CSI n ^, CSI n @                  the same with Shift, Ctrl,
//                                              Ctrl+Shift (rxvt)
//   SS3 P Q R S, CSI 1;m P..S, SS3 m P..S      F1..F4
//   CSI [ A .. CSI [ E                         F1..F5 (Linux console)
//   CSI Z                                      Shift+Tab
//   CSI a b c d, SS3 a b c d                   Shift+, Ctrl+ Up Down Right
//                                              Left (rxvt)
//   SS3 M, SS3 j k m o n, SS3 p..y             keypad Enter, * + - / ., 0..9
//                                              (application keypad)
// plus the sequences terminfo names for the keys of TermKey (they are
// matched first, so a terminal's own forms win).
//
// Swallowed without a key: every other complete CSI or SS3 sequence
// (among them bracketed-paste markers CSI 200~ / 201~ and focus reports),
// mouse reports (CSI M and three bytes; CSI < ... M or m), sequences cut by
// a control byte (which is then decoded itself), sequences still
// incomplete at the pause, and sequences longer than kMaxSequence bytes
// (dropped up to their final byte). Memory use is constant.

struct KeyEvent {
    int32_t character;  // CP437 byte, 0 for none
    int32_t scan_code;
    int32_t virtual_key;
    uint32_t modifiers;  // KEYMOD_* of runtime/console/key_codes.h
    int32_t code;        // key_translate of the above
};

// Keys that terminals send as escape sequences.
// clang-format off
enum class TermKey : uint8_t {
    Up, Down, Right, Left, Home, End, Insert, Delete, PageUp, PageDown,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    Backspace, BackTab, KeypadBegin, KeypadEnter, KeypadDivide, KeypadMultiply, KeypadMinus, KeypadPlus,
    KeypadDecimal, Keypad0, Keypad1, Keypad2, Keypad3, Keypad4, Keypad5, Keypad6, Keypad7, Keypad8, Keypad9,
};
// clang-format on

// A terminal's own byte sequence for a key.
struct KeySequence {
    std::string bytes;
    TermKey key;
};

class KeyDecoder {
   public:
    static constexpr size_t kMaxSequence = 32;

    KeyDecoder() = default;  // built-in forms only
    // Adds the terminal's own sequences (those that start with ESC and
    // are 2..kMaxSequence bytes long; others are ignored).
    explicit KeyDecoder(const std::vector<KeySequence>& known);

    // Decodes one byte; events with a code are appended.
    void feed(uint8_t byte, std::vector<KeyEvent>& events);
    void feed(uint8_t byte, std::vector<int32_t>& codes);

    // True while bytes wait for more (an ESC, a sequence, a partial
    // character): the caller calls timeout() when nothing followed within
    // about 50 ms.
    bool pending() const;
    void timeout(std::vector<KeyEvent>& events);
    void timeout(std::vector<int32_t>& codes);

   private:
    enum class Mode : uint8_t { Ground, Sequence, Mouse, Discard };

   public:
    struct Parse;  // the outcome of reading a sequence (internal)

   private:
    void ground(uint8_t byte, std::vector<KeyEvent>& events);
    void sequence_byte(uint8_t byte, std::vector<KeyEvent>& events);
    void discard_byte(uint8_t byte, std::vector<KeyEvent>& events);
    void finish_sequence(const Parse& parse, std::vector<KeyEvent>& events);
    void control_key(uint8_t byte, std::vector<KeyEvent>& events);
    void char_key(int32_t cp437, std::vector<KeyEvent>& events);
    void locale_char(const uint8_t* bytes, size_t n, std::vector<KeyEvent>& events);
    void emit(KeyEvent event, std::vector<KeyEvent>& events);
    bool known_byte(std::vector<KeyEvent>& events);
    bool known_exact(size_t length, TermKey& key) const;
    bool known_prefix() const;
    void start_sequence();

    Mode mode_ = Mode::Ground;
    uint8_t seq_[kMaxSequence] = {};  // the escape sequence, from its ESC
    size_t seq_len_ = 0;
    bool meta_ = false;     // an ESC prefix: the next key has Alt
    uint8_t char_[4] = {};  // a multibyte character being read
    size_t char_len_ = 0;
    size_t char_need_ = 0;
    int mouse_left_ = 0;  // bytes of a mouse report still to skip
    std::vector<KeySequence> known_;
    std::vector<KeyEvent> scratch_;
};

// The sequences terminfo gives on the terminal of `fd` for kcuu1, kcud1,
// kcub1, kcuf1, khome, kend, kich1, kdch1, kpp, knp, kf1..kf12 and kbs.
// Empty when the terminal is unknown (setupterm fails).
std::vector<KeySequence> terminfo_key_sequences(int fd);
