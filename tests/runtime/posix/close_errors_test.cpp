// A close-all whose close could not write a buffer out lost data: its
// result and the last error say so, and every other channel is closed and
// written all the same. (A file that is always full, /dev/full, is
// POSIX's.)
#include <unistd.h>

#include <gtest/gtest.h>

#include "runtime/channels.h"
#include "runtime/error.h"
#include "runtime/file_put.h"
#include "runtime/strings.h"
#include "support/runtime_fixture.h"
#include "support/scratch_dir.h"

namespace {

class CloseErrors : public RuntimeTest {
   protected:
    ErrorCode open(const std::string& path, int32_t channel) {
        names_.push_back(path);
        return file_open(temp_string_from_literal(names_.back().data(), names_.back().size()), MODE_BINARY,
                         ACCESS_DEFAULT, 0, channel, 2);
    }

    ScratchDir dir_;
    std::vector<std::string> names_;
};

TEST_F(CloseErrors, ACloseThatLosesDataFailsTheCloseAll) {
    ASSERT_EQ(symlink("/dev/full", dir_.file("full").c_str()), 0);
    ASSERT_EQ(open(dir_.file("before.bin"), 2), ERR_NONE);
    ASSERT_EQ(open(dir_.file("full"), 4), ERR_NONE);
    ASSERT_EQ(open(dir_.file("after.bin"), 9), ERR_NONE);
    for (int32_t channel : {2, 4, 9}) ASSERT_EQ(file_put(channel, 0, "ab", 2), ERR_NONE);  // all buffered
    EXPECT_EQ(file_close_all(), ERR_IO);
    EXPECT_EQ(get_last_error(), ERR_IO);
    EXPECT_EQ(read_file(dir_.file("before.bin")), (std::vector<unsigned char>{'a', 'b'}));
    EXPECT_EQ(read_file(dir_.file("after.bin")), (std::vector<unsigned char>{'a', 'b'}));
    EXPECT_EQ(channel_record(4)->driver, nullptr);  // closed all the same
    ASSERT_EQ(open(dir_.file("good.bin"), 4), ERR_NONE);
    EXPECT_EQ(file_close_all(), ERR_NONE);
    EXPECT_EQ(get_last_error(), ERR_NONE);
}

}  // namespace
