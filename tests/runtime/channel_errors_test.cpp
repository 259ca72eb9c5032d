// Every channel operation's result is also the last error: a failing one
// leaves its code there, not the code of whatever succeeded before it.
#include <gtest/gtest.h>

#include "runtime/channels.h"
#include "runtime/error.h"
#include "runtime/file_put.h"
#include "runtime/strings.h"
#include "support/runtime_fixture.h"
#include "support/scratch_dir.h"

namespace {

class ChannelErrors : public RuntimeTest {
   protected:
    void TearDown() override { file_close_all(); }

    ErrorCode open(const std::string& name, int32_t channel) {
        path_ = dir_.file(name);
        return file_open(temp_string_from_literal(path_.data(), path_.size()), MODE_BINARY, ACCESS_DEFAULT, 0, channel,
                         2);
    }

    ScratchDir dir_;
    std::string path_;
};

// Position 0 would be the byte before the first: the stream refuses the
// seek, and so does every write or read that asks for it.
TEST_F(ChannelErrors, AFailedSeekIsTheLastError) {
    ASSERT_EQ(open("seek.bin", 3), ERR_NONE);
    ChannelRecord* rec = channel_record(3);
    set_last_error(ERR_NONE);
    EXPECT_EQ(file_seek_to(rec, 0), ERR_IO);
    EXPECT_EQ(get_last_error(), ERR_IO);
    EXPECT_EQ(file_seek_to(rec, 1), ERR_NONE);
    EXPECT_EQ(get_last_error(), ERR_NONE);
    set_last_error(ERR_NONE);
    EXPECT_EQ(file_seek_to(nullptr, 1), ERR_INVALID_CALL);
    EXPECT_EQ(get_last_error(), ERR_INVALID_CALL);
}

}  // namespace
