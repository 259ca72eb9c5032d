#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/console/key_codes.h"
#include "runtime/console/key_string.h"
#include "runtime/console/key_translate.h"
#include "runtime/console/keyboard_layout.h"
#include "runtime/console/us_layout.h"
#include "runtime/console/virtual_keys.h"
#include "runtime/strings.h"

namespace {

constexpr uint32_t ENH = KEYMOD_ENHANCED;
constexpr uint32_t SHIFT = KEYMOD_SHIFT;
constexpr uint32_t LCTRL = KEYMOD_LEFT_CTRL;
constexpr uint32_t RCTRL = KEYMOD_RIGHT_CTRL;
constexpr uint32_t LALT = KEYMOD_LEFT_ALT;
constexpr uint32_t RALT = KEYMOD_RIGHT_ALT;

constexpr int32_t ext(int32_t scan) { return scan * 256 + 255; }

struct TranslateCase {
    const char* name;
    int32_t character;
    int32_t scan;
    int32_t vk;
    uint32_t modifiers;
    int32_t strict;
    int32_t expected;
};

// clang-format off
const TranslateCase kTranslateCases[] = {
    {"a typed", 'a', 0x1E, 'A', 0, 0, 97},
    {"A typed with Shift", 'A', 0x1E, 'A', SHIFT, 0, 65},
    {"Up, cursor block", 0, 0x48, VKEY_UP, ENH, 0, ext(0x48)},
    {"Up, keypad without Num Lock", 0, 0x48, VKEY_UP, 0, 0, ext(0x48)},
    {"keypad 8 with Num Lock", '8', 0x48, VKEY_NUMPAD0 + 8, 0, 0, '8'},
    {"Ctrl+Up, cursor block", 0, 0x48, VKEY_UP, ENH | RCTRL, 0, ext(0x8D)},
    {"Alt+Up, cursor block", 0, 0x48, VKEY_UP, ENH | LALT, 0, ext(0x98)},
    {"Alt+Up, keypad: no code", 0, 0x48, VKEY_UP, LALT, 0, -1},
    {"F1", 0, 0x3B, VKEY_F1, 0, 0, ext(0x3B)},
    {"Shift+F1", 0, 0x3B, VKEY_F1, SHIFT, 0, ext(0x54)},
    {"Ctrl+Shift+F1 takes Ctrl", 0, 0x3B, VKEY_F1, LCTRL | SHIFT, 0, ext(0x5E)},
    {"Alt+Ctrl+F1 takes Alt", 0, 0x3B, VKEY_F1, RALT | RCTRL, 0, ext(0x68)},
    {"Ctrl+Home, cursor block", 0, 0x47, VKEY_HOME, ENH | LCTRL, 0, ext(0x77)},
    {"Ctrl+Home, keypad", 0, 0x47, VKEY_HOME, RCTRL, 0, ext(0x77)},
    {"Alt+X", 'x', 0x2D, 'X', LALT, 0, ext(0x2D)},
    {"Alt+X with Caps Lock", 'X', 0x2D, 'X', RALT, 0, ext(0x2D)},
    // The key's own character must come along: without it the key has none.
    {"Alt+X without character", 0, 0x2D, 'X', LALT, 0, -1},
    {"F10", 0, 0x44, VKEY_F10, 0, 0, ext(0x44)},
    {"Alt+F4", 0, 0x3E, VKEY_F1 + 3, LALT, 0, KEY_CLOSE},
    {"F11", 0, 0x57, VKEY_F1 + 10, 0, 0, ext(0x85)},
    {"Shift+F11", 0, 0x57, VKEY_F1 + 10, SHIFT, 0, ext(0x87)},
    {"Ctrl+F11", 0, 0x57, VKEY_F1 + 10, RCTRL, 0, ext(0x89)},
    {"Alt+F11", 0, 0x57, VKEY_F1 + 10, RALT, 0, ext(0x8B)},
    {"F12", 0, 0x58, VKEY_F12, 0, 0, ext(0x86)},
    {"Shift+F12", 0, 0x58, VKEY_F12, SHIFT, 0, ext(0x88)},
    {"Ctrl+F12", 0, 0x58, VKEY_F12, LCTRL, 0, ext(0x8A)},
    {"Alt+F12", 0, 0x58, VKEY_F12, LALT, 0, ext(0x8C)},
    {"keypad Enter", 0, 0x1C, VKEY_RETURN, ENH, 0, 13},
    {"Shift+keypad Enter", 0, 0x1C, VKEY_RETURN, ENH | SHIFT, 0, 13},
    {"Ctrl+keypad Enter", 0, 0x1C, VKEY_RETURN, ENH | LCTRL, 0, 10},
    {"Alt+keypad Enter", 0, 0x1C, VKEY_RETURN, ENH | LALT, 0, ext(0xA6)},
    {"keypad /", 0, 0x35, VKEY_DIVIDE, ENH, 0, 47},
    {"Shift+keypad /", 0, 0x35, VKEY_DIVIDE, ENH | SHIFT, 0, 63},
    {"Enter typed", 13, 0x1C, VKEY_RETURN, 0, 0, 13},
    {"Alt+Enter", 13, 0x1C, VKEY_RETURN, LALT, 0, ext(0x1C)},
    {"Ctrl+2", '2', 0x03, '2', LCTRL, 0, ext(0x03)},
    {"Ctrl+3 has no code but its character", '3', 0x04, '3', LCTRL, 0, '3'},
    {"Alt+1", '1', 0x02, '1', LALT, 0, ext(0x78)},
    {"Alt+! is the character", '!', 0x02, '1', LALT | SHIFT, 0, '!'},
    {"Alt+Esc", 27, 0x01, VKEY_ESCAPE, LALT, 0, ext(0x01)},
    {"Esc", 27, 0x01, VKEY_ESCAPE, 0, 0, 27},
    {"Shift+Tab", 9, 0x0F, VKEY_TAB, SHIFT, 0, ext(0x0F)},
    {"Tab", 9, 0x0F, VKEY_TAB, 0, 0, 9},
    {"Alt+Backspace", 8, 0x0E, VKEY_BACK, LALT, 0, ext(0xE0)},
    {"Alt+keypad 5", 0, 0x4C, 0x0C, LALT, 0, ext(0x4C)},
    {"Ctrl+A is the control character", 1, 0x1E, 'A', LCTRL, 0, 1},
    {"CP437 character without a key", 130, 0, 0, 0, 0, 130},
    {"strict: a character is not a key", 'a', 0x1E, 'A', 0, 1, -1},
    {"strict: Enter is not a key", 13, 0x1C, VKEY_RETURN, 0, 1, -1},
    {"strict: F1 is", 0, 0x3B, VKEY_F1, 0, 1, ext(0x3B)},
    {"strict: keypad Enter still gives 13", 0, 0x1C, VKEY_RETURN, ENH, 1, 13},
    {"enhanced key not in table", 0, 0x1D, VKEY_CONTROL, ENH, 0, -1},
    {"enhanced key not in table, Alt", 0, 0x38, VKEY_MENU, ENH | RALT, 0, -1},
    {"Shift alone", 0, 0x2A, VKEY_SHIFT, SHIFT, 0, -1},
    {"Caps Lock", 0, 0x3A, VKEY_CAPITAL, 0, 0, -1},
    {"beyond the main table", 0, 0x5B, VKEY_LWIN, 0, 0, -1},
    {"beyond the main table with a character", 'q', 0x70, 0, 0, 0, 'q'},
};
// clang-format on

TEST(KeyTranslateTest, TableOfKeyEvents) {
    for (const TranslateCase& c : kTranslateCases) {
        EXPECT_EQ(key_translate(c.character, c.scan, c.vk, c.modifiers, c.strict), c.expected) << c.name;
    }
}

// The extended codes of the main table (PC BIOS scheme), written out apart
// from the tables under test: scans first..last in one column give
// consecutive codes from `code` on.
enum Column { NORMAL, SHIFTED, CTRL, ALT };
struct CodeRange {
    int32_t first, last;
    Column column;
    int32_t code;  // -1: the code is the scan code
};

// clang-format off
const CodeRange kMainCodes[] = {
    {0x01, 0x01, ALT, 0x01},     {0x02, 0x0D, ALT, 0x78},    {0x03, 0x03, CTRL, 0x03},
    {0x0E, 0x0E, ALT, 0xE0},     {0x0F, 0x0F, SHIFTED, 0x0F}, {0x0F, 0x0F, CTRL, 0x94},
    {0x0F, 0x0F, ALT, 0x0F},     {0x10, 0x1B, ALT, -1},      {0x1C, 0x1C, ALT, 0x1C},
    {0x1E, 0x29, ALT, -1},       {0x2C, 0x35, ALT, -1},      {0x3B, 0x44, NORMAL, 0x3B},
    {0x3B, 0x44, SHIFTED, 0x54}, {0x3B, 0x44, CTRL, 0x5E},   {0x3B, 0x44, ALT, 0x68},
    {0x47, 0x49, NORMAL, -1},    {0x4B, 0x4D, NORMAL, -1},   {0x4F, 0x53, NORMAL, -1},
    {0x47, 0x47, CTRL, 0x77},    {0x48, 0x48, CTRL, 0x8D},   {0x49, 0x49, CTRL, 0x84},
    {0x4B, 0x4B, CTRL, 0x73},    {0x4C, 0x4C, CTRL, 0x8F},   {0x4C, 0x4C, ALT, 0x4C},
    {0x4D, 0x4D, CTRL, 0x74},    {0x4F, 0x4F, CTRL, 0x75},   {0x50, 0x50, CTRL, 0x91},
    {0x51, 0x51, CTRL, 0x76},    {0x52, 0x52, CTRL, 0x92},   {0x53, 0x53, CTRL, 0x93},
    {0x57, 0x57, NORMAL, 0x85},  {0x57, 0x57, SHIFTED, 0x87}, {0x57, 0x57, CTRL, 0x89},
    {0x57, 0x57, ALT, 0x8B},     {0x58, 0x58, NORMAL, 0x86},  {0x58, 0x58, SHIFTED, 0x88},
    {0x58, 0x58, CTRL, 0x8A},    {0x58, 0x58, ALT, 0x8C},
};
// clang-format on

constexpr uint32_t kColumnModifiers[] = {0, SHIFT, LCTRL, LALT};

int32_t expected_main_code(int32_t scan, Column column) {
    for (const CodeRange& r : kMainCodes) {
        if (r.column != column || scan < r.first || scan > r.last) continue;
        return ext(r.code < 0 ? scan : r.code + (scan - r.first));
    }
    return -1;
}

// Every cell of the main table, through a key without a character (virtual
// key 0 has none, so the table alone decides): the listed codes, and
// nothing elsewhere.
TEST(KeyTranslateTest, MainTableGivesBiosCodes) {
    for (int32_t scan = 0; scan <= 88; ++scan) {
        for (Column column : {NORMAL, SHIFTED, CTRL, ALT}) {
            EXPECT_EQ(key_translate(0, scan, 0, kColumnModifiers[column], 1), expected_main_code(scan, column))
                << "scan 0x" << std::hex << scan << " column " << column;
        }
    }
}

struct EnhancedCodes {
    int32_t scan;
    int32_t codes[4];  // normal, Shift, Ctrl, Alt
};

// clang-format off
const EnhancedCodes kEnhancedCodes[] = {
    {0x1C, {13, 13, 10, ext(0xA6)}},
    {0x35, {47, 63, ext(0x95), ext(0xA4)}},
    {0x47, {ext(0x47), ext(0x47), ext(0x77), ext(0x97)}},
    {0x48, {ext(0x48), ext(0x48), ext(0x8D), ext(0x98)}},
    {0x49, {ext(0x49), ext(0x49), ext(0x84), ext(0x99)}},
    {0x4B, {ext(0x4B), ext(0x4B), ext(0x73), ext(0x9B)}},
    {0x4D, {ext(0x4D), ext(0x4D), ext(0x74), ext(0x9D)}},
    {0x4F, {ext(0x4F), ext(0x4F), ext(0x75), ext(0x9F)}},
    {0x50, {ext(0x50), ext(0x50), ext(0x91), ext(0xA0)}},
    {0x51, {ext(0x51), ext(0x51), ext(0x76), ext(0xA1)}},
    {0x52, {ext(0x52), ext(0x52), ext(0x92), ext(0xA2)}},
    {0x53, {ext(0x53), ext(0x53), ext(0x93), ext(0xA3)}},
};
// clang-format on

TEST(KeyTranslateTest, EnhancedTableGivesBiosCodes) {
    for (const EnhancedCodes& row : kEnhancedCodes) {
        for (Column column : {NORMAL, SHIFTED, CTRL, ALT}) {
            EXPECT_EQ(key_translate(0, row.scan, 0, ENH | kColumnModifiers[column], 1), row.codes[column])
                << "scan 0x" << std::hex << row.scan << " column " << column;
        }
    }
    // Right-hand modifiers select the same columns.
    EXPECT_EQ(key_translate(0, 0x53, VKEY_DELETE, ENH | RCTRL, 0), ext(0x93));
    EXPECT_EQ(key_translate(0, 0x53, VKEY_DELETE, ENH | RALT, 0), ext(0xA3));
}

TEST(KeyTranslateTest, VirtualKeyCharactersOfTheUsLayout) {
    // clang-format off
    const std::pair<int32_t, int32_t> cases[] = {
        {'A', 'A'},          {'Z', 'Z'},          {'0', '0'},        {'9', '9'},         {VKEY_SPACE, 32},
        {VKEY_BACK, 8},        {VKEY_TAB, 9},         {VKEY_RETURN, 13},   {VKEY_ESCAPE, 27},    {VKEY_NUMPAD0, '0'},
        {VKEY_NUMPAD0 + 9, '9'}, {VKEY_MULTIPLY, '*'}, {VKEY_ADD, '+'},     {VKEY_SUBTRACT, '-'}, {VKEY_DECIMAL, '.'},
        {VKEY_DIVIDE, '/'},    {VKEY_OEM_1, ';'},     {VKEY_OEM_PLUS, '='}, {VKEY_OEM_COMMA, ','}, {VKEY_OEM_MINUS, '-'},
        {VKEY_OEM_PERIOD, '.'}, {VKEY_OEM_2, '/'},    {VKEY_OEM_3, '`'},   {VKEY_OEM_4, '['},    {VKEY_OEM_5, '\\'},
        {VKEY_OEM_6, ']'},     {VKEY_OEM_7, '\''},    {VKEY_F1, 0},        {VKEY_SHIFT, 0},      {VKEY_UP, 0},
        {0, 0},              {VKEY_LWIN, 0},        {0x1FF, 0},          {-1, 0},
    };
    // clang-format on
    for (const auto& [vk, character] : cases) EXPECT_EQ(virtual_key_char(vk), character) << "vk 0x" << std::hex << vk;
}

TEST(KeyTranslateTest, VirtualKeyScanCodes) {
    // clang-format off
    const std::pair<int32_t, int32_t> cases[] = {
        {VKEY_ESCAPE, 1},  {'1', 2},           {'A', 0x1E},        {VKEY_SHIFT, 42},   {VKEY_CONTROL, 29},
        {VKEY_MENU, 56},   {VKEY_NUMPAD0 + 8, 72}, {VKEY_UP, 72},      {VKEY_SUBTRACT, 12}, {VKEY_DIVIDE, 53},
        {VKEY_F1, 59},     {VKEY_F10, 68},       {VKEY_F12, 88},       {VKEY_APPS, 93},    {0, 0},
        {VKEY_LSHIFT, 0},  {0x0C, 0},
    };
    // clang-format on
    for (const auto& [vk, scan] : cases) EXPECT_EQ(virtual_key_scan(vk), scan) << "vk 0x" << std::hex << vk;
}

TEST(KeyTranslateTest, CharacterKeysOfTheUsLayout) {
    // clang-format off
    const std::pair<int32_t, int32_t> cases[] = {
        {'a', 'A'},          {'A', 0x100 | 'A'}, {'7', '7'},          {'&', 0x100 | '7'}, {' ', VKEY_SPACE},
        {'/', VKEY_OEM_2},     {'?', 0x100 | VKEY_OEM_2}, {'"', 0x100 | VKEY_OEM_7}, {'~', 0x100 | VKEY_OEM_3},
        {8, VKEY_BACK},        {9, VKEY_TAB},        {13, VKEY_RETURN},     {27, VKEY_ESCAPE},    {1, 0x200 | 'A'},
        {26, 0x200 | 'Z'},   {10, 0x200 | VKEY_RETURN}, {28, 0x200 | VKEY_OEM_5}, {0, -1},   {127, -1},
        {130, -1},           {-1, -1},
    };
    // clang-format on
    for (const auto& [character, key] : cases) EXPECT_EQ(us_char_virtual_key(character), key) << character;
}

// A key found for a character types it back: its unshifted character is
// the character itself (letters: their capital).
TEST(KeyTranslateTest, CharacterKeysTypeTheirCharacter) {
    for (int32_t c = 32; c < 127; ++c) {
        const int32_t key = char_virtual_key(c);
        ASSERT_GE(key, 0) << c;
        const int32_t typed = virtual_key_char(key & 0xFF);
        if (c >= 'a' && c <= 'z')
            EXPECT_EQ(typed, c - 32) << c;
        else if (!(key & 0x100))
            EXPECT_EQ(typed, c) << c;
        else
            EXPECT_NE(virtual_key_scan(key & 0xFF), 0) << c;
    }
}

std::vector<int> bytes_of(const StringDesc* s) {
    std::vector<int> bytes;
    for (uint64_t i = 0; i < string_length(s); ++i) bytes.push_back(s->data[i]);
    return bytes;
}

TEST(KeyCodeStringTest, OneOrTwoBytes) {
    const struct {
        int32_t code;
        std::vector<int> bytes;
        int32_t back;  // key_string_code of the string
    } cases[] = {
        {97, {97}, 97},
        {KEY_UP, {255, 72}, KEY_UP},
        {-126, {0x82}, 130},  // a sign-extended CP437 byte
        {KEY_CLOSE, {255, 107}, KEY_CLOSE},
        {255, {255}, 255},
        {256, {0, 1}, -1},  // not a key string: its first byte is not 255
    };
    for (const auto& c : cases) {
        StringDesc* s = key_code_string(c.code);
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(string_is_temp(s)) << c.code;
        EXPECT_EQ(bytes_of(s), c.bytes) << c.code;
        EXPECT_EQ(s->data[string_length(s)], 0) << c.code;
        EXPECT_EQ(key_string_code(s), c.back) << c.code;
        EXPECT_EQ(temp_string_release(s), 0);
    }
    EXPECT_EQ(key_string_code(string_empty()), 0);
    EXPECT_EQ(key_string_code(nullptr), 0);
}

TEST(KeyCodeStringTest, ExhaustedPoolGivesTheEmptyString) {
    std::vector<StringDesc*> taken;
    static const char literal[] = "x";
    for (;;) {
        StringDesc* s = temp_string_from_literal(literal, 1);
        if (s == string_empty()) break;
        taken.push_back(s);
        ASSERT_LE(taken.size(), static_cast<size_t>(TEMP_STRING_COUNT));
    }
    EXPECT_EQ(key_code_string(97), string_empty());
    EXPECT_EQ(key_code_string(KEY_F1), string_empty());
    for (StringDesc* s : taken) temp_string_release(s);
    StringDesc* s = key_code_string(KEY_F10);
    EXPECT_EQ(bytes_of(s), (std::vector<int>{255, 68}));
    temp_string_release(s);
}

}  // namespace
