// Typed text arrives from the window system in UTF-8 and becomes code page
// 437 whatever the locale.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "runtime/console/posix/codepage.h"

namespace {

TEST(TypedText, Utf8CharactersToCodePage437) {
    struct Case {
        std::string utf8;
        int32_t cp437;
    };
    const Case cases[] = {
        {"a", 'a'},         {"\x1b", 27},         {"\xC3\xA9", 0x82}, {"\xC3\xBC", 0x81}, {"\xE2\x96\x88", 0xDB},
        {"\xC3\x9F", 0xE1}, {"\xE2\x82\xAC", -1},  // the euro sign has none
        {"\xC3", -1},       {"ab", -1},           {"\xFF", -1},       {"\xC3\xA9x", -1},
    };
    for (const char* locale : {"C", "C.UTF-8"}) {
        if (!std::setlocale(LC_CTYPE, locale)) continue;
        for (const Case& c : cases) EXPECT_EQ(codepage_from_utf8(c.utf8.data(), c.utf8.size()), c.cp437) << c.utf8;
    }
    std::setlocale(LC_CTYPE, "");
    EXPECT_EQ(codepage_from_utf8(nullptr, 0), -1);
}

}  // namespace
