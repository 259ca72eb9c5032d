#include "runtime/numeric_input.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/numeric_table.h"
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
    // Beyond the table: more signs, prefixes and forms a C library might
    // read differently.
    std::vector<std::pair<std::string, int16_t>> rows = NUMERIC_INPUT_TABLE;
    rows.insert(rows.end(), {{"\t-5", -5},
                             {"-99999999999", -1},
                             {"&", 0},
                             {"&H0x10", 16},
                             {"-0x1.8", 0},
                             {"1e999", 0},
                             {"-.5", 0},
                             {"1.5e", 2},
                             {"inf.0", 0},
                             {"-4294967295", 1},
                             {"4294967296", -1}});
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
