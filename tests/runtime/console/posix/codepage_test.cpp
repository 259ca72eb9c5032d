#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "runtime/console/posix/codepage.h"

namespace {

// Runs a test under the given LC_CTYPE and puts the previous one back.
class LocaleFixture : public ::testing::Test {
   protected:
    void use_locale(const char* name) {
        const char* before = std::setlocale(LC_CTYPE, nullptr);
        saved_ = before ? before : "C";
        if (std::setlocale(LC_CTYPE, name) == nullptr) GTEST_SKIP() << "locale " << name << " not installed";
    }
    void TearDown() override {
        if (!saved_.empty()) std::setlocale(LC_CTYPE, saved_.c_str());
    }

   private:
    std::string saved_;
};

class CodepageUtf8Test : public LocaleFixture {
   protected:
    void SetUp() override { use_locale("C.UTF-8"); }
};

class CodepageAsciiTest : public LocaleFixture {
   protected:
    void SetUp() override { use_locale("C"); }
};

int32_t from_locale(const std::string& s) { return codepage_from_locale(s.data(), s.size()); }

std::string to_locale(const std::string& cp437) {
    std::string out = "[";
    const size_t n = codepage_to_locale(reinterpret_cast<const uint8_t*>(cp437.data()), cp437.size(), out);
    EXPECT_EQ(n, out.size() - 1);
    return out.substr(1);
}

TEST_F(CodepageUtf8Test, LocaleCharactersToCp437) {
    EXPECT_EQ(codepage_locale_charset(), LocaleCharset::Utf8);
    // clang-format off
    const std::pair<std::string, int32_t> cases[] = {
        {"a", 97},         {"\xC3\xA9", 130},  // é
        {"\xE2\x94\x80", 196},                 // ─ box drawing
        {"\xE2\x96\x88", 219},                 // █
        {"\xC3\x87", 128},                     // Ç
        {"\x01", 1},       {"\xE2\x82\xAC", -1},  // € has no CP437 form
        {"\xF0\x9F\x98\x80", -1},              // emoji
        {"ab", -1},        {"\xC3", -1},       {"\xA9", -1},
        {std::string(1, '\0'), -1},            {"", -1},
    };
    // clang-format on
    for (const auto& [bytes, code] : cases) EXPECT_EQ(from_locale(bytes), code) << bytes;
}

TEST_F(CodepageUtf8Test, Cp437ToLocale) {
    EXPECT_EQ(to_locale("\x82"), "\xC3\xA9");
    EXPECT_EQ(to_locale("\xC4"), "\xE2\x94\x80");
    EXPECT_EQ(to_locale("Rate? "), "Rate? ");
    EXPECT_EQ(to_locale("a\x82\r\nb\xC4"), "a\xC3\xA9\r\nb\xE2\x94\x80");
    // Control bytes are the terminal's, not the CP437 pictures.
    const std::string controls = {1, 7, 8, 9, 10, 13, 27, 31};
    EXPECT_EQ(to_locale(controls), controls);
    EXPECT_EQ(to_locale(std::string(1, '\0')), std::string(1, '\0'));
    EXPECT_EQ(to_locale(""), "");
}

// Every printable CP437 byte has a UTF-8 form that converts back to it,
// also inside longer runs (the converter's state is carried correctly).
TEST_F(CodepageUtf8Test, EveryByteRoundTrips) {
    std::string all;
    for (int b = 32; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        const std::string local = to_locale(one);
        EXPECT_EQ(from_locale(local), b) << b;
        all += one;
    }
    std::string joined;
    for (int b = 32; b < 256; ++b) joined += to_locale(std::string(1, static_cast<char>(b)));
    EXPECT_EQ(to_locale(all), joined);
    EXPECT_EQ(to_locale(all + all + all).size(), 3 * joined.size());  // past one conversion chunk
}

TEST_F(CodepageUtf8Test, CharacterLengths) {
    // clang-format off
    const std::pair<uint8_t, size_t> cases[] = {
        {'a', 1}, {0x7F, 1}, {0x80, 0}, {0xBF, 0}, {0xC0, 0}, {0xC1, 0}, {0xC2, 2},
        {0xDF, 2}, {0xE0, 3}, {0xEF, 3}, {0xF0, 4}, {0xF4, 4}, {0xF5, 0}, {0xFF, 0},
    };
    // clang-format on
    for (const auto& [lead, length] : cases) {
        EXPECT_EQ(codepage_utf8_length(lead), length) << int(lead);
        EXPECT_EQ(codepage_char_length(lead), length) << int(lead);
    }
}

TEST_F(CodepageAsciiTest, OnlyAsciiPassesThrough) {
    EXPECT_EQ(codepage_locale_charset(), LocaleCharset::Ascii);
    EXPECT_EQ(from_locale("a"), 97);
    EXPECT_EQ(from_locale("\x7F"), 127);
    EXPECT_EQ(from_locale("\xC3\xA9"), -1);
    EXPECT_EQ(from_locale("\x82"), -1);
    EXPECT_EQ(to_locale("a\x82\r\xC4z"), "a?\r?z");
    EXPECT_EQ(codepage_char_length(0xC3), 0u);
    EXPECT_EQ(codepage_char_length('a'), 1u);
}

// Switching the locale back and forth reopens the converters each time.
TEST_F(CodepageUtf8Test, FollowsLocaleChanges) {
    EXPECT_EQ(from_locale("\xC3\xA9"), 130);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
    EXPECT_EQ(from_locale("\xC3\xA9"), -1);
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    EXPECT_EQ(from_locale("\xC3\xA9"), 130);
}

}  // namespace
