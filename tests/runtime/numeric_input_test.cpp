#include "runtime/numeric_input.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/runtime_fixture.h"

namespace {

class NumericInput : public RuntimeTest {
   protected:
    // Makes `line` the typed line of the input context, as the line input does.
    void type(const std::string& line) {
        InputContext* in = input_context();
        string_delete(&in->text);
        in->source = nullptr;
        in->index = 0;
        line_ = line;
        StringDesc* s = temp_string_from_literal(line_.data(), line_.size());
        string_assign(&in->text, s);
    }
    int16_t read_short() {
        int16_t value = 12345;
        EXPECT_EQ(input_short(&value), ERR_NONE);
        return value;
    }
    std::string token(int32_t* float_mark = nullptr) {
        char buffer[TOKEN_CAPACITY + 1];
        int32_t mark = 0;
        int32_t n = input_token(buffer, TOKEN_CAPACITY, &mark);
        if (float_mark) *float_mark = mark;
        EXPECT_EQ(static_cast<size_t>(n), std::strlen(buffer));
        return buffer;
    }
    std::string line_;
};

TEST_F(NumericInput, TokensOfALine) {
    type("  12 , \"a,b\"x  34\r\n&h1e 1.5e3 2d4\r9");
    int32_t mark = 0;
    EXPECT_EQ(token(&mark), "12");
    EXPECT_EQ(mark, 0);
    EXPECT_EQ(token(), "a,bx");
    EXPECT_EQ(token(), "34");
    EXPECT_EQ(token(&mark), "&h1e");
    EXPECT_EQ(mark, 0);
    EXPECT_EQ(token(&mark), "1.5e3");
    EXPECT_EQ(mark, 1);
    EXPECT_EQ(token(&mark), "2e4");
    EXPECT_EQ(mark, 1);
    EXPECT_EQ(token(), "9");  // the lone carriage return ended the last one
    EXPECT_EQ(token(), "");
    EXPECT_EQ(input_getc(), -1);
}

TEST_F(NumericInput, LongTokenLeavesTheRest) {
    type(std::string(70, '7') + " 5");
    EXPECT_EQ(token(), std::string(67, '7'));
    EXPECT_EQ(token(), "777");
    EXPECT_EQ(token(), "5");
}

TEST_F(NumericInput, ShortConversionTable) {
    const std::pair<std::string, int16_t> rows[] = {
        {"", 0},           {"128", 128},     {"  128  ", 128}, {"\t-5", -5},      {"+7", 7},
        {"70000", 4464},   {"65535", -1},    {"99999999999", -1}, {"3000000000", 24064}, {"3000000000.0", 0},
        {"70000.0", 4464}, {"2.5", 2},       {"3.5", 4},       {"-2.5", -2},       {"-1.5", -2},
        {"1e3", 1000},     {"1d3", 1000},    {"1E10", 0},      {"&HFF", 255},      {"&HFFFF", -1},
        {"&H1E", 30},      {"&O17", 15},     {"&17", 15},      {"&B101", 5},       {"12abc", 12},
        {"abc", 0},        {"hello", 0},     {"0x10", 0},      {"0x1.8", 0},       {"1,5", 1},
        {"1 2", 1},        {"\"12\"", 12},   {"\"1\"2", 12},   {std::string(70, '1'), -1},
        {"-99999999999", -1}, {"&", 0},      {"&H0x10", 16},   {"-0x1.8", 0},      {"1e999", 0},
        {"-.5", 0},        {"1.5e", 2},      {"inf.0", 0},     {"-4294967295", 1}, {"4294967296", -1},
    };
    for (const auto& [typed, expected] : rows) {
        type(typed);
        EXPECT_EQ(read_short(), expected) << "[" << typed << "]";
    }
}

TEST_F(NumericInput, ConversionsOnTokens) {
    EXPECT_EQ(token_to_uint("   42", 5), 42u);
    EXPECT_EQ(token_to_uint("", 0), 0u);
    EXPECT_EQ(token_to_uint("-1", 2), 4294967295u);
    EXPECT_EQ(token_to_uint("&b2", 3), 0u);
    EXPECT_EQ(token_to_double("  0X5", 5), 0.0);
    EXPECT_EQ(token_to_double("1D2", 3), 100.0);
    EXPECT_EQ(token_to_double("0.1", 3), 0.1);  // correctly rounded
    EXPECT_EQ(token_to_double("nan", 3), 0.0);
}

}  // namespace
