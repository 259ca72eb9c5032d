// The two writers against the readers written here: every chunk, field and
// pad byte for every frame size, and samples equal to the table.
#include <gtest/gtest.h>

#include "command_run.h"
#include "export/surge_wt.h"
#include "export/wav.h"
#include "file_readers.h"

namespace {

constexpr int32_t FRAME_SIZES[] = {256, 512, 1024, 2048, 4096};

TEST(WavFile, ChunksSizesAndPaddingForEveryFrameSize) {
    for (int32_t frame : FRAME_SIZES) {
        SCOPED_TRACE(frame);
        const std::vector<int16_t> table = probe_table(3 * static_cast<size_t>(frame));
        const std::vector<unsigned char> file = wav_file(table, frame);
        EXPECT_EQ(wav_fault(file, table, frame), "");
        const WavContents wav = read_wav(file);
        // The text alone is counted; an odd one (four digits) takes a pad byte
        // after it, which the walk above found zero and skipped.
        const std::string text = "<!>" + std::to_string(frame) + " 10000000 wavetable (wavetable-export)";
        EXPECT_EQ(wav.clm, text);
        const size_t padded_text = text.size() + text.size() % 2;
        EXPECT_EQ(file.size(), 12 + (8 + 18) + (8 + 4) + (8 + padded_text) + (8 + 8) + (8 + 4 * table.size()));
        ASSERT_EQ(wav.chunks.size(), 5u);
        EXPECT_EQ(wav.chunks[4].body % 2, 0u) << "the data starts at an even offset";
    }
}

TEST(WavFile, EverySixteenBitValueIsExactInFloat) {
    std::vector<int16_t> table(65536);
    for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<int16_t>(static_cast<uint16_t>(i));
    EXPECT_EQ(wav_fault(wav_file(table, 2048), table, 2048), "");
}

TEST(SurgeWtFile, HeaderAndSamplesForEveryFrameSize) {
    for (int32_t frame : FRAME_SIZES) {
        SCOPED_TRACE(frame);
        const std::vector<int16_t> table = probe_table(65536);
        const std::vector<unsigned char> file = surge_wt_file(table, frame);
        EXPECT_EQ(wt_fault(file, table, frame), "");
        EXPECT_EQ(read_wt(file).wave_count, 65536 / frame);
    }
}

TEST(SurgeWtFile, LargestTable) {
    const std::vector<int16_t> table = probe_table(512 * 4096);
    EXPECT_EQ(wt_fault(surge_wt_file(table, 4096), table, 4096), "");
}

}  // namespace
