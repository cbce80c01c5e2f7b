#include "ui/rtf_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

using rtf::Alignment;
using rtf::CharFormat;
using rtf::Document;

// Paragraph texts joined by "|", in UTF-8 for readable failures.
std::string Texts(const Document& document) {
    std::string out;
    for (size_t i = 0; i < document.paragraphs.size(); ++i) {
        if (i > 0) out += "|";
        for (const rtf::Run& run : document.paragraphs[i].runs) out += run.text.toStdString();
    }
    return out;
}

// The format of the run that contains `needle`.
CharFormat FormatOf(const Document& document, const QString& needle) {
    for (const rtf::Paragraph& paragraph : document.paragraphs)
        for (const rtf::Run& run : paragraph.runs)
            if (run.text.contains(needle)) return run.format;
    ADD_FAILURE() << "no run with " << needle.toStdString();
    return {};
}

std::string ReadFixture(const char* name) {
    std::ifstream file(std::string(RTF_DATA_DIR) + name, std::ios::binary);
    EXPECT_TRUE(file.good()) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

class RtfReaderText : public testing::TestWithParam<TextCase> {};

TEST_P(RtfReaderText, RecoversTheText) {
    EXPECT_EQ(Texts(rtf::Read(GetParam().input)), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RtfReaderText, testing::Values(
    TextCase{"Plain", R"({\rtf1 Hello world\par})", "Hello world"},
    TextCase{"LastParagraphWithoutPar", R"({\rtf1 one\par two})", "one|two"},
    TextCase{"EmptyParagraphsKept", R"({\rtf1 one\par\par three\par})", "one||three"},
    TextCase{"DelimitingSpaceEaten", R"({\rtf1\b bold\b0  next\par})", "bold next"},
    TextCase{"NegativeParameterDelimits", R"({\rtf1\li-283 x\par})", "x"},
    TextCase{"Escapes", R"({\rtf1 \{a\} \\ b\par})", "{a} \\ b"},
    TextCase{"CodePageEscapes", R"({\rtf1 Gr\'fc\'dfe \'80 \'81\par})", "Grüße € \xC2\x81"},
    TextCase{"UppercaseHex", R"({\rtf1 \'FC\par})", "ü"},
    TextCase{"BrokenHexEscape", R"({\rtf1 a\'zb\par})", "azb"},
    TextCase{"UnicodeWithFallback", R"({\rtf1 \u321\'3f\u243?d\par})", "Łód"},
    TextCase{"UnicodeNegative", R"({\rtf1 \u-3913?\par})", "\uF0B7"},
    TextCase{"UnicodeSkipCount", R"({\rtf1\uc2 \u8364 EUxy\uc0 \u8364 z\par})", "€xy€z"},
    TextCase{"UnicodeSkipStopsAtGroup", R"({\rtf1\uc3 {\u8364}abc\par})", "€abc"},
    TextCase{"UnicodeSkipCountsControlWords", R"({\rtf1\uc2 \u8364\'80\'80x\par})", "€x"},
    TextCase{"SurrogatePair", R"({\rtf1 \u-10179?\u-8704?\par})", "\U0001F600"},
    TextCase{"SpecialCharacters", R"({\rtf1 a\tab b\line c\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~\_\par})",
             "a\tb\u2028c—–•‘’“”\u00A0\u2011"},
    TextCase{"UnknownControlWordsSkipped", R"({\rtf1\foo\bar42 x\baz-7 y\par})", "xy"},
    TextCase{"StarDestinationsSkipped", R"({\rtf1{\*\generator Writer 1.0;}{\*\unknown{nested}text}x\par})", "x"},
    TextCase{"KnownDestinationsSkipped", R"({\rtf1{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}{\header H}x\par})", "x"},
    TextCase{"PicturesSkipped", R"({\rtf1 a{\pict\pngblip 89504e47}{\*\shppict{\pict 00}}{\nonshppict{\pict 11}}b\par})", "ab"},
    TextCase{"ListTextSkipped", R"({\rtf1{\listtext\'95\tab}Punkt\par{\pntext 1.\tab}Zwei\par})", "Punkt|Zwei"},
    TextCase{"FieldKeepsResult", R"({\rtf1{\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt link}} after\par})", "link after"},
    TextCase{"FieldInstructionWithoutStar", R"({\rtf1{\field{\fldinst PAGE}{\fldrslt 3}}\par})", "3"},
    TextCase{"BinaryDataSkipped", std::string("{\\rtf1 a{\\pict\\bin4 }{\\x}b\\par}"), "ab"},
    TextCase{"BinaryInTextSkipped", std::string("{\\rtf1 a\\bin3 {}}b\\par}"), "ab"},
    TextCase{"BinaryLongerThanInput", std::string("{\\rtf1 a\\bin999999 xyz"), "a"},
    TextCase{"HiddenTextSkipped", R"({\rtf1 a{\v hidden}b\par})", "ab"},
    TextCase{"TablesFlattened", R"({\rtf1\trowd a\cell b\cell\row c\par})", "a\tb\t|c"},
    TextCase{"PageBreakEndsParagraph", R"({\rtf1 a\page b\par})", "a|b"},
    TextCase{"EscapedNewlineIsParagraph", "{\\rtf1 a\\\nb\\par}", "a|b"},
    TextCase{"RawLineBreaksIgnored", "{\\rtf1 a\r\nb\nc\\par}", "abc"},
    TextCase{"UnbalancedClosingBraces", R"({\rtf1 a}}} b)", "a"},
    TextCase{"TruncatedInput", R"({\rtf1{\b bold{\i both)", "boldboth"},
    TextCase{"TruncatedEscape", R"({\rtf1 a\')", "a"},
    TextCase{"TruncatedControlWord", R"({\rtf1 a\)", "a"},
    TextCase{"EmptyDocument", R"({\rtf1})", ""},
    TextCase{"PlainTextFallback", "first line\r\nsecond\nthird\rfourth", "first line|second|third|fourth"},
    TextCase{"PlainTextKeepsCodePage", "Gr\xFC\xDF" "e", "Grüße"},
    TextCase{"PlainTextEmptyLines", "a\r\n\r\nb\r\n", "a||b"}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST(RtfReader, DeepNestingIsSkippedWithoutGrowingWithoutBound) {
    std::string input = "{\\rtf1 a";
    input += std::string(100000, '{') + "deep" + std::string(100000, '}');
    input += "b\\par}";
    // Groups beyond the nesting limit are dropped; the text around them survives.
    EXPECT_EQ(Texts(rtf::Read(input)), "ab");
}

TEST(RtfReader, ReadsCharacterFormats) {
    const Document d = rtf::Read(
        R"({\rtf1\ansi\deff1{\fonttbl{\f0\fswiss Arial;}{\f1\fnil\fcharset0 Tahoma;}{\f2 Courier {\*\falt Mono};}})"
        R"({\colortbl ;\red255\green0\blue0;\red0\green0\blue0;})"
        R"(plain \b bold\b0  \i italic\i0  \ul under\ulnone  \uldb double\ul0  \strike struck\strike0  )"
        R"(\protect locked\protect0  \cf1 red\cf0  \cf2 black\cf9 badindex\cf0  \f0\fs32 arial16\f2\fs17 courier)"
        R"(\plain reset{\b\f0 grouped}after\par})");
    EXPECT_EQ(FormatOf(d, "plain"), (CharFormat{.fontName = "Tahoma", .halfPoints = 24}));
    EXPECT_TRUE(FormatOf(d, "bold").bold);
    EXPECT_TRUE(FormatOf(d, "italic").italic);
    EXPECT_TRUE(FormatOf(d, "under").underline);
    EXPECT_TRUE(FormatOf(d, "double").underline);
    EXPECT_TRUE(FormatOf(d, "struck").strikeOut);
    EXPECT_TRUE(FormatOf(d, "locked").protect);
    EXPECT_FALSE(FormatOf(d, "red").autoColor);
    EXPECT_EQ(FormatOf(d, "red").color, 0xFF0000u);
    EXPECT_FALSE(FormatOf(d, "black").autoColor);  // an explicit black is not "automatic"
    EXPECT_EQ(FormatOf(d, "black").color, 0u);
    EXPECT_TRUE(FormatOf(d, "badindex").autoColor);
    EXPECT_EQ(FormatOf(d, "arial16"), (CharFormat{.fontName = "Arial", .halfPoints = 32}));
    EXPECT_EQ(FormatOf(d, "courier").fontName, "Courier");
    EXPECT_EQ(FormatOf(d, "courier").halfPoints, 17);
    EXPECT_EQ(FormatOf(d, "reset"), (CharFormat{.fontName = "Tahoma", .halfPoints = 24}));
    EXPECT_EQ(FormatOf(d, "grouped"), (CharFormat{.fontName = "Arial", .halfPoints = 24, .bold = true}));
    EXPECT_EQ(FormatOf(d, "after"), (CharFormat{.fontName = "Tahoma", .halfPoints = 24}));
}

TEST(RtfReader, FontTableWithoutGroupsAndUnknownFontNumbers) {
    const Document d = rtf::Read(R"({\rtf1{\fonttbl\f0\fnil Arial;\f1\fnil Verdana;}\f1 v\f7 unknown\par})");
    EXPECT_EQ(FormatOf(d, "v").fontName, "Verdana");
    EXPECT_EQ(FormatOf(d, "unknown").fontName, "");
}

TEST(RtfReader, SizesAreClampedAndDefaulted) {
    const Document d = rtf::Read(R"({\rtf1\fs99999 huge\fs0 zero\fs-4 negative\par})");
    EXPECT_EQ(FormatOf(d, "huge").halfPoints, 3276);
    EXPECT_EQ(FormatOf(d, "zero").halfPoints, 24);
    EXPECT_EQ(FormatOf(d, "negative").halfPoints, 24);
}

TEST(RtfReader, ParagraphAlignmentAndMarkFormat) {
    const Document d = rtf::Read(R"({\rtf1\qc centred\par right\qr\par\pard left\par\qj\b\par})");
    ASSERT_EQ(d.paragraphs.size(), 4u);
    // Alignment belongs to the paragraph as it stands at its end; it lasts until \pard.
    EXPECT_EQ(d.paragraphs[0].alignment, Alignment::Center);
    EXPECT_EQ(d.paragraphs[1].alignment, Alignment::Right);
    EXPECT_EQ(d.paragraphs[2].alignment, Alignment::Left);
    EXPECT_EQ(d.paragraphs[3].alignment, Alignment::Justify);
    EXPECT_TRUE(d.paragraphs[3].runs.empty());
    EXPECT_TRUE(d.paragraphs[3].mark.bold);
}

TEST(RtfReader, LooksLikeRtf) {
    EXPECT_TRUE(rtf::LooksLikeRtf("{\\rtf1\\ansi}"));
    EXPECT_FALSE(rtf::LooksLikeRtf(" {\\rtf1"));
    EXPECT_FALSE(rtf::LooksLikeRtf("{\\rt"));
    EXPECT_FALSE(rtf::LooksLikeRtf(""));
}

// Written by another word processor: see data/rtf/README.md.
TEST(RtfReaderForeign, ReadsLibreOfficeOutput) {
    const Document d = rtf::Read(ReadFixture("libreoffice_footer.rtf"));
    EXPECT_EQ(Texts(d),
              "Zahlbar innert 30 Tagen netto, ohne Abzug. Preise in € & CHF."
              "|Besten Dank für Ihren Auftrag — alt rot Łódź\u2028zweite Zeile"
              "|Grüße"
              "|Punkt eins"
              "|Mehr unter http://www.example.com/info {geschweift} \\ Ende");
    ASSERT_EQ(d.paragraphs.size(), 5u);
    EXPECT_EQ(d.paragraphs[0].alignment, Alignment::Left);
    EXPECT_EQ(d.paragraphs[1].alignment, Alignment::Center);
    EXPECT_EQ(d.paragraphs[2].alignment, Alignment::Right);

    const CharFormat body{.fontName = "Arial", .halfPoints = 20, .autoColor = false, .color = 0};
    EXPECT_EQ(FormatOf(d, "Zahlbar"), body);
    CharFormat expected = body;
    expected.bold = true;
    EXPECT_EQ(FormatOf(d, "innert 30 Tagen"), expected);
    expected = body;
    expected.italic = true;
    EXPECT_EQ(FormatOf(d, "ohne Abzug"), expected);
    expected = body;
    expected.underline = true;
    EXPECT_EQ(FormatOf(d, "Besten Dank"), expected);
    expected = body;
    expected.strikeOut = true;
    EXPECT_EQ(FormatOf(d, "alt"), expected);
    expected = body;
    expected.color = 0xC00000;
    EXPECT_EQ(FormatOf(d, "rot"), expected);
    expected = body;
    expected.fontName = "Courier New";
    expected.halfPoints = 28;
    EXPECT_EQ(FormatOf(d, "Grüße"), expected);
}

}  // namespace
