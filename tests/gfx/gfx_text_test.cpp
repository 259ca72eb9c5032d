#include "gfx/gfx_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "gfx/gfx_pages.h"
#include "gfx/screen.h"
#include "gfx/text_cells.h"
#include "runtime/channels.h"
#include "runtime/console/bell.h"
#include "runtime/console/console.h"
#include "runtime/console/print_area.h"
#include "support/png/page_png.h"
#include "support/runtime_fixture.h"

namespace {

constexpr int32_t COLUMNS = 64;
constexpr int32_t ROWS = 64;
constexpr uint32_t WHITE = 15;
constexpr uint32_t BLACK = 0;

// A 512 x 512 in-memory screen with four pages, as the program opens it.
class GfxText : public RuntimeTest {
   protected:
    void SetUp() override {
        ASSERT_EQ(gfx_screen_res(512, 512, 8, 4, SCREEN_NULL, 0), ERR_NONE);
        s = g_gfx_screen;
        ASSERT_NE(s, nullptr);
        font = gfx_builtin_font(0);
        ASSERT_NE(font, nullptr);
        // The mode set leaves every row dirty; tests look at what printing marks.
        std::memset(s->dirty_rows, 0, static_cast<size_t>(s->height));
    }
    void TearDown() override {
        if (HasFailure()) save_picture();
        gfx_screen_close();
    }

    // A failing test leaves the visible page in the test's temporary directory.
    void save_picture() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string path = ::testing::TempDir() + info->test_suite_name() + "." + info->name() + ".png";
        if (save_visible_page_png(path.c_str())) std::cerr << "visible page saved to " << path << "\n";
    }

    static void print(const std::string& text) {
        gfx_print_buffer(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int64_t>(text.size()), 0);
    }

    // Places the cursor at a 0-based cell.
    static void at(int32_t column, int32_t row) { gfx_locate(row + 1, column + 1, -1); }

    uint8_t pixel(int32_t x, int32_t y, int32_t page = 0) const { return s->pages[page][y * s->pitch + x]; }

    std::pair<int32_t, int32_t> cursor() const { return {s->text_x, s->text_y}; }
    bool pending() const { return (s->flags & SCREEN_FLAG_PENDING_NEWLINE) != 0; }

    // The cell's 8 x 8 pixels against the font's glyph drawn opaquely.
    ::testing::AssertionResult has_glyph(int32_t column, int32_t row, uint8_t c, uint32_t fg = WHITE,
                                         uint32_t bg = BLACK, int32_t page = 0) const {
        const uint8_t* glyph = font->glyphs + c * font->height;
        for (int32_t r = 0; r < 8; ++r)
            for (int32_t b = 0; b < 8; ++b) {
                uint32_t want = (glyph[r] >> b) & 1 ? fg : bg;
                uint32_t got = pixel(column * 8 + b, row * 8 + r, page);
                if (got != want)
                    return ::testing::AssertionFailure()
                           << "cell (" << column << ", " << row << ") glyph " << int(c) << ": pixel (" << b << ", " << r
                           << ") is " << got << ", want " << want;
            }
        return ::testing::AssertionSuccess();
    }

    // Every pixel of the text row holds the colour.
    ::testing::AssertionResult row_is(int32_t row, uint32_t colour) const {
        for (int32_t y = row * 8; y < row * 8 + 8; ++y)
            for (int32_t x = 0; x < s->width; ++x)
                if (pixel(x, y) != colour)
                    return ::testing::AssertionFailure()
                           << "text row " << row << ": pixel (" << x << ", " << y << ") is " << int(pixel(x, y));
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult row_shows(int32_t row, const std::string& text) const {
        for (int32_t i = 0; i < static_cast<int32_t>(text.size()); ++i) {
            auto r = has_glyph(i, row, static_cast<uint8_t>(text[static_cast<size_t>(i)]));
            if (!r) return r;
        }
        return ::testing::AssertionSuccess();
    }

    std::vector<uint8_t> page_copy(int32_t page = 0) const {
        return std::vector<uint8_t>(s->pages[page], s->pages[page] + s->pitch * s->height);
    }

    std::vector<int32_t> dirty_rows() const {
        std::vector<int32_t> rows;
        for (int32_t y = 0; y < s->height; ++y)
            if (s->dirty_rows[y]) rows.push_back(y);
        return rows;
    }

    static std::vector<int32_t> range(int32_t first, int32_t end) {
        std::vector<int32_t> v;
        for (int32_t i = first; i < end; ++i) v.push_back(i);
        return v;
    }

    // Fills the bottom text row with 64 characters, ending with the cursor
    // parked in the last cell.
    static std::string fill_bottom_row() {
        std::string full;
        for (int32_t i = 0; i < COLUMNS; ++i) full += static_cast<char>('0' + i % 43);
        at(0, ROWS - 1);
        print(full);
        return full;
    }

    GfxScreen* s = nullptr;
    const FontDesc* font = nullptr;
};

TEST_F(GfxText, ModeSetStartsWithABlankGridAndTheCursorTopLeft) {
    EXPECT_EQ(cursor(), std::make_pair(0, 0));
    EXPECT_FALSE(pending());
    int32_t columns = 0, rows = 0;
    gfx_text_size(&columns, &rows);
    EXPECT_EQ(columns, COLUMNS);
    EXPECT_EQ(rows, ROWS);
    const TextCell* cell = text_cell(s, 0, 63, 63);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->character, ' ');
    EXPECT_EQ(cell->foreground, WHITE);
    EXPECT_EQ(cell->background, BLACK);
    EXPECT_EQ(text_cell(s, 0, 64, 0), nullptr);
    EXPECT_EQ(text_cell(s, 4, 0, 0), nullptr);
    ASSERT_NE(text_cell(s, 3, 0, 0), nullptr);
    EXPECT_EQ(text_cell(s, 3, 0, 0)->character, 0);  // only the work page's grid is filled
}

TEST_F(GfxText, PromptIsDrawnWhiteOnBlackInTheFirstCells) {
    print("Rate? ");
    for (int32_t i = 0; i < 6; ++i) EXPECT_TRUE(has_glyph(i, 0, static_cast<uint8_t>("Rate? "[i])));
    int32_t ink = 0;  // the glyph comparison means something only if "R" has ink
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 8; ++x) ink += pixel(x, y) == WHITE;
    EXPECT_GT(ink, 10);
    for (int32_t x = 48; x < 512; ++x) ASSERT_EQ(pixel(x, 3), BLACK) << x;
    EXPECT_EQ(cursor(), std::make_pair(6, 0));
    EXPECT_EQ(gfx_cursor_column(), 7);
    EXPECT_EQ(gfx_cursor_row(), 1);
    EXPECT_EQ(text_cell(s, 0, 0, 0)->character, 'R');
    EXPECT_EQ(text_cell(s, 0, 4, 0)->character, '?');
    EXPECT_EQ(dirty_rows(), range(0, 8));
}

TEST_F(GfxText, PrintReachesTheScreenThroughTheConsoleHook) {
    console_print("Hi");
    EXPECT_TRUE(row_shows(0, "Hi"));
    EXPECT_EQ(cursor(), std::make_pair(2, 0));
}

TEST_F(GfxText, AFullRowMovesTheCursorToTheNextRow) {
    at(0, 10);
    print(std::string(COLUMNS, 'W'));
    EXPECT_EQ(cursor(), std::make_pair(0, 11));
    EXPECT_FALSE(pending());
    EXPECT_TRUE(has_glyph(63, 10, 'W'));
}

TEST_F(GfxText, AFullBottomRowParksTheCursorAndScrollsOnlyWhenMoreIsPrinted) {
    at(0, 62);
    print("above");
    const std::string full = fill_bottom_row();
    EXPECT_EQ(cursor(), std::make_pair(63, 63));
    EXPECT_TRUE(pending());
    EXPECT_TRUE(row_shows(62, "above"));
    EXPECT_TRUE(row_shows(63, full));

    print("next");
    EXPECT_FALSE(pending());
    EXPECT_TRUE(row_shows(61, "above"));
    EXPECT_TRUE(row_shows(62, full));
    EXPECT_TRUE(row_shows(63, "next"));
    EXPECT_EQ(cursor(), std::make_pair(4, 63));
    EXPECT_EQ(text_cell(s, 0, 0, 62)->character, full[0]);
    EXPECT_EQ(text_cell(s, 0, 4, 63)->character, ' ');
}

TEST_F(GfxText, LineBreakOnTheBottomRowScrollsAtOnceAndFreesBackgroundRows) {
    gfx_set_colour(0, 4, 2);  // a background that differs from the cleared page
    at(0, 63);
    print("last");
    print("\r\n");
    EXPECT_EQ(cursor(), std::make_pair(0, 63));
    EXPECT_FALSE(pending());
    EXPECT_TRUE(has_glyph(0, 62, 'l', WHITE, 4));
    EXPECT_TRUE(row_is(63, 4));
    EXPECT_TRUE(row_is(61, BLACK));
    const TextCell* freed = text_cell(s, 0, 10, 63);
    EXPECT_EQ(freed->character, ' ');
    EXPECT_EQ(freed->background, 4u);
    EXPECT_EQ(text_cell(s, 0, 0, 62)->character, 'l');
}

TEST_F(GfxText, LineBreakAfterAFullBottomRowScrollsTwice) {
    const std::string full = fill_bottom_row();
    print("\r\n");
    EXPECT_TRUE(row_shows(61, full));
    EXPECT_TRUE(row_is(62, BLACK));
    EXPECT_TRUE(row_is(63, BLACK));
    EXPECT_EQ(cursor(), std::make_pair(0, 63));
    EXPECT_FALSE(pending());
}

TEST_F(GfxText, ZeroLengthPrintResolvesAPendingLineBreakOnlyWithTheMaskBit) {
    const std::string full = fill_bottom_row();
    const auto before = page_copy();
    gfx_print_buffer(nullptr, 0, 0);
    EXPECT_EQ(page_copy(), before);
    EXPECT_TRUE(pending());
    EXPECT_EQ(cursor(), std::make_pair(63, 63));

    gfx_print_buffer(nullptr, 0, PRINT_RESOLVE_NEWLINE);
    EXPECT_FALSE(pending());
    EXPECT_EQ(cursor(), std::make_pair(0, 63));
    EXPECT_TRUE(row_shows(62, full));
    EXPECT_TRUE(row_is(63, BLACK));

    const auto settled = page_copy();
    gfx_print_buffer(nullptr, 0, PRINT_RESOLVE_NEWLINE);
    EXPECT_EQ(page_copy(), settled);
    EXPECT_EQ(cursor(), std::make_pair(0, 63));
}

TEST_F(GfxText, TabsAdvanceToTheNextMultipleOfEightAndPaintSpaces) {
    struct Case {
        int32_t from, to;
    };
    for (Case c : {Case{3, 8}, Case{8, 16}, Case{0, 8}, Case{63, 0}}) {
        at(c.from, 20);
        print("\t");
        EXPECT_EQ(cursor(), std::make_pair(c.to, c.to > c.from ? 20 : 21)) << "tab from column " << c.from;
    }
    at(0, 5);
    print("ABCDEFGHIJ\r\t");
    EXPECT_TRUE(row_shows(5, "        IJ"));
    EXPECT_EQ(text_cell(s, 0, 3, 5)->character, ' ');
}

TEST_F(GfxText, BackspaceMovesLeftWithoutErasingAndStopsAtTheLeftColumn) {
    at(0, 4);
    print("\b");
    EXPECT_EQ(cursor(), std::make_pair(0, 4));
    print("AB\b");
    EXPECT_EQ(cursor(), std::make_pair(1, 4));
    EXPECT_TRUE(row_shows(4, "AB"));
    EXPECT_EQ(text_cell(s, 0, 1, 4)->character, 'B');
    print("C");
    EXPECT_TRUE(row_shows(4, "AC"));
}

TEST_F(GfxText, CharacterFFAloneIsTheCursorMark) {
    print("A");
    at(0, 0);
    print("\xFF");
    const uint8_t* a = font->glyphs + 'A' * 8;
    for (int32_t r = 0; r < 7; ++r)
        for (int32_t b = 0; b < 8; ++b) EXPECT_EQ(pixel(b, r), (a[r] >> b) & 1 ? WHITE : BLACK) << b << "," << r;
    for (int32_t b = 0; b < 8; ++b) EXPECT_EQ(pixel(b, 7), WHITE) << b;
    EXPECT_EQ(pixel(8, 7), BLACK);
    EXPECT_EQ(cursor(), std::make_pair(1, 0));
    EXPECT_EQ(text_cell(s, 0, 0, 0)->character, -1);
}

TEST_F(GfxText, CharacterFFInALongerRunIsTheBlankGlyphDrawnOpaquely) {
    print("AAA");
    at(0, 0);
    print("\xFF\xFFZ");
    EXPECT_TRUE(has_glyph(0, 0, 255));
    EXPECT_TRUE(has_glyph(1, 0, 255));
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 16; ++x) ASSERT_EQ(pixel(x, y), BLACK) << x << "," << y;  // glyph 255 is blank
    EXPECT_TRUE(has_glyph(2, 0, 'Z'));
    EXPECT_EQ(text_cell(s, 0, 1, 0)->character, -1);
}

TEST_F(GfxText, CellsHoldTheCharacterSignExtendedAndTheColours) {
    gfx_set_colour(12, 3, 3);
    print(
        "\x80\xE9"
        "A");
    EXPECT_EQ(text_cell(s, 0, 0, 0)->character, static_cast<int16_t>(0xFF80));
    EXPECT_EQ(text_cell(s, 0, 1, 0)->character, static_cast<int16_t>(0xFFE9));
    EXPECT_EQ(text_cell(s, 0, 2, 0)->character, 'A');
    EXPECT_EQ(gfx_read_cell(1, 1, 0), 0x80);
    EXPECT_EQ(gfx_read_cell(1, 2, 0), 0xE9);
    EXPECT_EQ(gfx_read_cell(1, 3, 1), 12);
    EXPECT_EQ(gfx_read_cell(1, 3, 2), 3);
    EXPECT_TRUE(has_glyph(1, 0, 0xE9, 12, 3));
    for (auto [row, column] : {std::pair{0, 1}, {1, 0}, {65, 1}, {1, 65}}) EXPECT_EQ(gfx_read_cell(row, column, 0), -1);
}

TEST_F(GfxText, DirtyRowsAreMarkedOnlyWhenTheWorkPageIsVisible) {
    at(0, 5);
    print("x");
    EXPECT_EQ(dirty_rows(), range(40, 48));

    std::memset(s->dirty_rows, 0, static_cast<size_t>(s->height));
    const auto visible = page_copy(0);
    ASSERT_EQ(gfx_set_pages(1, -1), 0);
    at(0, 5);
    print("y");
    EXPECT_TRUE(dirty_rows().empty());
    EXPECT_EQ(page_copy(0), visible);
    EXPECT_TRUE(has_glyph(0, 5, 'y', WHITE, BLACK, 1));
    EXPECT_EQ(text_cell(s, 1, 0, 5)->character, 'y');
    EXPECT_EQ(text_cell(s, 0, 0, 5)->character, 'x');
}

TEST_F(GfxText, ScrollingMarksTheWholeTextWindowDirty) {
    at(0, 63);
    print("\n");
    EXPECT_EQ(dirty_rows(), range(0, 512));
}

TEST_F(GfxText, LocateAnswersTheNewPositionAndCancelsAPendingLineBreak) {
    struct Case {
        int32_t row, column, result, x, y;
    };
    // clang-format off
    const Case cases[] = {
        {3, 5, 3 * 256 + 5, 4, 2},
        {0, 7, 3 * 256 + 7, 6, 2},      // row kept
        {9, 0, 9 * 256 + 7, 6, 8},      // column kept
        {0, 0, 9 * 256 + 7, 6, 8},      // both kept
        {1, 256, 512, 255, 0},          // each part is taken to 8 bits before the 257 is added
        {300, 2, 43 * 256 + 1 + 257, 1, 299},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(gfx_locate(c.row, c.column, 1), c.result) << c.row << "," << c.column;
        EXPECT_EQ(cursor(), std::make_pair(c.x, c.y)) << c.row << "," << c.column;
        EXPECT_EQ(channel_record(0)->column, c.x);
    }
    fill_bottom_row();
    ASSERT_TRUE(pending());
    gfx_locate(0, 0, 0);
    EXPECT_FALSE(pending());
    EXPECT_EQ(cursor(), std::make_pair(63, 63));
    const auto before = page_copy();
    print("z");  // no line break is carried out any more: the z lands in the same last cell
    EXPECT_TRUE(has_glyph(63, 63, 'z'));
    for (int32_t y = 0; y < 504; ++y)
        ASSERT_EQ(std::memcmp(s->pages[0] + y * 512, before.data() + y * 512, 512), 0) << "nothing scrolled, row " << y;
    EXPECT_TRUE(pending());
}

TEST_F(GfxText, ACursorOutsideTheGridStillPrintsInsideThePage) {
    gfx_locate(300, 200, 0);
    print("Q");
    EXPECT_TRUE(has_glyph(63, 63, 'Q'));
    EXPECT_TRUE(pending());
    EXPECT_TRUE(row_is(0, BLACK));
}

TEST_F(GfxText, ASmallerPrintAreaScrollsOnlyItsRows) {
    at(0, 8);
    print("outside above");
    at(0, 21);
    print("outside below");
    view_print(10, 21);  // 0-based rows 9 .. 20
    at(0, 19);
    print("first\r\nsecond");
    EXPECT_EQ(cursor(), std::make_pair(6, 20));
    EXPECT_TRUE(row_shows(19, "first"));
    EXPECT_TRUE(row_shows(20, "second"));
    print("\n");
    EXPECT_TRUE(row_shows(18, "first"));
    EXPECT_TRUE(row_shows(19, "second"));
    EXPECT_TRUE(row_is(20, BLACK));
    EXPECT_TRUE(row_shows(8, "outside above"));
    EXPECT_TRUE(row_shows(21, "outside below"));
    EXPECT_EQ(text_cell(s, 0, 0, 21)->character, 'o');

    at(0, 20);
    print(std::string(COLUMNS, '-'));
    EXPECT_EQ(cursor(), std::make_pair(63, 20));
    EXPECT_TRUE(pending());
    print("+");
    EXPECT_TRUE(row_shows(20, "+"));
    EXPECT_TRUE(row_shows(21, "outside below"));
}

TEST_F(GfxText, LongPrintWrapsAndScrollsThroughTheWholeScreen) {
    std::string text;
    for (int32_t i = 0; i < 10000; ++i) text += static_cast<char>('A' + i % 26);
    print(text);
    // 10 000 = 156 full rows + 16: the last 64 rows hold rows 93 .. 156 of the text.
    EXPECT_EQ(cursor(), std::make_pair(16, 63));
    for (int32_t column = 0; column < COLUMNS; ++column) {
        ASSERT_EQ(text_cell(s, 0, column, 62)->character, text[static_cast<size_t>(155 * 64 + column)]);
        ASSERT_EQ(text_cell(s, 0, column, 0)->character, text[static_cast<size_t>(93 * 64 + column)]);
    }
    EXPECT_TRUE(row_shows(63, text.substr(156 * 64)));
    EXPECT_TRUE(has_glyph(16, 63, ' '));
}

TEST_F(GfxText, ClearBlanksTheScreenOrThePrintArea) {
    print("top line");
    at(0, 30);
    print("middle");
    gfx_set_colour(0, 2, 2);
    view_print(20, 40);
    gfx_clear(2);
    EXPECT_EQ(cursor(), std::make_pair(0, 19));
    EXPECT_TRUE(row_shows(0, "top line"));
    for (int32_t row = 19; row < 40; ++row) ASSERT_TRUE(row_is(row, 2)) << row;
    EXPECT_TRUE(row_is(40, BLACK));
    EXPECT_EQ(text_cell(s, 0, 0, 29)->background, 2u);

    fill_bottom_row();  // below the print area: it scrolls into the area's bottom row
    ASSERT_TRUE(pending());
    gfx_clear(0);
    EXPECT_FALSE(pending());
    EXPECT_EQ(cursor(), std::make_pair(0, 19));
    for (int32_t row = 0; row < ROWS; ++row) ASSERT_TRUE(row_is(row, 2)) << row;
    EXPECT_EQ(text_cell(s, 0, 0, 0)->character, ' ');
    EXPECT_EQ(text_cell(s, 0, 63, 63)->background, 2u);
    EXPECT_EQ(dirty_rows(), range(0, 512));
}

TEST_F(GfxText, ColoursTextSizeAndWidePrinting) {
    gfx_set_colour(9, 99, 1);
    DrawContext* ctx = gfx_get_context();
    EXPECT_EQ(ctx->foreground, 9u);
    EXPECT_EQ(ctx->background, BLACK);
    gfx_set_colour(99, 1, 2);
    EXPECT_EQ(ctx->foreground, 9u);
    EXPECT_EQ(ctx->background, 1u);
    gfx_set_colour(WHITE, BLACK, 3);

    EXPECT_EQ(gfx_set_text_size(64, 64), 0);
    EXPECT_EQ(gfx_set_text_size(80, 25), -1);
    EXPECT_EQ(gfx_set_text_size(64, 0), -1);

    const uint16_t wide[] = {'A', 0x263A, 0xFF, 'B'};
    gfx_print_wide_buffer(wide, 4, 0);
    EXPECT_TRUE(row_shows(0,
                          "A?\xFF"
                          "B"));
    int32_t column = 0, row = 0;
    gfx_cursor_position(&column, &row);
    EXPECT_EQ(column, 5);
    EXPECT_EQ(row, 1);
}

// Any mix of bytes, cursor placements and print areas (even ones beyond
// the grid) draws on the work page only.
TEST_F(GfxText, RandomPrintsStayOnTheWorkPage) {
    bell_set_handler([] {});  // the bytes include bells
    std::mt19937 random(20240607);
    auto pick = [&](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(random); };
    for (int32_t round = 0; round < 300; ++round) {
        if (pick(0, 3) == 0) gfx_locate(pick(-2, 300), pick(-2, 300), 0);
        if (pick(0, 7) == 0) print_area() = PrintArea{pick(-1, 80), pick(-1, 80)};
        std::string text(static_cast<size_t>(pick(0, 200)), ' ');
        for (char& c : text) c = static_cast<char>(pick(0, 3) == 0 ? pick(7, 13) : pick(0, 255));
        gfx_print_buffer(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int64_t>(text.size()),
                         pick(0, 1) * PRINT_RESOLVE_NEWLINE);
    }
    const std::vector<uint8_t> blank(static_cast<size_t>(512 * 512), 0);
    for (int32_t page = 1; page < 4; ++page) EXPECT_EQ(page_copy(page), blank) << "page " << page;
    EXPECT_GE(s->text_x, 0);
    EXPECT_GE(s->text_y, 0);
    bell_set_handler(nullptr);
}

TEST(GfxTextWithoutScreen, EveryOperationIsHarmless) {
    runtime_init();
    gfx_screen_close();
    ASSERT_EQ(g_gfx_screen, nullptr);
    gfx_print_buffer(reinterpret_cast<const uint8_t*>("x"), 1, PRINT_RESOLVE_NEWLINE);
    gfx_clear(0);
    gfx_set_colour(1, 2, 3);
    EXPECT_EQ(gfx_locate(2, 2, 0), 0);
    EXPECT_EQ(gfx_read_cell(1, 1, 0), -1);
    EXPECT_EQ(gfx_set_text_size(64, 64), -1);
    int32_t columns = -1, rows = -1;
    gfx_text_size(&columns, &rows);
    EXPECT_EQ(columns, 0);
    EXPECT_EQ(rows, 0);
}

}  // namespace
