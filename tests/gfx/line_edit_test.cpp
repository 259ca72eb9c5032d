// The line editor on the graphics screen, with keys from the key queue.
#include "runtime/console/line_edit.h"

#include <gtest/gtest.h>

#include <cstring>

#include "gfx/gfx_text.h"
#include "gfx/text_cells.h"
#include "runtime/console/bell.h"
#include "runtime/console/key_codes.h"
#include "runtime/console/line_input.h"
#include "runtime/numeric_input.h"
#include "runtime/strings.h"
#include "support/gfx/null_screen.h"

namespace {

int g_bells;

class LineEdit : public NullScreenTest {
   protected:
    void SetUp() override {
        NullScreenTest::SetUp();
        open_screen();
        g_bells = 0;
        bell_set_handler([] { ++g_bells; });
    }
    void TearDown() override {
        bell_set_handler(nullptr);
        NullScreenTest::TearDown();
    }
    // Runs the program's line input with the user's steps; the typed line.
    std::string ask(std::vector<ScriptedUser::Step> steps) {
        ScriptedUser user(std::move(steps));
        static const char prompt[] = "Rate? ";
        line_input(temp_string_from_literal(prompt, 6), 0, -1);
        EXPECT_EQ(user.steps_left(), 0u);
        InputContext* in = input_context();
        EXPECT_EQ(in->index, 0);
        EXPECT_EQ(in->source, nullptr);
        return std::string(
            reinterpret_cast<const char*>(in->text.data ? in->text.data : reinterpret_cast<const uint8_t*>("")),
            string_length(&in->text));
    }
    // The text of a screen row (1-based), from the cells of the work page.
    std::string row_text(int row, int columns = 64) {
        std::string text;
        for (int c = 0; c < columns; ++c) {
            TextCell* cell = text_cell(g_gfx_screen, 0, c, row - 1);
            text.push_back(cell ? static_cast<char>(cell->character & 0xFF) : '?');
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text;
    }
    // The cursor mark is drawn only on the bottom pixel row of its cell.
    bool mark_at(int column, int row) {
        const uint8_t* page = g_gfx_screen->pages[0];
        int x = (column - 1) * 8, y = (row - 1) * 8 + 7;
        for (int i = 0; i < 8; ++i)
            if (page[y * 512 + x + i] != 15) return false;
        return text_cell(g_gfx_screen, 0, column - 1, row - 1)->character ==
               static_cast<int16_t>(static_cast<int8_t>(-1));
    }
    // The text typed ten keys at a time (the key queue holds fifteen), then
    // the keys of `after`.
    static std::vector<ScriptedUser::Step> typing(const std::string& text, std::vector<int32_t> after) {
        std::vector<ScriptedUser::Step> steps;
        for (size_t i = 0; i < text.size(); i += 10) {
            std::string chunk = text.substr(i, 10);
            steps.push_back([chunk] { post_text(chunk); });
        }
        steps.push_back([after] {
            for (int32_t k : after) key_post(k);
        });
        return steps;
    }
    static ScriptedUser::Step keys(std::initializer_list<int32_t> codes) {
        std::vector<int32_t> list(codes);
        return [list] {
            for (int32_t c : list) key_post(c);
        };
    }
};

TEST_F(LineEdit, TypedLineAndTheScreen) {
    EXPECT_EQ(ask({keys({'4', '4', '1', KEY_ENTER})}), "441");
    EXPECT_EQ(row_text(1), "Rate? 441");
    EXPECT_EQ(gfx_cursor_row(), 2);
    EXPECT_EQ(gfx_cursor_column(), 1);
}

TEST_F(LineEdit, EnterAloneGivesAnEmptyLine) { EXPECT_EQ(ask({keys({KEY_ENTER})}), ""); }

TEST_F(LineEdit, InsertInTheMiddleAndTheMark) {
    bool mark_under_one = false;
    std::string line = ask({keys({'1', '2', KEY_LEFT, KEY_LEFT, '3'}), [&] {
                                mark_under_one = mark_at(8, 1) && row_text(1).substr(6) ==
                                                                      "3\xff"
                                                                      "2";
                                key_post(KEY_ENTER);
                            }});
    EXPECT_EQ(line, "312");
    EXPECT_TRUE(mark_under_one) << row_text(1);
    EXPECT_EQ(row_text(1), "Rate? 312");
}

TEST_F(LineEdit, EditingKeys) {
    struct Case {
        std::vector<int32_t> keys;
        std::string line;
        int bells;
    };
    const Case cases[] = {
        {{KEY_BACKSPACE, '1'}, "1", 0},
        {{'1', '2', KEY_DELETE}, "12", 1},
        {{'1', '2', KEY_HOME, KEY_DELETE}, "2", 0},
        {{'1', '2', '3', KEY_ESCAPE}, "", 0},
        {{KEY_ESCAPE, '5'}, "5", 0},
        {{KEY_TAB, 'x'}, "        x", 0},
        {{'a', 'b', 'c', 'd', 'e', KEY_TAB, 'x'}, "abcde   x", 0},
        {{'a', 'b', KEY_UP, KEY_DOWN, 'c'}, "abc", 0},
        {{'a', KEY_INSERT, KEY_PAGE_UP, KEY_F1, KEY_CLOSE, 7, 10000 * 256 + 255, 'b'}, "ab", 0},
        {{'a', 'b', 'c', KEY_HOME, KEY_RIGHT, KEY_BACKSPACE, KEY_END, 'd'}, "bcd", 0},
        {{'x', KEY_LINE_FEED}, "x", 0},
    };
    for (const Case& c : cases) {
        open_screen();
        g_bells = 0;
        std::vector<int32_t> all = c.keys;
        all.push_back(KEY_ENTER);
        std::string line = ask({[all] {
            for (int32_t k : all) key_post(k);
        }});
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(g_bells, c.bells) << c.line;
        if (c.keys.size() == 4 && c.keys[3] == KEY_ESCAPE) {
            EXPECT_EQ(row_text(1), "Rate?");  // the three cells are blank again
        }
    }
}

// A row is 64 characters: Up moves back one when at least a row lies
// before the insertion point, Down forward one when at least a row lies
// after it, exactly one row included.
TEST_F(LineEdit, UpAndDownMoveByARow) {
    const std::string a63(63, 'a'), a64(64, 'a');
    struct Case {
        std::string typed;
        std::vector<int32_t> keys;
        std::string line;
    };
    const Case cases[] = {
        {std::string(70, 'a'), {KEY_UP, 'X', KEY_DOWN, 'Y'}, std::string(6, 'a') + "X" + a64 + "Y"},
        {a64, {KEY_UP, 'X'}, "X" + a64},
        {a63, {KEY_UP, 'X'}, a63 + "X"},
        {a64, {KEY_HOME, KEY_DOWN, 'X'}, a64 + "X"},
        {a63, {KEY_HOME, KEY_DOWN, 'X'}, "X" + a63},
    };
    for (const Case& c : cases) {
        open_screen();
        std::vector<int32_t> keys = c.keys;
        keys.push_back(KEY_ENTER);
        EXPECT_EQ(ask(typing(c.typed, keys)), c.line) << c.typed.size() << " typed";
    }
}

TEST_F(LineEdit, LongLinesWrapAndScroll) {
    // 70 characters after the prompt: past column 64 the line goes on in row 2.
    std::string line =
        ask(typing("1234567890123456789012345678901234567890123456789012345678901234567890", {KEY_ENTER}));
    EXPECT_EQ(line.size(), 70u);
    EXPECT_EQ(row_text(1), "Rate? " + line.substr(0, 58));
    EXPECT_EQ(row_text(2), line.substr(58));
    EXPECT_EQ(gfx_cursor_row(), 3);
}

TEST_F(LineEdit, TypingPastTheLastCellScrolls) {
    gfx_locate(64, 1, -1);
    std::string line = ask(typing("123456789012345678901234567890123456789012345678901234567890", {KEY_ENTER}));
    EXPECT_EQ(line.size(), 60u);
    // The row with the prompt went up by one when the line reached the last
    // cell; the line end then scrolled again.
    EXPECT_EQ(row_text(62), "Rate? " + line.substr(0, 58));
    EXPECT_EQ(row_text(63), line.substr(58));
    EXPECT_EQ(gfx_cursor_row(), 64);
}

TEST_F(LineEdit, PromptEndingInTheLastCell) {
    gfx_locate(64, 59, -1);  // "Rate? " ends exactly in column 64 of the last row
    std::string line = ask({keys({'7', '8', KEY_ENTER})});
    EXPECT_EQ(line, "78");
    // The first key replaced the prompt's last character; the rest went on
    // in a freshly scrolled last row.
    EXPECT_EQ(row_text(62).substr(58), "Rate?7");
    EXPECT_EQ(row_text(63), "8");
}

TEST_F(LineEdit, CloseKeyDuringTheInputChangesNothing) {
    EXPECT_EQ(ask({keys({'1', KEY_CLOSE, '2', KEY_ENTER})}), "12");
}

}  // namespace
