#include "grid/grid_stream.h"

#include <gtest/gtest.h>

#include <memory>

#include <algorithm>

#include "grid/number_settings.h"
#include "grid/smart_data_grid_view.h"
#include "platform/core/errors.h"
#include "platform/gui/application.h"

namespace {

const char* kViewNames[] = {"TColumn-1",     "Pos.",         "Stueck",        "Einheit",
                            "Bezeichnung1",  "Bezeichnung2", "BestellNummer", "Seriennummer",
                            "Artikelnummer", "Einzelbetrag", "Steuer",        "SummeBetrag",
                            "intern",        "ID_Artikel",   "benutzer",      "Rabatt"};

std::string ViewHeader() {
    std::string s = "\"@@DATADEF START@@\"\r\n";
    for (const char* n : kViewNames) s += "\"" + std::string(n) + "\"\r\n";
    s += "\"SecondField\"\r\n\"@@DATADEF END@@\"\r\n";
    for (const char* n : kViewNames) s += "\"" + std::string(n) + "\",";
    return s + "\"SecondField\",\r\n";
}

// A data line of the view's sixteen columns: the given leading fields, the rest empty, then the second line.
std::string DataLine(std::vector<std::string> fields, const std::string& second = "") {
    fields.resize(16);
    std::string s;
    for (const std::string& f : fields) s += grid::Quote(grid::EscapeText(f)) + ",";
    return s + grid::Quote(grid::EscapeText(second)) + ",\r\n";
}

class GridStream : public testing::Test {
  protected:
    GridStream() {
        gui::EnsureApplication();
        saved_ = grid::Settings();
        grid::ResetSettings(grid::NumberSettings{});
        view_ = std::make_unique<TFSmartDataGridView>();
        Grid().SetUseSecondLine(true);  // as the function window does before loading
    }
    ~GridStream() override { grid::ResetSettings(saved_); }

    TDataGrid& Grid() { return *view_->DataGridOrder; }
    bool Load(const std::string& bytes) {
        core::MemoryStream s(bytes);
        return Grid().LoadFromStream(s);
    }
    std::string Save() {
        core::MemoryStream s;
        EXPECT_TRUE(Grid().SaveToStream(s));
        return s.Bytes();
    }
    std::string Cell(const char* field, int row) {
        return Grid().GetCellText(Grid().ColumnIndex(field), row);
    }

  private:
    grid::NumberSettings saved_;
    std::unique_ptr<TFSmartDataGridView> view_;
};

// A stream that fails after a number of bytes.
class FailingStream : public core::MemoryStream {
  public:
    explicit FailingStream(int64_t limit, std::string bytes = {})
        : MemoryStream(std::move(bytes)), limit_(limit) {}
    int64_t Write(const void* buffer, int64_t count) override {
        if (Size() + count > limit_) throw core::EWriteError("Stream-Schreibfehler");
        return MemoryStream::Write(buffer, count);
    }
    int64_t Read(void* buffer, int64_t count) override {
        if (Position() + count > limit_ && Position() > 0) throw core::EReadError("Stream-Lesefehler");
        return MemoryStream::Read(buffer, count);
    }

  private:
    int64_t limit_;
};

class CapturingView : public TDataGrid {
  public:
    std::vector<std::string> messages;

  protected:
    void ShowSaveError(const std::string& text) override { messages.push_back(text); }
};

}  // namespace

TEST(GridStreamFields, ReadField) {
    struct Case {
        std::string line;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"\"a\",\"b\",", {"a", "b"}},
        {"\"say \"\"hi\"\"\",\"x\",", {"say \"hi\"", "x"}},
        {"12,\"x\",", {"", "x"}},  // unquoted values read as empty
        {"\"\",\"\",", {"", ""}},
        {"\"open \"\"q\"\" rest", {"open \"q\""}},  // no closing quote: what follows the last "" is dropped
        {"\"a\",,\"c\",", {"a", "", "c"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        size_t pos = 0;
        while (grid::MoreFields(c.line, pos)) got.push_back(grid::ReadField(c.line, pos));
        EXPECT_EQ(got, c.fields) << c.line;
    }
}

TEST(GridStreamFields, EscapesRoundTrip) {
    const std::string text("a%b\r\nc\0d\"", 9);
    EXPECT_EQ(grid::EscapeText(text), std::string("a%%b%c%nc%0d\""));
    EXPECT_EQ(grid::UnescapeText(grid::EscapeText(text)), text);
    EXPECT_EQ(grid::UnescapeText("%x%"), "x%");
}

TEST(GridStreamFields, LinesSkipEveryRunOfLineEnds) {
    const char raw[] = "\r\nfirst\r\n\r\n\nsecond\0third\r";
    std::string bytes(raw, sizeof raw - 1);
    bytes += std::string(9000, 'x') + "\n" + "last";
    core::MemoryStream s(bytes);
    grid::StreamLineReader reader(s);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[1], "second");
    EXPECT_EQ(lines[2], "third");                 // "\0" is a line end too
    EXPECT_EQ(lines[3], std::string(9000, 'x'));  // across the 8192-byte block boundary
    EXPECT_EQ(lines[4], "last");
}

TEST_F(GridStream, SaveWritesTheHostFormatByteForByte) {
    Grid().SetRowCount(3);
    Grid().SetCellText(1, 1, "1");
    Grid().SetCellText(4, 1, "Fliesen \"Rot\"");
    Grid().SetCellText(0, 2, "t");
    Grid().SetCellText(4, 2, "Zwischensumme 100 %\r\nZeile");
    Grid().SetCellText(-2, 1, "Langtext");
    std::string empty11;
    for (int i = 0; i < 11; ++i) empty11 += "\"\",";
    std::string expected = ViewHeader() + "\"\",\"1\",\"\",\"\",\"Fliesen \"\"Rot\"\"\"," + empty11 +
                           "\"Langtext\",\r\n" + "\"t\",\"\",\"\",\"\",\"Zwischensumme 100 %%%c%nZeile\"," +
                           empty11 + "\"\",\r\n";
    EXPECT_EQ(Save(), expected);
}

TEST_F(GridStream, RoundTripKeepsEveryByte) {
    const std::string marker("\x81hp", 3);
    std::string payload =
        ViewHeader() +
        DataLine({marker, "1", "3", "m\xB2", "T\xFCr \"A\"", "a,b", "", "", "", "9,99", "19", "26,97"},
                 "zweite\r\nZeile %") +
        DataLine({"t", "", "", "", std::string("nul\0byte", 8)}) +
        DataLine({"", "2", "", "", "", "", "", "", "", "", "", "", "", "", "", "10"}, "x");
    ASSERT_TRUE(Load(payload));
    EXPECT_EQ(Grid().RowCount(), 4);
    EXPECT_EQ(Grid().GetCellText(0, 1), marker);
    EXPECT_EQ(Cell("Bezeichnung1", 1), "T\xFCr \"A\"");
    EXPECT_EQ(Grid().GetCellText(-2, 1), "zweite\r\nZeile %");
    EXPECT_EQ(Cell("Bezeichnung1", 2), std::string("nul\0byte", 8));
    EXPECT_EQ(Save(), payload);
}

TEST(GridStreamFields, SpecialBytesCountOnlyWithinTheText) {
    // The check reads in 16-byte steps: bytes past the text (here quotes) must not count.
    const std::string buffer = std::string(40, 'x') + std::string(16, '"');
    for (size_t n = 0; n <= 40; ++n) EXPECT_FALSE(grid::HoldsSpecialByte({buffer.data(), n})) << n;
    std::string text(40, 'x');
    for (char special : {'"', '%', '\r', '\n', '\0'})
        for (size_t at = 0; at < 40; ++at) {
            std::string t = text + std::string(16, 'y');
            t[at] = special;
            EXPECT_TRUE(grid::HoldsSpecialByte({t.data(), at + 1})) << at;
            EXPECT_FALSE(grid::HoldsSpecialByte({t.data(), at})) << at;
        }
}

TEST_F(GridStream, RoundTripOfTextsWithEscapesAtEveryPlace) {
    // Readers and writers take long texts in 16-byte steps: an escape or doubled quote at any place of a
    // text up to 40 bytes long, in a cell and in the second line, must come back as it went out.
    std::string payload = ViewHeader();
    std::vector<std::string> texts;
    for (size_t length = 1; length <= 40; ++length) {
        texts.push_back(std::string(length, 'a'));
        for (char special : {'"', '%', '\r', '\n', '\0'})
            for (size_t at = 0; at < length; ++at) {
                std::string t(length, 'a');
                t[at] = special;
                texts.push_back(t);
            }
    }
    for (const std::string& t : texts) payload += DataLine({"", t, t, "", t}, t);
    ASSERT_TRUE(Load(payload));
    ASSERT_EQ(Grid().RowCount(), static_cast<int>(texts.size()) + 1);
    for (size_t i = 0; i < texts.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        ASSERT_EQ(Grid().GetCellText(1, row), texts[i]) << i;
        ASSERT_EQ(Grid().GetCellText(4, row), texts[i]) << i;
        ASSERT_EQ(Grid().GetCellText(-2, row), texts[i]) << i;
    }
    EXPECT_EQ(Save(), payload);
}

TEST_F(GridStream, DecimalCommaRuleForNumberColumnsOnly) {
    struct Case {
        char separator;
        std::string price, expectedPrice;
    };
    for (Case c : {Case{'.', "1,5", "1.5"}, Case{',', "1,5", "1,5"}, Case{'.', "1.5", "1.5"},
                   Case{',', "1.5", "1.5"}}) {
        grid::Settings().DecimalSeparator = c.separator;
        ASSERT_TRUE(Load(ViewHeader() + DataLine({"", "", "", "", "a,b", "", "", "", "", c.price})));
        EXPECT_EQ(Cell("Einzelbetrag", 1), c.expectedPrice) << c.separator << c.price;
        EXPECT_EQ(Cell("Bezeichnung1", 1), "a,b");
    }
}

TEST_F(GridStream, LoadedNumbersPassTheBeforeSetcellHandler) {
    std::vector<std::string> seen;
    Grid().OnBeforeSetcell = [&](TDataGrid*, int, int, std::string& value, const std::string& field) {
        seen.push_back(field + "=" + value);
        value += "!";
    };
    ASSERT_TRUE(Load(ViewHeader() + DataLine({"", "1", "3", "", "Text", "", "", "", "", "9,99"})));
    EXPECT_EQ(Cell("Einzelbetrag", 1), "9,99!");
    EXPECT_EQ(Cell("Bezeichnung1", 1), "Text");  // not a number column: no call
    EXPECT_EQ(seen[0], "Pos.=1");
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "Einzelbetrag=9,99"), 1);
}

TEST_F(GridStream, ReaderTolerances) {
    // Blank lines between data lines make no rows; header names match without case.
    std::string header = ViewHeader();
    header.replace(header.find("\"Steuer\"\r\n"), 10, "\"STEUER\"\r\n");
    ASSERT_TRUE(Load(header + DataLine({"", "1"}) + "\r\n\r\n" +
                     DataLine({"", "2", "", "", "", "", "", "", "", "", "19"})));
    EXPECT_EQ(Grid().RowCount(), 3);
    EXPECT_EQ(Cell("Steuer", 2), "19");

    // No data lines: one empty data row.
    ASSERT_TRUE(Load(ViewHeader()));
    EXPECT_EQ(Grid().RowCount(), 2);
    EXPECT_EQ(Cell("Pos.", 1), "");
    EXPECT_EQ(Grid().GetCellText(-2, 1), "");
}

TEST_F(GridStream, PayloadWithoutHeader) {
    // The first line is taken for the title line; each further line makes a row whose cells stay unmapped
    // and whose second line is the field after the grid's sixteen columns.
    ASSERT_TRUE(Load(DataLine({"", "1"}, "lost") + DataLine({"", "2"}, "s2") + DataLine({"", "3"}, "s3")));
    EXPECT_EQ(Grid().RowCount(), 3);
    EXPECT_EQ(Cell("Pos.", 1), "");
    EXPECT_EQ(Grid().GetCellText(-2, 1), "s2");
    EXPECT_EQ(Grid().GetCellText(-2, 2), "s3");
}

TEST_F(GridStream, HeaderWithFewerColumns) {
    std::string payload =
        "\"@@DATADEF START@@\"\r\n\"TColumn-1\"\r\n\"Pos.\"\r\n\"SecondField\"\r\n"
        "\"@@DATADEF END@@\"\r\n\"TColumn-1\",\"Pos.\",\"SecondField\",\r\n"
        "\"\",\"7\",\"zweite\",\r\n";
    ASSERT_TRUE(Load(payload));
    EXPECT_EQ(Cell("Pos.", 1), "7");
    EXPECT_EQ(Grid().GetCellText(-2, 1), "");  // it falls among the first sixteen positions
}

TEST_F(GridStream, LaterLoadsEmptyTheRowsAfterTheLastLine) {
    ASSERT_TRUE(
        Load(ViewHeader() + DataLine({"", "1", "5"}, "a") + DataLine({"", "2"}, "b") + DataLine({"", "3"})));
    EXPECT_EQ(Grid().RowCount(), 4);
    // A shorter line keeps the cells it has no field for.
    ASSERT_TRUE(Load(ViewHeader() + "\"\",\"9\",\r\n"));
    EXPECT_EQ(Grid().RowCount(), 2);
    EXPECT_EQ(Cell("Pos.", 1), "9");
    EXPECT_EQ(Cell("Stueck", 1), "5");
    EXPECT_EQ(Grid().GetCellText(-2, 1), "a");
    Grid().SetRowCount(4);
    EXPECT_EQ(Cell("Pos.", 2), "");  // the rows after were emptied, not just cut off
    EXPECT_EQ(Grid().GetCellText(-2, 2), "");
}

TEST_F(GridStream, ReadErrorKeepsTheRowsReadSoFar) {
    std::string payload = ViewHeader();
    for (int i = 0; i < 400; ++i) payload += DataLine({"", std::to_string(i + 1)});
    FailingStream s(9000, payload);  // fails on the second block
    EXPECT_FALSE(Grid().LoadFromStream(s));
    EXPECT_GT(Grid().RowCount(), 2);
    EXPECT_EQ(Cell("Pos.", 1), "1");
    EXPECT_EQ(Grid().Current(), (TCellPos{1, 1, false}));
}

TEST(GridStreamSave, WriteErrorIsShownAndReported) {
    gui::EnsureApplication();
    CapturingView g;
    g.SetRowCount(3000);
    for (int r = 1; r < 3000; ++r) g.SetCellText(1, r, std::string(40, 'x'));
    FailingStream s(70000);
    EXPECT_FALSE(g.SaveToStream(s));
    ASSERT_EQ(g.messages.size(), 1u);
    EXPECT_EQ(g.messages[0], "TDataGrid.SaveToStream Stream-Schreibfehler");
    EXPECT_FALSE(g.Updating());
}
