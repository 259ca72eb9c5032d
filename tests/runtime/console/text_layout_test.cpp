#include "runtime/console/text_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/console/bell.h"

namespace {

// Everything the layout asked of its window, in order, as readable lines:
// "draw x,y text", "scroll l,t,r,b by n", "bell".
struct Recorder {
    std::vector<std::string> calls;
    int32_t draws_before_refusal = -1;  // draw answers 0 once this many were accepted
};

Recorder* g_recorder = nullptr;

void record_bell() { g_recorder->calls.push_back("bell"); }

int32_t record_draw(TextLayout* l, const uint8_t* chars, int32_t count) {
    auto* r = static_cast<Recorder*>(l->owner);
    if (r->draws_before_refusal == 0) return 0;
    if (r->draws_before_refusal > 0) --r->draws_before_refusal;
    r->calls.push_back("draw " + std::to_string(l->x) + "," + std::to_string(l->y) + " " +
                       std::string(reinterpret_cast<const char*>(chars), static_cast<size_t>(count)));
    return 1;
}

void record_scroll(TextLayout* l, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t count) {
    auto* r = static_cast<Recorder*>(l->owner);
    r->calls.push_back("scroll " + std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(right) +
                       "," + std::to_string(bottom) + " by " + std::to_string(count));
    l->y = bottom;
}

class TextLayoutTest : public ::testing::Test {
   protected:
    void SetUp() override {
        g_recorder = &rec;
        bell_set_handler(record_bell);
    }
    void TearDown() override {
        bell_set_handler(nullptr);
        g_recorder = nullptr;
    }

    // A window of columns 0..9 and rows 0..4 unless a test narrows it.
    TextLayout window(int32_t x, int32_t y, int32_t left = 0, int32_t top = 0, int32_t right = 9, int32_t bottom = 4) {
        return TextLayout{&rec, record_scroll, record_draw, left, top, right, bottom, x, y};
    }

    void print(TextLayout& l, const std::string& text, bool line_feed_returns = true) {
        text_layout_print(&l, reinterpret_cast<const uint8_t*>(text.data()), static_cast<int64_t>(text.size()),
                          line_feed_returns);
    }

    using Calls = std::vector<std::string>;
    Recorder rec;
};

TEST_F(TextLayoutTest, TextWrapsAtTheRightEdgeBackToTheLeftColumn) {
    TextLayout l = window(5, 1, 2, 0, 9, 4);
    print(l, "abcdefghijklmn");
    EXPECT_EQ(rec.calls, (Calls{"draw 5,1 abcde", "draw 2,2 fghijklm", "draw 2,3 n"}));
    EXPECT_EQ(l.x, 3);
    EXPECT_EQ(l.y, 3);
}

TEST_F(TextLayoutTest, TextEndingInTheLastCellLeavesTheCursorBelowTheWindowWithoutScrolling) {
    TextLayout l = window(5, 4);
    print(l, "vwxyz");
    EXPECT_EQ(rec.calls, (Calls{"draw 5,4 vwxyz"}));
    EXPECT_EQ(l.x, 0);
    EXPECT_EQ(l.y, 5);
}

TEST_F(TextLayoutTest, TextBelowTheWindowScrollsBeforeItIsDrawn) {
    TextLayout l = window(7, 4, 0, 1, 9, 4);
    print(l, "abcdef");
    EXPECT_EQ(rec.calls, (Calls{"draw 7,4 abc", "scroll 0,1,9,4 by 1", "draw 0,4 def"}));
    EXPECT_EQ(l.x, 3);
    EXPECT_EQ(l.y, 4);
}

TEST_F(TextLayoutTest, LineBreaksOnTheBottomRowScrollOnceAtTheEnd) {
    TextLayout l = window(3, 4);
    print(l, "ab\r\n\n");
    EXPECT_EQ(rec.calls, (Calls{"draw 3,4 ab", "scroll 0,0,9,4 by 2"}));
    EXPECT_EQ(l.x, 0);
    EXPECT_EQ(l.y, 4);
}

TEST_F(TextLayoutTest, NothingScrollsWhenTheBottomIsUnset) {
    TextLayout l = window(0, 4, 0, 0, 9, -1);
    print(l, "\n\n0123456789ab");
    EXPECT_EQ(rec.calls, (Calls{"draw 0,6 0123456789", "draw 0,7 ab"}));
    EXPECT_EQ(l.y, 7);
}

TEST_F(TextLayoutTest, LineFeedKeepsTheColumnUnlessItReturns) {
    TextLayout keep = window(4, 0);
    print(keep, "a\nb", false);
    EXPECT_EQ(rec.calls, (Calls{"draw 4,0 a", "draw 5,1 b"}));
    rec.calls.clear();
    TextLayout ret = window(4, 0, 2);
    print(ret, "a\nb", true);
    EXPECT_EQ(rec.calls, (Calls{"draw 4,0 a", "draw 2,1 b"}));
}

TEST_F(TextLayoutTest, CarriageReturnAndBackspaceMoveWithoutErasing) {
    TextLayout l = window(0, 2, 1);
    print(l, "abc\b\bX\rY\b\bZ");
    EXPECT_EQ(rec.calls, (Calls{"draw 1,2 abc", "draw 2,2 X", "draw 1,2 Y", "draw 1,2 Z"}));
    EXPECT_EQ(l.x, 2);
    EXPECT_EQ(l.y, 2);
}

TEST_F(TextLayoutTest, TabsPadWithSpacesToTheNextMultipleOfEightFromTheLeftColumn) {
    struct Case {
        int32_t left, x, spaces, end;
    };
    const Case cases[] = {{0, 3, 5, 8}, {0, 8, 8, 16}, {0, 0, 8, 8}, {0, 15, 1, 16}, {3, 5, 6, 11}, {3, 3, 8, 11}};
    for (const Case& c : cases) {
        rec.calls.clear();
        TextLayout l = window(c.x, 0, c.left, 0, 39, 4);
        print(l, "\t");
        EXPECT_EQ(rec.calls, Calls{"draw " + std::to_string(c.x) + ",0 " + std::string(c.spaces, ' ')})
            << "left " << c.left << " x " << c.x;
        EXPECT_EQ(l.x, c.end) << "left " << c.left << " x " << c.x;
    }
}

TEST_F(TextLayoutTest, TabSpacesJoinTheRunAndWrapLikeText) {
    TextLayout l = window(8, 0);  // ten columns: the tab's eight spaces fill 8, 9 and wrap to row 1
    print(l, "a\tq");
    EXPECT_EQ(rec.calls, (Calls{"draw 8,0 a ", "draw 0,1 " + std::string(6, ' ') + "q"}));
    EXPECT_EQ(l.x, 7);
}

TEST_F(TextLayoutTest, BellRingsAtOnceAndDrawsNothing) {
    TextLayout l = window(0, 0);
    print(l,
          "ab\x07"
          "c");
    EXPECT_EQ(rec.calls, (Calls{"bell", "draw 0,0 abc"}));
    EXPECT_EQ(l.x, 3);
}

TEST_F(TextLayoutTest, OtherControlCodesAreDrawnAsGlyphs) {
    TextLayout l = window(0, 0);
    const uint8_t chars[] = {0, 11, 12, 27, 255};
    text_layout_print(&l, chars, 5, true);
    ASSERT_EQ(rec.calls.size(), 1u);
    EXPECT_EQ(rec.calls[0], std::string("draw 0,0 ") + std::string(reinterpret_cast<const char*>(chars), 5));
    EXPECT_EQ(l.x, 5);
}

TEST_F(TextLayoutTest, LongRunsAreDrawnInPiecesOfAtMost1024Bytes) {
    TextLayout l = window(0, 0, 0, 0, 4999, 4);
    std::string text(3000, 'k');
    print(l, text);
    EXPECT_EQ(rec.calls, (Calls{"draw 0,0 " + std::string(1024, 'k'), "draw 1024,0 " + std::string(1024, 'k'),
                                "draw 2048,0 " + std::string(952, 'k')}));
    EXPECT_EQ(l.x, 3000);
}

TEST_F(TextLayoutTest, ARefusedDrawStopsTheRun) {
    rec.draws_before_refusal = 1;
    TextLayout l = window(0, 0);
    print(l, "0123456789abc");
    EXPECT_EQ(rec.calls, (Calls{"draw 0,0 0123456789"}));
    EXPECT_EQ(l.x, 0);
    EXPECT_EQ(l.y, 1);
}

TEST_F(TextLayoutTest, NothingHappensWithoutCharactersOrColumns) {
    TextLayout l = window(2, 4);
    print(l, "");
    TextLayout narrow = window(2, 5, 5, 0, 4, 4);
    print(narrow, "\nabc");
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_EQ(narrow.y, 5);
}

TEST_F(TextLayoutTest, ACursorBeyondTheRightEdgeStartsOnTheLastColumn) {
    TextLayout l = window(40, 1);
    print(l, "ab");
    EXPECT_EQ(rec.calls, (Calls{"draw 9,1 a", "draw 0,2 b"}));
}

TEST_F(TextLayoutTest, FlushDrawsRowSegmentsAndScrollsBeforeDrawingBelowTheWindow) {
    TextLayout l = window(8, 5);
    const std::string run = "abcdefghijklm";
    text_layout_flush(&l, reinterpret_cast<const uint8_t*>(run.data()), static_cast<int32_t>(run.size()));
    EXPECT_EQ(rec.calls, (Calls{"scroll 0,0,9,4 by 1", "draw 8,4 ab", "scroll 0,0,9,4 by 1", "draw 0,4 cdefghijkl",
                                "scroll 0,0,9,4 by 1", "draw 0,4 m"}));
    EXPECT_EQ(l.x, 1);
    EXPECT_EQ(l.y, 4);
}

}  // namespace
