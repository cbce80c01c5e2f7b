// The function window as a class: the tax update, the footer, the pages, and its keys.
#include "plugin/function1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTabWidget>
#include <cstdio>
#include <filesystem>

#include "grid/data_grid.h"
#include "grid/number_settings.h"
#include "platform/core/paths.h"
#include "platform/core/stream.h"
#include "platform/gui/application.h"
#include "platform/gui/panel.h"
#include "plugin/param_table_text.h"
#include "tests/plugin/order_fixture.h"
#include "tests/support/shm_area.h"
#include "ui/flat_button.h"
#include "ui/flat_speed_button.h"
#include "ui/rich_edit.h"
#include "ui/rich_toolbar.h"

using namespace plugin;
using namespace order_fixture;
using testing_support::ShmArea;

namespace {

class Window : public TFFunction1 {
  public:
    std::vector<std::string> messages;

  protected:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
};

// The footer file lives beside the module; here the module is this test program. Each test starts
// without one and leaves none behind.
struct FooterFile {
    FooterFile() { std::filesystem::remove(TFFunction1::FooterFileName()); }
    ~FooterFile() { std::filesystem::remove(TFFunction1::FooterFileName()); }
    bool Exists() const { return core::FileExists(TFFunction1::FooterFileName()); }
};

std::string ParamText(std::initializer_list<std::pair<const char*, const char*>> values,
                      const std::string& lines, const char* footer = nullptr) {
    ParamTable t;
    for (auto [k, v] : values) t.AddRow(ParamRow{k, std::nullopt, v});
    t.AddRow(ParamRow{"DATA", lines, std::nullopt});
    if (footer) t.AddRow(ParamRow{"RTFFOOT", std::string(footer), std::nullopt});
    return ParamTableToText(t);
}

// A window on an area, started as the frame starts it, but not shown.
std::unique_ptr<Window> Started(ShmArea& area) {
    gui::EnsureApplication();
    grid::ResetSettings(grid::NumberSettings{});
    auto w = TFCalcBasisClass::Create<Window>();
    w->OpenExchange(area.Name());
    w->StartCalculation();
    return w;
}

std::vector<std::string> Column(TDataGrid& g, int col) {
    std::vector<std::string> v;
    for (int row = 1; row < g.RowCount(); ++row) v.push_back(g.GetCellText(col, row));
    return v;
}

ParamTable Returned(const ShmArea& area) {
    ParamTable t;
    ParamTableFromText(area.Bytes(), t);
    return t;
}

const std::vector<Row> kMixedOrder = {Text("t", "Titel", "7"), Article("3", "9,99", "7", "10"),
                                      Text("a", "Alt", "7"), Article("2", "5", "7", "", "d"),
                                      Text("-", "", "7")};

}  // namespace

TEST(FullTax, TheLargerRateGoesOnEveryArticleLine) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> rates;
        const char* text;
    } cases[] = {
        {{{"CPSTEUERHIGH", "19"}, {"CPSTEUERLOW", "7"}}, "19"},
        {{{"CPSTEUERHIGH", "7"}, {"CPSTEUERLOW", "19"}}, "19"},
        {{{"CPSTEUERLOW", "16"}}, "16"},
        {{{"CPSTEUERHIGH", "7,5"}}, "7,5"},
        {{{"CPSTEUERHIGH", "abc"}}, "0"},
        {{}, "0"},
    };
    FooterFile footer;
    for (const auto& c : cases) {
        ParamTable t;
        t.AddRow(ParamRow{"Netto", std::nullopt, "1"});
        for (auto [k, v] : c.rates) t.AddRow(ParamRow{k, std::nullopt, v});
        t.AddRow(ParamRow{"DATA", OrderLines(kMixedOrder), std::nullopt});
        ShmArea area(kExchangeSize, ParamTableToText(t));
        auto w = Started(area);
        w->ApplyFullTax();
        // Title, alternative and separator rows keep their 7.
        EXPECT_EQ(Column(w->DataGridOrder(), kTax), (std::vector<std::string>{"7", c.text, "7", c.text, "7"}))
            << c.text;
    }
}

TEST(FullTax, LineSumsFollowTheCurrencyKindAndTheRoundingSwitch) {
    struct Case {
        const char *dm, *rappen;
        std::vector<std::string> sums;
    } cases[] = {
        {"0", nullptr, {"", "26,97", "", "10,00", ""}},
        {"1", nullptr, {"", "26,97", "", "10,00", ""}},
        // The order's own currency (kind 1) with 5-Rappen rounding writes the shortest form.
        {"0", "1", {"", "26,95", "", "10", ""}},
        {"1", "1", {"", "26,95", "", "10,00", ""}},
    };
    FooterFile footer;
    for (const auto& c : cases) {
        std::vector<std::pair<const char*, const char*>> values = {
            {"Netto", "1"}, {"DM", c.dm}, {"CPSTEUERHIGH", "19"}};
        if (c.rappen) values.push_back({"5Rappen", c.rappen});
        ParamTable t;
        for (auto [k, v] : values) t.AddRow(ParamRow{k, std::nullopt, v});
        t.AddRow(ParamRow{"DATA", OrderLines(kMixedOrder), std::nullopt});
        ShmArea area(kExchangeSize, ParamTableToText(t));
        auto w = Started(area);
        w->ApplyFullTax();
        EXPECT_EQ(grid::Settings().FiveRappen, c.rappen != nullptr);
        EXPECT_EQ(Column(w->DataGridOrder(), kSum), c.sums) << "DM " << c.dm << (c.rappen ? ", 5Rappen" : "");
    }
}

TEST(FullTax, FooterReplacesTheHostsFooterOnlyWhenSentAndNotEmpty) {
    struct Case {
        const char* hostFooter;
        const char* editorText;
        std::optional<std::string> returned;  // nullopt: no row; "" : the editor's rich text
    } cases[] = {
        {"{\\rtf1 alt}", "Neuer Fu\xDFtext", std::string()},
        {nullptr, "Neuer Fu\xDFtext", std::nullopt},
        {"{\\rtf1 alt}", "", std::string("{\\rtf1 alt}")},
    };
    FooterFile footer;
    for (const auto& c : cases) {
        ShmArea area(kExchangeSize, ParamText({{"Netto", "1"}}, OrderLines(kMixedOrder), c.hostFooter));
        auto w = Started(area);
        w->PH->setPlainText(QString::fromLatin1(c.editorText));
        ASSERT_TRUE(w->WriteBack());
        ParamTable back = Returned(area);
        const bool hasRow = back.Locate("RTFFOOT");
        ASSERT_EQ(hasRow, c.returned.has_value()) << c.editorText;
        if (!hasRow) continue;
        const std::string payload = back.FieldAsText(ParamField::ValueA);
        if (c.returned->empty()) {
            EXPECT_EQ(payload, w->PH->RtfText());
            EXPECT_NE(payload.find("Neuer Fu\\'dftext"), std::string::npos) << payload;
        } else {
            EXPECT_EQ(payload, *c.returned);
        }
    }
}

TEST(FullTax, TheEditorStartsFromTheFooterFileAndEveryCloseSavesIt) {
    FooterFile footer;
    {
        std::FILE* f = std::fopen(TFFunction1::FooterFileName().c_str(), "wb");
        std::fputs("{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}\\f0\\fs20 Zahlbar sofort.\\par}", f);
        std::fclose(f);
    }
    ShmArea area(kExchangeSize, ParamText({{"Netto", "1"}, {"ADRESSNAME", "Bau GmbH"}},
                                          OrderLines(kMixedOrder), "{\\rtf1 vom Host}"));
    auto w = Started(area);
    EXPECT_EQ(w->PH->toPlainText(), "Zahlbar sofort.");
    EXPECT_EQ(w->windowTitle(), "Bau GmbH");
    w->PH->setPlainText("Zahlbar in 10 Tagen.");
    w->show();
    w->reject();  // Escape, the close box and cancel all end here
    auto again = Started(area);
    EXPECT_EQ(again->PH->toPlainText(), "Zahlbar in 10 Tagen.");
}

TEST(FullTax, SettingsPageMakesTheWindowTallerAndBackSavesTheFooter) {
    FooterFile footer;
    ShmArea area(kExchangeSize, ParamText({{"Netto", "1"}}, OrderLines(kMixedOrder)));
    auto w = Started(area);
    EXPECT_EQ(w->height(), kFunctionHeight);
    w->PageControl1->setCurrentWidget(w->TabSheet2);
    EXPECT_EQ(w->height(), kSettingsHeight);
    EXPECT_FALSE(footer.Exists());
    w->PageControl1->setCurrentWidget(w->TabSheet1);
    EXPECT_EQ(w->height(), kFunctionHeight);
    EXPECT_TRUE(footer.Exists());
}

TEST(FullTax, F3OnTheSettingsPageAcceptsLikeTheButton) {
    FooterFile footer;
    ShmArea area(kExchangeSize, ParamText({{"Netto", "1"}, {"CPSTEUERHIGH", "19"}}, OrderLines(kMixedOrder)));
    gui::EnsureApplication();
    auto w = TFCalcBasisClass::Create<Window>();
    w->OpenExchange(area.Name());
    w->show();
    QApplication::processEvents();  // the posted start message runs the start sequence
    w->PageControl1->setCurrentWidget(w->TabSheet2);
    w->PH->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F3, Qt::ShiftModifier);
    QApplication::sendEvent(w->PH, &press);
    QApplication::processEvents();
    EXPECT_FALSE(w->isVisible());
    ParamTable back = Returned(area);
    ASSERT_TRUE(back.Locate("ACTION"));
    EXPECT_EQ(back.FieldAsText(ParamField::ValueB), "WRITE");
}

TEST(FullTax, SettingsPageLayout) {
    FooterFile footer;
    ShmArea area(kExchangeSize, ParamText({{"Netto", "1"}}, OrderLines(kMixedOrder)));
    auto w = Started(area);
    w->PageControl1->setCurrentWidget(w->TabSheet2);
    w->show();
    QApplication::processEvents();
    EXPECT_EQ(w->width(), 566);
    EXPECT_EQ(w->BxRichToolBar1->geometry(), QRect(0, 0, w->TabSheet2->width(), ui::TBxRichToolBar::kHeight));
    EXPECT_EQ(w->PH->geometry().top(), ui::TBxRichToolBar::kHeight);
    EXPECT_EQ(w->PH->geometry().bottom(), w->TabSheet2->height() - 1);
    EXPECT_FALSE(w->BxRichToolBar1->sBullet->isVisible());
    EXPECT_EQ(w->fca->geometry(), QRect(434, 5, 127, 25));
    EXPECT_EQ(w->Panel1->geometry(), QRect(0, kSettingsHeight - 38, 566, 38));
    w->grab().save(
        QString::fromStdString(std::string(std::getenv("VORLUX_BUILD_DIR")) + "/function1_settings.png"));
}
