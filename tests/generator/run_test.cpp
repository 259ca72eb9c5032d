// The whole program in-process on the in-memory screen.
#include "generator/run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "gfx/builtin_data.h"
#include "gfx/gfx_text.h"
#include "runtime/console/key_codes.h"
#include "support/gfx/null_screen.h"
#include "support/png/page_png.h"
#include "support/reference_waves.h"
#include "support/scratch_dir.h"

namespace {

class InProcessRun : public NullScreenTest {
   protected:
    void SetUp() override {
        NullScreenTest::SetUp();
        old_dir_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_.path());
    }
    void TearDown() override {
        std::filesystem::current_path(old_dir_);
        NullScreenTest::TearDown();
    }
    ScratchDir dir_;
    std::filesystem::path old_dir_;
};

// The picture the run must leave: the prompt and the answer in white from
// the 8x8 font, then the six traces in their colours, later shapes winning.
std::vector<uint8_t> expected_page(const std::string& text, int16_t rate) {
    std::vector<uint8_t> page(512 * 512, 0);
    const FontDesc* font = gfx_builtin_font(0);
    for (size_t c = 0; c < text.size(); ++c) {
        const uint8_t* glyph = font->glyphs + 8 * static_cast<uint8_t>(text[c]);
        for (int r = 0; r < 8; ++r)
            for (int b = 0; b < 8; ++b)
                if (glyph[r] >> b & 1) page[r * 512 + c * 8 + b] = 15;
    }
    reference::Shapes shapes = reference::compute(rate, 512);
    const int colours[6] = {12, 9, 5, 2, 4, 7};
    for (int x = 0; x < 512; ++x)
        for (int shape = 0; shape < 6; ++shape) {
            int y = static_cast<int>(plot_row(shapes.of[shape][x]));
            if (y >= 0 && y < 512) page[y * 512 + x] = static_cast<uint8_t>(colours[shape]);
        }
    return page;
}

TEST_F(InProcessRun, PromptAnswerTracesAndFiles) {
    post_keys({'1', '2', '8', KEY_ENTER});
    // The final key: with the keys above typed, the console's input ends,
    // which ends the final wait the way a key does (the typed keys are
    // still taken first).
    console_mark_ended();
    generator_main();
    ASSERT_NE(g_gfx_screen, nullptr);
    EXPECT_EQ(gfx_cursor_row(), 2);
    EXPECT_EQ(gfx_cursor_column(), 1);
    std::vector<uint8_t> want = expected_page("Rate? 128", 128);
    const uint8_t* page = g_gfx_screen->visible_pixels;
    int wrong = 0;
    for (int i = 0; i < 512 * 512; ++i) wrong += page[i] != want[i];
    const std::string picture = dir_.path() + "/../wavetable-run-test.png";
    EXPECT_EQ(wrong, 0) << "pixels differ"
                        << (wrong && save_visible_page_png(picture.c_str()) ? "; the page was saved as " + picture
                                                                            : "");
    // Spot checks that say what the picture means.
    EXPECT_EQ(page[255 * 512 + 256], 7);  // step 256: sawtooth 0 at row 255, drawn over by the triangle (1)
    EXPECT_EQ(page[511 * 512 + 0], 4);    // step 0: four shapes at the bottom row; the moogsquare came last
    reference::Shapes ref = reference::compute(128);
    const char* names[7] = {"sawtooth.bin",   "squaresaw.bin", "sineish.bin", "moogsaw.bin",
                            "moogsquare.bin", "triangle.bin",  "square.bin"};
    for (int shape = 0; shape < 7; ++shape) EXPECT_EQ(read_samples(dir_.file(names[shape])), ref.of[shape]);
    EXPECT_EQ(read_file(dir_.file("trisquare.bin")).size(), 0u);
}

}  // namespace
