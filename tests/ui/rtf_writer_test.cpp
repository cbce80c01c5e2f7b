#include "ui/rtf_writer.h"

#include <gtest/gtest.h>

#include "ui/rtf_reader.h"

namespace {

using rtf::Alignment;
using rtf::CharFormat;
using rtf::Document;
using rtf::Paragraph;
using rtf::Run;

const CharFormat kTahoma{.fontName = "Tahoma", .halfPoints = 20};

CharFormat With(CharFormat f, void (*change)(CharFormat&)) {
    change(f);
    return f;
}

Paragraph Para(std::vector<Run> runs, Alignment alignment = Alignment::Left, CharFormat mark = kTahoma) {
    return Paragraph{alignment, std::move(runs), mark};
}

TEST(RtfWriter, WritesTablesAndOnlyTheChangesBetweenRuns) {
    const CharFormat bold = With(kTahoma, [](CharFormat& f) { f.bold = true; });
    const CharFormat red = With(kTahoma, [](CharFormat& f) {
        f.autoColor = false;
        f.color = 0xFF0000;
    });
    const CharFormat arial{.fontName = "Arial",
                           .halfPoints = 28,
                           .italic = true,
                           .underline = true,
                           .strikeOut = true,
                           .protect = true};
    const Document d{{Para({{kTahoma, "Hallo "}, {bold, "fett"}, {red, " rot"}}),
                      Para({{arial, "Mitte"}}, Alignment::Center, arial), Para({}, Alignment::Center)}};
    EXPECT_EQ(rtf::Write(d),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}"
              "{\\f1\\fnil\\fcharset0 Arial;}}\r\n"
              "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
              "\\viewkind4\\uc1\\pard\r\n"
              "\\fs20 Hallo \\b fett\\cf1\\b0  rot\\cf0\\par\r\n"
              "\\pard\\qc\\f1\\fs28\\i\\ul\\strike\\protect Mitte\\par\r\n"
              "\\f0\\fs20\\i0\\ulnone\\strike0\\protect0\\par\r\n"
              "}\r\n");
}

struct EscapeCase {
    const char* name;
    QString text;
    std::string expected;
};

class RtfWriterEscapes : public testing::TestWithParam<EscapeCase> {};

TEST_P(RtfWriterEscapes, EscapesText) {
    const Document d{{Para({{kTahoma, GetParam().text}})}};
    const std::string out = rtf::Write(d);
    const std::string body = "\\pard\r\n\\fs20 ";
    const size_t start = out.find(body) + body.size();
    EXPECT_EQ(out.substr(start, out.find("\\par\r\n}") - start), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RtfWriterEscapes, testing::Values(
    EscapeCase{"Syntax", "a{b}c\\d", "a\\{b\\}c\\\\d"},
    EscapeCase{"TabAndLineBreak", QString("a\tb") + QChar(0x2028) + "c", "a\\tab b\\line c"},
    EscapeCase{"CodePage", QString::fromUtf8("Grüße €"), "Gr\\'fc\\'dfe \\'80"},
    EscapeCase{"UndefinedCodePageBytes", QString(QChar(0x81)) + QChar(0x9D), "\\'81\\'9d"},
    EscapeCase{"OutsideCodePage", QString::fromUtf8("Łódź"), "\\u321?\\'f3d\\u378?"},
    EscapeCase{"HighUnicodeIsNegative", QString(QChar(0xF0B7)), "\\u-3913?"},
    EscapeCase{"SurrogatePair", QString::fromUtf8("\U0001F600"), "\\u-10179?\\u-8704?"},
    EscapeCase{"ControlCharacter", QString(QChar(0x01)), "\\'01"},
    EscapeCase{"DigitsAfterEscape", QString::fromUtf8("ü12"), "\\'fc12"}),
    [](const testing::TestParamInfo<EscapeCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(RtfWriter, FontNamesWithSyntaxCharactersSurvive) {
    const CharFormat odd{.fontName = "A;B{C}", .halfPoints = 24};
    const Document d{{Para({{odd, "x"}}, Alignment::Left, odd)}};
    EXPECT_EQ(rtf::Read(rtf::Write(d)), d);
}

// What the writer writes, the reader reads back unchanged, and writing that again gives the same bytes.
TEST(RtfWriter, ModelRoundTrips) {
    const CharFormat all{.fontName = "Courier New",
                         .halfPoints = 17,
                         .bold = true,
                         .italic = true,
                         .underline = true,
                         .strikeOut = true,
                         .protect = true,
                         .autoColor = false,
                         .color = 0x102030};
    const CharFormat black = With(kTahoma, [](CharFormat& f) { f.autoColor = false; });
    const std::vector<Document> documents = {
        Document{},
        Document{{Para({})}},
        Document{{Para({}), Para({}), Para({{kTahoma, "after two empty"}})}},
        Document{{Para({{all, QString::fromUtf8("alles {} \\ \t ü € Ł")}}, Alignment::Justify, all),
                  Para({{black, "black"}, {kTahoma, "auto"}}, Alignment::Right)}},
        Document{{Para({{kTahoma, QString("line") + QChar(0x2028) + "break"}}, Alignment::Center),
                  Para({{kTahoma, "next"}}, Alignment::Center)}},
    };
    for (const Document& d : documents) {
        const std::string once = rtf::Write(d);
        EXPECT_EQ(rtf::Read(once), d) << once;
        EXPECT_EQ(rtf::Write(rtf::Read(once)), once);
    }
}

TEST(RtfWriter, DefaultFontAndSizeResolveToTheFirstTableEntry) {
    // A run without a font takes the first font of the table, as the reader will see it.
    const Document d{
        {Para({{CharFormat{}, "default "}, {kTahoma, "tahoma"}}, Alignment::Left, CharFormat{})}};
    const std::string once = rtf::Write(d);
    EXPECT_EQ(rtf::Write(rtf::Read(once)), once);
    EXPECT_EQ(rtf::Read(once).paragraphs[0].runs[0].format.fontName, "Tahoma");
}

}  // namespace
