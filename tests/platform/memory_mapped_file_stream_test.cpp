#include "platform/core/memory_mapped_file_stream.h"

#include <gtest/gtest.h>

#include "platform/core/errors.h"
#include "tests/support/shm_area.h"

using core::TMemoryMappedFileStream;
using testing_support::ShmArea;

namespace {
constexpr int64_t kSize = 1000000;

std::string OpenErrorOf(const std::string& name, int64_t size, int mode) {
    try {
        TMemoryMappedFileStream s(name, size, mode);
    } catch (const core::EFOpenError& e) {
        return e.what();
    }
    return "no error";
}
}  // namespace

TEST(MemoryMappedFileStream, OpensExistingAreaWithSizeCapacityAndPosition) {
    ShmArea area(kSize, "hello");
    TMemoryMappedFileStream s(area.Name(), kSize, 2);
    EXPECT_EQ(s.Size(), kSize);
    EXPECT_EQ(s.Capacity(), kSize);
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(s.MapAccess(), 0xF001Fu);
    std::string all(kSize, 'x');
    EXPECT_EQ(s.Read(all.data(), kSize), kSize);
    EXPECT_EQ(all.substr(0, 6), std::string("hello\0", 6));
}

TEST(MemoryMappedFileStream, NameWithLeadingSlashIsTheSameObject) {
    ShmArea area(kSize, "abc");
    TMemoryMappedFileStream s("/" + area.Name(), kSize, 2);
    char buf[3];
    EXPECT_EQ(s.Read(buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "abc");
}

TEST(MemoryMappedFileStream, OpenFailuresCarryTheMessageAndCode) {
    ShmArea small(1000);
    ShmArea area(kSize);
    EXPECT_EQ(OpenErrorOf("vorlux_no_such_area", kSize, 2),
              "Error opening file mapping object vorlux_no_such_area\r\nCode 2");
    // Too small for the requested size: refused before anything is mapped.
    EXPECT_EQ(OpenErrorOf(small.Name(), kSize, 2), "Error mapping file " + small.Name() + "\r\nCode 22");
    // Read mode cannot map the writable view.
    EXPECT_EQ(OpenErrorOf(area.Name(), kSize, 0), "Error mapping file " + area.Name() + "\r\nCode 13");
    EXPECT_EQ(OpenErrorOf(area.Name(), kSize, 1), "no error");
}

TEST(MemoryMappedFileStream, CreateModeIsRefused) {
    ShmArea area(kSize);
    EXPECT_THROW(
        {
            try {
                TMemoryMappedFileStream s(area.Name(), kSize, 65535);
            } catch (const core::EFCreateError& e) {
                EXPECT_STREQ(e.what(), "Use \"Create\" constructor with fmCreate mode");
                throw;
            }
        },
        core::EFCreateError);
}

TEST(MemoryMappedFileStream, ReadsStopAtTheEnd) {
    ShmArea area(kSize);
    TMemoryMappedFileStream s(area.Name(), kSize, 2);
    char buf[10];
    s.SetPosition(kSize);
    EXPECT_EQ(s.Read(buf, 10), 0);
    s.SetPosition(kSize - 5);
    EXPECT_EQ(s.Read(buf, 10), 5);
    EXPECT_EQ(s.Seek(0, 2), kSize);
    EXPECT_EQ(s.Seek(-1, 0), -1);
    EXPECT_EQ(s.Read(buf, 1), 0);
    EXPECT_EQ(s.Seek(5, 7), -1);  // unknown origin leaves the position
}

TEST(MemoryMappedFileStream, WritesLandInTheSharedObject) {
    ShmArea area(kSize);
    {
        TMemoryMappedFileStream s(area.Name(), kSize, 2);
        s.SetPosition(kSize - 1);
        EXPECT_EQ(s.Write("Z", 1), 1);
        s.SetPosition(0);
        s.WriteString("text");
        s.Close();
    }
    std::string bytes = area.Bytes();
    EXPECT_EQ(bytes.substr(0, 4), "text");
    EXPECT_EQ(bytes.back(), 'Z');
}

TEST(MemoryMappedFileStream, GrowingBeyondCapacityFailsAndReleasesTheView) {
    ShmArea area(kSize);
    TMemoryMappedFileStream s(area.Name(), kSize, 2);
    s.SetPosition(kSize - 1);
    try {
        s.Write("ab", 2);
        FAIL() << "write beyond the capacity succeeded";
    } catch (const core::EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot change size of an open mapping object " + area.Name());
    }
    char c;
    s.SetPosition(0);
    EXPECT_EQ(s.Read(&c, 1), 0);  // released view is never touched again
    EXPECT_NO_THROW(s.Close());
}

TEST(MemoryMappedFileStream, SetSize) {
    ShmArea area(kSize);
    TMemoryMappedFileStream s(area.Name(), kSize, 2);
    EXPECT_THROW(s.SetSize(500), core::EFOpenError);
    TMemoryMappedFileStream t(area.Name(), kSize, 2);
    t.SetSize(0);
    EXPECT_EQ(t.Size(), 0);
    EXPECT_EQ(t.Capacity(), 0);
}
