// The frame through its class: parameter reading, order-line pass-through and the write-back.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>

#include "grid/data_grid.h"
#include "platform/gui/application.h"
#include "plugin/calc_basis.h"
#include "plugin/param_table_text.h"
#include "plugin/payload_compression.h"
#include "tests/plugin/order_fixture.h"
#include "tests/support/shm_area.h"

using namespace plugin;
using testing_support::ShmArea;

namespace {

class Frame : public TFCalcBasisClass {
  public:
    std::vector<std::string> messages;
    int starts = 0;
    void AfterLoad() override { ++starts; }

  protected:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

std::unique_ptr<Frame> FrameOn(ParamTable table) {
    gui::EnsureApplication();
    auto f = TFCalcBasisClass::Create<Frame>();
    f->MapKM = std::move(table);
    return f;
}

ParamTable Table(std::initializer_list<std::pair<const char*, const char*>> rows) {
    ParamTable t;
    for (auto [k, v] : rows) t.AddRow(ParamRow{k, std::nullopt, v});
    return t;
}

// Texts that must survive byte for byte: umlauts, the 0x81 marker, quotes, escaped percent signs and a
// CR inside a cell, a second line.
std::string HostOrderLines() {
    using namespace order_fixture;
    Row title = Text("t",
                     "Fliesenarbeiten \xC4u\xDF"
                     "eres");
    Row article = Article("12,5", "38,90", "7");
    article.cells[kText] = "Wand \"Typ A\"";
    article.cells[kText2] = "50%% Rabatt%cZeile 2";
    article.second = "zweite Zeile %%";
    Row total = Text("\x81", "Summe");
    total.cells[kSum] = "486,25";
    return OrderLines({title, article, total});
}

std::string Compressed(const std::string& bytes) {
    core::MemoryStream src(bytes), dst;
    CompressStream(src, dst);
    return dst.Bytes();
}

}  // namespace

TEST(Frame, ReadsHostParametersExactlyAsSent) {
    auto f = FrameOn(Table({{"Netto", "1"},
                            {"DM", "256"},  // low 8 bits: 0
                            {"Browse", "$101"},
                            {"CPID", "0x10"},
                            {"CPAdressID", " -5"},
                            {"CPID_ORDER", "12abc"},
                            {"ADRESSNAME", "M\xFCller"},
                            {"CPSTEUERHIGH", "19"},
                            {"CPSTEUERLOW", "7,5"},
                            {"Servertype", "258"},
                            {"V5", "1"},
                            {"ConnectPath", "db:x"},
                            {"CalcFileName", "K1.CAL"},
                            {"Screen", "2"},
                            {"netto", "0"},      // other case: not the key
                            {"Screen", "0"}}));  // the later row wins
    f->StartCalculation();
    EXPECT_TRUE(f->Netto);
    EXPECT_FALSE(f->DM);
    EXPECT_TRUE(f->Browse);
    EXPECT_EQ(f->CPID, 16);
    EXPECT_EQ(f->CPAdressID, -5);
    EXPECT_EQ(f->CPID_ORDER, 0);
    EXPECT_EQ(f->AdressName, "M\xFCller");
    EXPECT_DOUBLE_EQ(f->TaxHigh, 19);
    EXPECT_DOUBLE_EQ(f->TaxLow, 7.5);
    EXPECT_EQ(f->ServerType, 2);
    EXPECT_TRUE(f->V5);
    EXPECT_EQ(f->ConnectPath, "db:x");
    EXPECT_EQ(f->CalcFileName, "K1.CAL");
    EXPECT_EQ(f->ScreenIndex, 0);
    EXPECT_TRUE(f->messages.empty());
}

TEST(Frame, CompressionOnlyForExactlyOne) {
    for (auto [value, expected] : {std::pair{"1", true}, {"01", false}, {" 1", false}, {"", false}}) {
        auto f = FrameOn(Table({{"CANCOMPRESS", value}}));
        f->StartCalculation();
        EXPECT_EQ(f->CanCompress, expected) << value;
    }
}

TEST(Frame, OrderLinesComeBackByteForByteCompressedOrNot) {
    const std::string lines = HostOrderLines();
    for (bool compress : {true, false}) {
        ParamTable t = Table({{"CANCOMPRESS", compress ? "1" : "0"}});
        t.AddRow(ParamRow{"DATA", compress ? Compressed(lines) : lines, std::nullopt});
        ShmArea area(kExchangeSize, ParamTableToText(t));
        auto f = FrameOn({});
        f->DataGridOrder().SetUseSecondLine(true);
        f->OpenExchange(area.Name());
        f->StartCalculation();
        EXPECT_EQ(f->DataGridOrder().RowCount(), 4) << compress;
        EXPECT_EQ(f->DataGridOrder().GetCellText(4, 2), "Wand \"Typ A\"");
        EXPECT_EQ(f->DataGridOrder().GetCellText(5, 2), "50% Rabatt\rZeile 2");
        ASSERT_TRUE(f->WriteBack());
        ParamTable back;
        ParamTableFromText(area.Bytes(), back);
        ASSERT_TRUE(back.Locate("DATA"));
        EXPECT_EQ(back.FieldAsText(ParamField::ValueA), compress ? Compressed(lines) : lines) << compress;
    }
}

TEST(Frame, WriteBackReplacesTheAreaAndAppendsTheReply) {
    ShmArea area(kExchangeSize, std::string(kExchangeSize, 'x'));
    auto f = FrameOn({});
    f->OpenExchange(area.Name());
    f->MapKM = Table({{"Netto", "1"}, {"CalcFileName", "A.CAL"}});
    f->StartCalculation();
    ASSERT_TRUE(f->WriteBack());
    std::string bytes = area.Bytes();
    std::string text = ParamTableToText(f->MapKM);
    EXPECT_EQ(bytes.substr(0, text.size()), text);
    EXPECT_EQ(bytes.find_first_not_of('\0', text.size()), std::string::npos);
    ParamTable back;
    ParamTableFromText(bytes, back);
    std::vector<std::string> idents;
    for (const auto& r : back.Rows()) idents.push_back(*r.Ident);
    EXPECT_EQ(idents, (std::vector<std::string>{"Netto", "CalcFileName", "ACTION", "DATA"}));
    ASSERT_TRUE(back.Locate("ACTION"));
    EXPECT_EQ(back.FieldAsText(ParamField::ValueB), "WRITE");
}

TEST(Frame, WriteBackFillsExactlyTheWholeAreaButNotOneByteMore) {
    // A filler row is sized so that the written table is exactly the area's size, then one byte longer.
    core::MemoryStream emptyGrid;
    FrameOn({})->DataGridOrder().SaveToStream(emptyGrid);
    auto tableWith = [&](size_t payload, size_t tail) {
        ParamTable t = Table({{"CalcFileName", ""}, {"ACTION", "WRITE"}});
        t.AddRow(ParamRow{"F", std::string(payload, 'p'), std::string(tail, 't')});
        t.AddRow(ParamRow{"DATA", emptyGrid.Bytes(), std::nullopt});
        return t;
    };
    // The filler's share of the text: its encoded payload with quotes doubled, and its tail.
    const int64_t base = static_cast<int64_t>(ParamTableToText(tableWith(0, 0)).size());
    auto sizeOf = [&](size_t payload, size_t tail) {
        const std::string encoded = EncodeBinaryText(std::string(payload, 'p'));
        return base +
               static_cast<int64_t>(encoded.size() + std::count(encoded.begin(), encoded.end(), '"') + tail);
    };
    for (int64_t extra : {0, 1}) {
        const int64_t want = kExchangeSize + extra;
        size_t payload = static_cast<size_t>((want - base) * 3 / 4), tail = 0;
        while (sizeOf(payload, 0) > want) --payload;
        while (sizeOf(payload, tail) < want) ++tail;
        ASSERT_EQ(static_cast<int64_t>(ParamTableToText(tableWith(payload, tail)).size()), want);

        ShmArea area(kExchangeSize, "host text");
        const std::string before = area.Bytes();
        auto f = FrameOn({});
        f->OpenExchange(area.Name());
        f->MapKM = tableWith(payload, tail);
        EXPECT_EQ(f->WriteBack(), extra == 0);
        if (extra == 0) {
            EXPECT_TRUE(area.Bytes() == ParamTableToText(f->MapKM))
                << "the area holds the table and nothing else";
            EXPECT_TRUE(f->messages.empty());
        } else {
            EXPECT_TRUE(area.Bytes() == before) << "a refused write-back leaves the area alone";
            EXPECT_EQ(f->messages,
                      std::vector<std::string>{"<B>Kalkulation kann nicht gespeichert werden:</B><BR>"
                                               "Auftragsdaten sind zu umfangreich"});
        }
    }
}

TEST(Frame, WriteBackWithoutAreaReportsMapDefekt) {
    auto f = FrameOn({});
    EXPECT_FALSE(f->WriteBack());
    EXPECT_EQ(f->messages,
              std::vector<std::string>{"<B>Kalkulation kann nicht gespeichert werden:</B><BR>Map defekt."});
}

TEST(Frame, EmptyAreaLoadsNothingAndKeepsDefaults) {
    ShmArea area(kExchangeSize);
    auto f = FrameOn({});
    f->OpenExchange(area.Name());
    f->StartCalculation();
    EXPECT_EQ(f->MapKM.RecordCount(), 0u);
    EXPECT_FALSE(f->Netto);
    EXPECT_EQ(f->DataGridOrder().RowCount(), 2);  // the title row and one empty row
}

TEST(Frame, ShowingTheWindowAgainDoesNotStartAgain) {
    ShmArea area(kExchangeSize, ParamTableToText(Table({{"Netto", "1"}})));
    auto f = FrameOn({});
    f->OpenExchange(area.Name());
    f->show();
    QApplication::processEvents();
    f->hide();
    f->show();  // as when the window is restored after minimising
    QApplication::processEvents();
    EXPECT_EQ(f->starts, 1);
}
