#include "plugin/param_table_text.h"

#include <gtest/gtest.h>

using namespace plugin;

namespace {
ParamTable Load(std::string_view text) {
    ParamTable t;
    ParamTableFromText(text, t);
    return t;
}
ParamRow Row(std::optional<std::string> ident, std::optional<std::string> a, std::optional<std::string> b) {
    return ParamRow{std::move(ident), std::move(a), std::move(b)};
}
const std::string kHeader = "\"Ident\",\"ValueA\",\"ValueB\",\r\n";
}  // namespace

TEST(ParamTableText, WritesTheLayoutByteForByte) {
    ParamTable t;
    t.AddRow(Row("Netto", std::nullopt, "1"));
    t.AddRow(Row("DATA", std::string("\x01\x02\x03", 3), std::nullopt));
    t.AddRow(Row("", "", ""));
    EXPECT_EQ(ParamTableToText(t), kHeader +
                                       "\"Netto\",,\"1\",\r\n"
                                       "\"DATA\",\"!(P \",,\r\n"
                                       "\"\",\"\",\"\",\r\n");
}

TEST(ParamTableText, BinaryEncodingUsesSixBitGroupsLeastSignificantFirst) {
    struct Case {
        std::string bytes, text;
    } cases[] = {
        {std::string("\x01\x02\x03", 3), "!(P "}, {"A", "!!"}, {"", ""},
        {std::string("\xFF\xFF", 2), "__/"},  // 16 bits: 6 + 6 + 4
        {std::string("\0\0\0\0", 4), "      "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeBinaryText(c.bytes), c.text);
        EXPECT_EQ(DecodeBinaryText(c.text), c.bytes);
    }
    std::string all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    for (size_t n = 0; n <= all.size(); n += 7) {
        std::string enc = EncodeBinaryText(all.substr(0, n));
        EXPECT_EQ(enc.size(), (4 * n + 2) / 3);
        EXPECT_EQ(DecodeBinaryText(enc), all.substr(0, n));
    }
}

TEST(ParamTableText, EscapesQuotesPercentAndLineEnds) {
    ParamTable t;
    t.AddRow(Row("K", std::nullopt, std::string("a\"b%c\r\nd", 8)));
    std::string text = ParamTableToText(t);
    EXPECT_EQ(text, kHeader + "\"K\",,\"a\"\"b%%c%c%nd\",\r\n");
    EXPECT_EQ(Load(text).Rows(), t.Rows());
    // A zero character ends a text value.
    EXPECT_EQ(EscapeText(std::string("x\0y", 3)), "x%0y");
    EXPECT_EQ(*Load(kHeader + "\"K\",,\"x%0y\",").Rows()[0].ValueB, "x");
    EXPECT_EQ(UnescapeText("ab%"), "ab");
}

TEST(ParamTableText, NullAndEmptyStayApart) {
    ParamTable t;
    t.AddRow(Row(std::nullopt, "", std::nullopt));
    t.AddRow(Row("", std::nullopt, ""));
    EXPECT_EQ(Load(ParamTableToText(t)).Rows(), t.Rows());
}

TEST(ParamTableText, HeaderFixesColumnsWithoutRegardToCase) {
    auto t = Load("\"ValueB\",\"IDENT\",\"Other\",\r\n\"1\",\"Netto\",\"dropped\",\r\n");
    ASSERT_EQ(t.RecordCount(), 1u);
    EXPECT_EQ(t.Rows()[0], Row("Netto", std::nullopt, "1"));
}

TEST(ParamTableText, ZeroBytesAndLineEndRunsEndLines) {
    std::string text = kHeader + "\"A\",,\"1\",\r\n\n\r\"B\",,\"2\",";
    std::string area = text + std::string(1000, '\0');
    auto fromText = Load(text);
    ASSERT_EQ(fromText.RecordCount(), 2u);
    EXPECT_EQ(Load(area).Rows(), fromText.Rows());
    EXPECT_EQ(Load("").RecordCount(), 0u);
    EXPECT_EQ(Load(std::string(1000, '\0')).RecordCount(), 0u);
}

TEST(ParamTableText, SkipsDefinitionBlocksBeforeTheHeader) {
    auto t = Load(
        "\"@@FILE VERSION@@\",\"3\"\r\n"
        "\"@@TABLEDEF START@@\"\r\nIdent=string,200\r\nValueB=string\r\n\"@@TABLEDEF END@@\"\r\n"
        "\"@@INDEXDEF START@@\"\r\n\"@@INDEXDEF END@@\"\r\n" +
        kHeader + "\"K\",,\"v\",\r\n");
    ASSERT_EQ(t.RecordCount(), 1u);
    EXPECT_EQ(t.Rows()[0], Row("K", std::nullopt, "v"));
}

TEST(ParamTableText, LineEndAtTheStartMeansNoHeader) {
    auto t = Load("\r\n" + kHeader + "\"K\",,\"v\",\r\n");
    ASSERT_EQ(t.RecordCount(), 2u);
    EXPECT_EQ(t.Rows()[0], Row("Ident", DecodeBinaryText("ValueA"), "ValueB"));
}

TEST(ParamTableText, TolerantFields) {
    struct Case {
        const char* line;
        ParamRow row;
    } cases[] = {
        {"K,,v,", Row("K", std::nullopt, "v")},                            // unquoted
        {"\"K\"", Row("K", std::nullopt, std::nullopt)},                   // fewer fields
        {"\"K\";,\"v\",\"extra\",\"more\"", Row("K", std::nullopt, "v")},  // any char after a quote skipped
        {"\"K\",,\"ab\"\"cd", Row("K", std::nullopt, "ab\"")},             // unclosed quote
        {"\"K\",,\"abc", Row("K", std::nullopt, "")},
    };
    for (const auto& c : cases) {
        auto t = Load(kHeader + c.line);
        ASSERT_EQ(t.RecordCount(), 1u) << c.line;
        EXPECT_EQ(t.Rows()[0], c.row) << c.line;
    }
}

TEST(ParamTableText, TextValuesAreCutTo200Characters) {
    auto t = Load(kHeader + "\"K\",,\"" + std::string(250, 'x') + "\",");
    EXPECT_EQ(t.Rows()[0].ValueB->size(), 200u);
    t.First();
    t.SetField(ParamField::ValueB, std::string(300, 'y'));
    EXPECT_EQ(t.FieldAsText(ParamField::ValueB), std::string(200, 'y'));
}

TEST(ParamTable, LocateIsExactAndFindsTheFirstRow) {
    ParamTable t;
    t.AddRow(Row("Netto", std::nullopt, "1"));
    t.AddRow(Row("Netto", std::nullopt, "2"));
    EXPECT_FALSE(t.Locate("netto"));
    ASSERT_TRUE(t.Locate("Netto"));
    EXPECT_EQ(t.FieldAsText(ParamField::ValueB), "1");
    t.LocateOrAppend("ACTION");
    EXPECT_EQ(t.RecordCount(), 3u);
    EXPECT_EQ(t.FieldAsText(ParamField::Ident), "ACTION");
}
