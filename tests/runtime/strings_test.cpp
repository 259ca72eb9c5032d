#include "runtime/strings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/runtime_fixture.h"

namespace {

class Strings : public RuntimeTest {};

TEST_F(Strings, LiteralWrapBorrowsTheText) {
    static const char text[] = "sawtooth.bin";
    int32_t before = temp_string_in_use();
    StringDesc* s = temp_string_from_literal(text, 12);
    EXPECT_EQ(s->data, reinterpret_cast<const uint8_t*>(text));
    EXPECT_EQ(s->length, 12u);
    EXPECT_EQ(s->capacity, 12u);
    EXPECT_FALSE(string_is_temp(s));
    EXPECT_EQ(temp_string_in_use(), before + 1);
    EXPECT_EQ(temp_string_release(s), 0);
    EXPECT_EQ(temp_string_in_use(), before);
    EXPECT_STREQ(text, "sawtooth.bin");  // nothing freed or changed
}

TEST_F(Strings, TemporaryBlockSizes) {
    const std::pair<uint64_t, uint64_t> sizes[] = {{1, 36}, {0, 0}, {32, 36}, {33, 72}, {100, 144}};
    for (auto [n, capacity] : sizes) {
        StringDesc* s = temp_string_alloc(nullptr, n);
        ASSERT_NE(s, nullptr);
        EXPECT_TRUE(string_is_temp(s));
        EXPECT_EQ(string_length(s), n);
        EXPECT_EQ(s->capacity, capacity) << n;
        EXPECT_EQ(s->data[n], 0);
        temp_string_release(s);
    }
}

TEST_F(Strings, ResizeKeepsABlockThatIsCloseInSize) {
    StringDesc s{};
    ASSERT_NE(string_resize(&s, 40, false), nullptr);
    uint8_t* block = s.data;
    EXPECT_EQ(s.capacity, 72u);
    ASSERT_NE(string_resize(&s, 70, true), nullptr);
    EXPECT_EQ(s.data, block);  // 72 - 9 <= want(70) = 108
    std::memset(s.data, 'x', 70);
    ASSERT_NE(string_resize(&s, 500, true), nullptr);
    EXPECT_EQ(s.data[69], 'x');  // contents kept across the reallocation
    ASSERT_NE(string_resize(&s, 10, false), nullptr);
    EXPECT_EQ(s.capacity, 36u);  // far too big: a new block
    string_delete(&s);
    EXPECT_EQ(s.data, nullptr);
    EXPECT_EQ(string_resize(&s, uint64_t{1} << 62, false), nullptr);  // refused, not wrapped
}

TEST_F(Strings, CompareOrdersAndReleases) {
    auto temp = [](const char* text) {
        StringDesc* s = temp_string_alloc(nullptr, std::strlen(text));
        std::memcpy(s->data, text, std::strlen(text));
        return s;
    };
    int32_t before = temp_string_in_use();
    EXPECT_NE(string_compare(temp("a"), -1, "", 1), 0);
    EXPECT_EQ(string_compare(string_empty(), -1, "", 1), 0);
    EXPECT_EQ(string_compare(temp("ab"), -1, temp("abc"), -1), -1);
    EXPECT_EQ(string_compare(temp("abc"), -1, temp("ab"), -1), 1);
    EXPECT_EQ(string_compare(temp("abc"), -1, "abc", 4), 0);
    EXPECT_LT(string_compare(temp("abc"), -1, "abd", 4), 0);
    EXPECT_EQ(string_compare(nullptr, 0, "", 1), 0);
    EXPECT_EQ(string_compare(nullptr, 0, "x", 1), -1);
    EXPECT_EQ(temp_string_in_use(), before);  // every temporary went back
}

TEST_F(Strings, PoolExhaustion) {
    std::vector<StringDesc*> taken;
    static const char text[] = "x";
    int32_t free_now = TEMP_STRING_COUNT - temp_string_in_use();
    for (int32_t i = 0; i < free_now; ++i) taken.push_back(temp_string_from_literal(text, 1));
    EXPECT_EQ(temp_string_from_literal(text, 1), string_empty());
    EXPECT_EQ(temp_string_alloc(nullptr, 3), nullptr);
    const int32_t codes[] = {65};
    EXPECT_EQ(temp_string_from_chars(1, codes), string_empty());
    for (StringDesc* s : taken) EXPECT_EQ(temp_string_release(s), 0);
    StringDesc* again = temp_string_from_chars(1, codes);
    EXPECT_EQ(string_length(again), 1u);
    EXPECT_EQ(again->data[0], 'A');
    temp_string_release(again);
}

TEST_F(Strings, ReleaseOutsideThePool) {
    EXPECT_EQ(temp_string_release(nullptr), -1);
    EXPECT_EQ(temp_string_release(string_empty()), -1);
    StringDesc own{};
    string_resize(&own, 5, false);
    own.length |= STRING_TEMP_FLAG;
    EXPECT_EQ(temp_string_release(&own), -1);  // not pooled, but its temporary data is freed
    EXPECT_EQ(own.data, nullptr);
    StringDesc* s = temp_string_alloc(nullptr, 2);
    EXPECT_EQ(temp_string_release(s), 0);
    int32_t in_use = temp_string_in_use();
    EXPECT_EQ(temp_string_release(s), -1);  // a second release gives nothing back twice
    EXPECT_EQ(temp_string_in_use(), in_use);
}

TEST_F(Strings, AssignCopiesAndReleases) {
    StringDesc dest{};
    StringDesc* line = temp_string_alloc(nullptr, 3);
    std::memcpy(line->data, "441", 3);
    int32_t before = temp_string_in_use();
    string_assign(&dest, line);
    EXPECT_EQ(temp_string_in_use(), before - 1);
    ASSERT_EQ(string_length(&dest), 3u);
    EXPECT_EQ(std::memcmp(dest.data, "441", 3), 0);
    EXPECT_FALSE(string_is_temp(&dest));
    string_delete(&dest);
}

}  // namespace
