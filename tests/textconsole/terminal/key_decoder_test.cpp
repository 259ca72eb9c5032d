#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <string>
#include <vector>

#include "runtime/console/key_codes.h"
#include "runtime/console/virtual_keys.h"
#include "textconsole/terminal/key_decoder.h"

namespace {

constexpr int32_t ext(int32_t scan) { return scan * 256 + 255; }

// Decoder tests run under a UTF-8 locale, whatever the machine's is.
class KeyDecoderTest : public ::testing::Test {
   protected:
    void SetUp() override {
        const char* before = std::setlocale(LC_CTYPE, nullptr);
        saved_ = before ? before : "C";
        if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) GTEST_SKIP() << "C.UTF-8 not installed";
    }
    void TearDown() override { std::setlocale(LC_CTYPE, saved_.c_str()); }

   private:
    std::string saved_;
};

// Feeds each chunk, with a pause (timeout) after every chunk.
std::vector<int32_t> decode(KeyDecoder& decoder, const std::vector<std::string>& chunks) {
    std::vector<int32_t> codes;
    for (const std::string& chunk : chunks) {
        for (char c : chunk) decoder.feed(static_cast<uint8_t>(c), codes);
        if (decoder.pending()) decoder.timeout(codes);
        EXPECT_FALSE(decoder.pending());
    }
    return codes;
}

struct DecodeCase {
    const char* name;
    std::vector<std::string> chunks;  // a pause follows each
    std::vector<int32_t> codes;
};

// clang-format off
const DecodeCase kKeyCases[] = {
    {"letters", {"aZ"}, {97, 90}},
    {"digits and punctuation", {"1!~ "}, {49, 33, 126, 32}},
    {"Up, Down, Right, Left (normal mode)", {"\x1b[A\x1b[B\x1b[C\x1b[D"}, {KEY_UP, KEY_DOWN, KEY_RIGHT, KEY_LEFT}},
    {"Up, Down, Right, Left (application mode)", {"\x1bOA\x1bOB\x1bOC\x1bOD"},
     {KEY_UP, KEY_DOWN, KEY_RIGHT, KEY_LEFT}},
    {"Shift+Up", {"\x1b[1;2A"}, {KEY_UP}},
    {"Alt+Up", {"\x1b[1;3A"}, {ext(0x98)}},
    {"Ctrl+Up", {"\x1b[1;5A"}, {ext(0x8D)}},
    {"Meta+Left counts as Alt", {"\x1b[1;9D"}, {ext(0x9B)}},
    {"F1, SS3 form", {"\x1bOP"}, {KEY_F1}},
    {"F1, tilde form", {"\x1b[11~"}, {KEY_F1}},
    {"F1, Linux console form", {"\x1b[[A"}, {KEY_F1}},
    {"F5, Linux console form", {"\x1b[[E"}, {ext(0x3F)}},
    {"F2..F4, SS3 forms", {"\x1bOQ\x1bOR\x1bOS"}, {ext(0x3C), ext(0x3D), ext(0x3E)}},
    {"Shift+F1, xterm", {"\x1b[1;2P"}, {ext(0x54)}},
    {"Shift+F1, SS3 with modifier", {"\x1bO2P"}, {ext(0x54)}},
    {"Shift+F1, rxvt", {"\x1b[11$"}, {ext(0x54)}},
    {"Ctrl+F1, rxvt", {"\x1b[11^"}, {ext(0x5E)}},
    {"Alt+F4", {"\x1b[1;3S"}, {KEY_CLOSE}},
    {"F5..F10", {"\x1b[15~\x1b[17~\x1b[18~\x1b[19~\x1b[20~\x1b[21~"},
     {ext(0x3F), ext(0x40), ext(0x41), ext(0x42), ext(0x43), KEY_F10}},
    {"Ctrl+F10", {"\x1b[21;5~"}, {ext(0x67)}},
    {"F11 with modifiers", {"\x1b[23~\x1b[23;2~\x1b[23;5~\x1b[23;3~"},
     {ext(0x85), ext(0x87), ext(0x89), ext(0x8B)}},
    {"F12 with modifiers", {"\x1b[24~\x1b[24;2~\x1b[24;5~\x1b[24;3~"},
     {ext(0x86), ext(0x88), ext(0x8A), ext(0x8C)}},
    {"Home forms", {"\x1b[H\x1bOH\x1b[1~\x1b[7~\x1b[1;1H"}, {KEY_HOME, KEY_HOME, KEY_HOME, KEY_HOME, KEY_HOME}},
    {"End forms", {"\x1b[F\x1bOF\x1b[4~\x1b[8~"}, {KEY_END, KEY_END, KEY_END, KEY_END}},
    {"Ctrl+Home", {"\x1b[1;5H"}, {ext(0x77)}},
    {"Ctrl+End", {"\x1b[1;5F"}, {ext(0x75)}},
    {"Insert, Delete", {"\x1b[2~\x1b[3~"}, {KEY_INSERT, KEY_DELETE}},
    {"Shift/Ctrl/Alt+Delete", {"\x1b[3;2~\x1b[3;5~\x1b[3;3~"}, {KEY_DELETE, ext(0x93), ext(0xA3)}},
    {"Ctrl+Insert, rxvt", {"\x1b[2^"}, {ext(0x92)}},
    {"Page Up, Page Down", {"\x1b[5~\x1b[6~"}, {KEY_PAGE_UP, KEY_PAGE_DOWN}},
    {"Ctrl+Page Up, Ctrl+Page Down", {"\x1b[5;5~\x1b[6;5~"}, {ext(0x84), ext(0x76)}},
    {"rxvt Shift+Up, Ctrl+Up", {"\x1b[a\x1bOa"}, {KEY_UP, ext(0x8D)}},
    {"keypad 5 without Num Lock", {"\x1b[E\x1b[G\x1bOE"}, {ext(0x4C), ext(0x4C), ext(0x4C)}},
    {"application keypad", {"\x1bOM\x1bOo\x1bOj\x1bOk\x1bOm\x1bOn\x1bOp\x1bOy"},
     {13, 47, '*', '+', '-', '.', '0', '9'}},
    {"Ctrl+keypad Enter", {"\x1bO5M"}, {10}},
    {"Enter from CR and LF", {"\r\n"}, {13, 13}},
    {"Backspace from DEL and BS", {"\x7f\x08"}, {8, 8}},
    {"Tab", {"\t"}, {9}},
    {"Shift+Tab", {"\x1b[Z"}, {ext(0x0F)}},
    {"Ctrl+letters", {"\x01\x03\x1a"}, {1, 3, 26}},
    {"Ctrl+\\ ] ^ _", {"\x1c\x1d\x1e\x1f"}, {28, 29, 30, 31}},
    {"Ctrl+2 (NUL)", {std::string(1, '\0')}, {ext(0x03)}},
    {"Alt+X", {"\x1bx"}, {ext(0x2D)}},
    {"Alt+Shift+X", {"\x1bX"}, {ext(0x2D)}},
    {"Alt+1", {"\x1b" "1"}, {ext(0x78)}},
    {"Alt+Enter, Alt+Backspace, Alt+Tab", {"\x1b\r\x1b\x7f\x1b\t"}, {ext(0x1C), ext(0xE0), ext(0x0F)}},
    {"Alt+[ and Alt+O typed (after the pause)", {"\x1b[", "\x1bO"}, {ext(0x1A), ext(0x18)}},
    {"Alt+Up with an ESC prefix", {"\x1b\x1b[A"}, {ext(0x98)}},
    {"lone Escape", {"\x1b"}, {27}},
    {"Escape, pause, a", {"\x1b", "a"}, {27, 97}},
    {"Escape twice with pauses", {"\x1b", "\x1b"}, {27, 27}},
    {"Alt+Esc", {"\x1b\x1b"}, {ext(0x01)}},
    {"Alt+Esc, then Escape", {"\x1b\x1b\x1b"}, {ext(0x01), 27}},
    {"UTF-8 e acute", {"\xc3\xa9"}, {130}},
    {"UTF-8 box drawing and block", {"\xe2\x94\x80\xe2\x96\x88"}, {196, 219}},
    {"Alt+e acute has no Alt code", {"\x1b\xc3\xa9"}, {130}},
    {"character without CP437 form dropped", {"\xe2\x82\xac" "a"}, {97}},
    {"emoji dropped", {"\xf0\x9f\x98\x80" "b"}, {98}},
    {"broken UTF-8 dropped", {"\xc3" "a\xa9" "b"}, {97, 98}},
    {"partial UTF-8 at the pause dropped", {"\xe2\x94", "a"}, {97}},
};
// clang-format on

TEST_F(KeyDecoderTest, BytesToCodes) {
    for (const DecodeCase& c : kKeyCases) {
        KeyDecoder decoder;
        EXPECT_EQ(decode(decoder, c.chunks), c.codes) << c.name;
    }
}

// clang-format off
const DecodeCase kIgnoredCases[] = {
    {"unknown final", {"\x1b[9999z" "a"}, {97}},
    {"unknown tilde code", {"\x1b[99~" "a"}, {97}},
    {"unknown SS3", {"\x1bOz" "a"}, {97}},
    {"unknown Linux form", {"\x1b[[Z" "a"}, {97}},
    {"private parameters", {"\x1b[?1;2c" "a"}, {97}},
    {"intermediate byte", {"\x1b[1 q" "a"}, {97}},
    {"too many parameters", {"\x1b[1;5;1;1;1A" "a"}, {97}},
    {"sub-parameters", {"\x1b[1:5A" "a"}, {97}},
    {"huge parameter", {"\x1b[99999999999999999999~" "a"}, {97}},
    {"truncated, then the pause", {"\x1b[1;5", "a"}, {97}},
    {"truncated SS3 with parameter, then the pause", {"\x1bO2", "a"}, {97}},
    {"truncated Linux form, then the pause", {"\x1b[[", "a"}, {97}},
    {"cut by a new sequence", {"\x1b[1;\x1b[A"}, {KEY_UP}},
    {"cut by a control byte", {"\x1b[1\r"}, {13}},
    {"cut by a UTF-8 character", {"\x1b[1\xc3\xa9"}, {130}},
    {"over-long CSI", {"\x1b[" + std::string(100, '1') + "A" "b"}, {98}},
    {"over-long CSI cut by Enter", {"\x1b[" + std::string(100, ';') + "\r"}, {13}},
    {"over-long CSI at the pause", {"\x1b[" + std::string(100, '2'), "c"}, {99}},
    {"bracketed paste", {"\x1b[200~hi\r\x1b[201~"}, {'h', 'i', 13}},
    {"X10 mouse report", {"\x1b[M !!q"}, {'q'}},
    {"X10 mouse report with high bytes", {"\x1b[M\xc3\xa9\x1bq"}, {'q'}},
    {"SGR mouse press and release", {"\x1b[<0;12;5M\x1b[<0;12;5mq"}, {'q'}},
    {"urxvt mouse report", {"\x1b[32;12;5Mq"}, {'q'}},
    {"focus reports", {"\x1b[I\x1b[Oq"}, {'q'}},
    {"orphan continuation byte", {"\x80\xbf" "q"}, {'q'}},
};
// clang-format on

TEST_F(KeyDecoderTest, UnknownAndBrokenSequencesGiveNothing) {
    for (const DecodeCase& c : kIgnoredCases) {
        KeyDecoder decoder;
        EXPECT_EQ(decode(decoder, c.chunks), c.codes) << c.name;
    }
}

TEST_F(KeyDecoderTest, PendingUntilTheSequenceEnds) {
    KeyDecoder decoder;
    std::vector<int32_t> codes;
    EXPECT_FALSE(decoder.pending());
    for (uint8_t b : std::string("\x1b[1;5")) {
        decoder.feed(b, codes);
        EXPECT_TRUE(decoder.pending());
    }
    decoder.feed('C', codes);
    EXPECT_FALSE(decoder.pending());
    EXPECT_EQ(codes, std::vector<int32_t>{ext(0x74)});
    decoder.feed(0xe2, codes);
    EXPECT_TRUE(decoder.pending());
    decoder.timeout(codes);
    EXPECT_FALSE(decoder.pending());
    decoder.timeout(codes);  // nothing pending: nothing happens
    EXPECT_EQ(codes.size(), 1u);
}

TEST_F(KeyDecoderTest, EventsCarryTheKeyFields) {
    KeyDecoder decoder;
    std::vector<KeyEvent> events;
    for (char c : std::string("\x1b[1;5A\x1bx\xc3\xa9")) decoder.feed(static_cast<uint8_t>(c), events);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].character, 0);
    EXPECT_EQ(events[0].scan_code, 0x48);
    EXPECT_EQ(events[0].virtual_key, VKEY_UP);
    EXPECT_EQ(events[0].modifiers, KEYMOD_LEFT_CTRL | KEYMOD_ENHANCED);
    EXPECT_EQ(events[0].code, ext(0x8D));
    EXPECT_EQ(events[1].character, 'x');
    EXPECT_EQ(events[1].scan_code, 0x2D);
    EXPECT_EQ(events[1].virtual_key, 'X');
    EXPECT_EQ(events[1].modifiers, KEYMOD_LEFT_ALT);
    EXPECT_EQ(events[2].character, 130);
    EXPECT_EQ(events[2].code, 130);
}

TEST_F(KeyDecoderTest, CLocaleDropsNonAsciiBytes) {
    ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
    KeyDecoder decoder;
    EXPECT_EQ(decode(decoder, {"\xc3\xa9"
                               "a\x1b[A"}),
              (std::vector<int32_t>{97, KEY_UP}));
}

// The terminal's own sequences (as terminfo gives them) come first; they
// may also be ones the built-in forms do not know.
TEST_F(KeyDecoderTest, KnownSequencesFromTerminfo) {
    const std::vector<KeySequence> known = {
        {"\x1b[=a", TermKey::F5},
        {"\x1b[=ab", TermKey::F6},     // a longer key starting with another
        {"\x1b[2~", TermKey::Delete},  // overrides the built-in Insert
        {"\x7f", TermKey::Backspace},  // single bytes are not sequences: ignored
        {"", TermKey::Up},
    };
    // clang-format off
    const DecodeCase cases[] = {
        {"new sequence", {"\x1b[=a"}, {ext(0x3F)}},
        {"longer one", {"\x1b[=ab"}, {ext(0x40)}},
        {"shorter one, then another key", {"\x1b[=a\x1b[A"}, {ext(0x3F), KEY_UP}},
        {"overridden", {"\x1b[2~"}, {KEY_DELETE}},
        {"built-ins still work", {"\x1b[3~\x1bOP\x7f"}, {KEY_DELETE, KEY_F1, 8}},
        {"a prefix that turns out unknown", {"\x1b[=c" "d"}, {'d'}},
        {"Alt with a known sequence", {"\x1b\x1b[=a"}, {ext(0x6C)}},  // Alt+F5
    };
    // clang-format on
    for (const DecodeCase& c : cases) {
        KeyDecoder decoder(known);
        EXPECT_EQ(decode(decoder, c.chunks), c.codes) << c.name;
    }
    KeyDecoder plain;
    EXPECT_TRUE(decode(plain, {"\x1b[=a"}).empty());
}

// Arbitrary input never yields anything but valid key codes and never
// leaves the decoder stuck. Escape-heavy bytes reach the sequence states.
TEST_F(KeyDecoderTest, RandomBytesDecodeSafely) {
    std::mt19937 random(12345);
    const uint8_t interesting[] = {0x1b, '[', 'O', ';', '1', '2', '~', 'A', 'M', '<', 0xc3, 0xa9, 0xe2, 0x80, 0x7f, 0};
    KeyDecoder decoder;
    std::vector<int32_t> codes;
    for (int i = 0; i < 200000; ++i) {
        const uint32_t r = random();
        const uint8_t byte = (r & 0x100) ? interesting[r % sizeof interesting] : static_cast<uint8_t>(r);
        decoder.feed(byte, codes);
        if ((r >> 20) % 64 == 0) decoder.timeout(codes);
    }
    decoder.timeout(codes);
    EXPECT_FALSE(decoder.pending());
    EXPECT_FALSE(codes.empty());
    for (int32_t code : codes) {
        const bool character = code >= 1 && code <= 255;
        const bool extended = code > 255 && code <= 0xFFFF && (code & 0xFF) == 0xFF;
        ASSERT_TRUE(character || extended) << code;
    }
    // Still in step afterwards.
    EXPECT_EQ(decode(decoder, {"\x1b[A"}), std::vector<int32_t>{KEY_UP});
}

}  // namespace
