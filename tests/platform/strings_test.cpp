#include "platform/core/strings.h"

#include <gtest/gtest.h>

#include "platform/core/cp1252.h"
#include "platform/core/paths.h"

TEST(StrToInt, AcceptsDecimalAndHexWithinRange) {
    struct Case {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"0", 0},
        {"42", 42},
        {"  -7", -7},
        {"+3", 3},
        {"$1F", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"", std::nullopt},
        {" ", std::nullopt},
        {"1 ", std::nullopt},
        {"1.5", std::nullopt},
        {"abc", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"$100000000", std::nullopt},
        {"01", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(core::TryStrToInt(c.text), c.value) << c.text;
}

TEST(Format, FillsPlaceholders) {
    EXPECT_EQ(core::Format("Error %s\r\nCode %d", "x", 2), "Error x\r\nCode 2");
    EXPECT_EQ(core::Format("plain"), "plain");
}

TEST(Cp1252, EveryByteRoundTrips) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(core::UnicodeToCp1252(core::Cp1252ToUnicode(static_cast<unsigned char>(b))), b) << b;
    EXPECT_EQ(core::Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(core::Cp1252ToUnicode(0x81), U'\u0081');
    EXPECT_EQ(core::UnicodeToCp1252(U'\u4E00'), -1);
}

TEST(WithTrailingBackslash, PathRule) {
    const char sep = core::kPathDelim;
    auto s = [&](const char* p) { return std::string(p); };
    EXPECT_EQ(core::WithTrailingBackslash(""), "");
    EXPECT_EQ(core::WithTrailingBackslash("C:"), "C:");
    EXPECT_EQ(core::WithTrailingBackslash(s("dir") + sep), s("dir") + sep);
    EXPECT_EQ(core::WithTrailingBackslash("c"), s("c:") + sep);
    EXPECT_EQ(core::WithTrailingBackslash("dir"), s("dir") + sep);
    EXPECT_EQ(core::WithTrailingBackslash("1"), s("1") + sep);
}
