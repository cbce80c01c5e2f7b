#include "platform/core/stream.h"

#include <gtest/gtest.h>

#include "platform/core/errors.h"

TEST(MemoryStream, ReadBufferFailsShort) {
    core::MemoryStream s(std::string("abc"));
    char buf[4];
    EXPECT_THROW(s.ReadBuffer(buf, 4), core::EReadError);
}

TEST(CopyStreamWhole, CopiesEverythingAndRewindsBoth) {
    core::MemoryStream src(std::string("0123456789"));
    src.SetPosition(4);
    core::MemoryStream dst(std::string("zzzzzzzzzzzzzzz"));
    dst.SetPosition(3);
    core::CopyStreamWhole(src, dst);
    EXPECT_EQ(dst.Bytes(), "0123456789zzzzz");
    EXPECT_EQ(src.Position(), 0);
    EXPECT_EQ(dst.Position(), 0);
}

TEST(CopyStreamWhole, EmptySourceLeavesDestinationAlone) {
    core::MemoryStream src;
    core::MemoryStream dst(std::string("keep"));
    dst.SetPosition(2);
    core::CopyStreamWhole(src, dst);
    EXPECT_EQ(dst.Bytes(), "keep");
    EXPECT_EQ(dst.Position(), 2);
}
