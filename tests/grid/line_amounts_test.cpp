#include "grid/line_amounts.h"

#include <gtest/gtest.h>

#include <memory>

#include "grid/number_format.h"
#include "grid/number_settings.h"
#include "grid/smart_data_grid_view.h"
#include "platform/gui/application.h"

namespace {

// The preview's grid with one order line; the number settings are restored afterwards.
class LineAmounts : public testing::Test {
  protected:
    LineAmounts() {
        gui::EnsureApplication();
        saved_ = grid::Settings();
        grid::ResetSettings(grid::NumberSettings{});
        view_ = std::make_unique<TFSmartDataGridView>();
    }
    ~LineAmounts() override { grid::ResetSettings(saved_); }

    TDataGrid& Grid() { return *view_->DataGridOrder; }
    void Line(const std::string& quantity, const std::string& price, const std::string& discount,
              const std::string& marker = "") {
        Grid().SetCellText(0, 1, marker);
        Grid().SetCellText(Grid().ColumnIndex("Stueck"), 1, quantity);
        Grid().SetCellText(Grid().ColumnIndex("Einzelbetrag"), 1, price);
        Grid().SetCellText(Grid().ColumnIndex("Rabatt"), 1, discount);
        Grid().SetCellText(Grid().ColumnIndex("SummeBetrag"), 1, "unchanged");
    }
    std::string Sum() { return Grid().GetCellText(Grid().ColumnIndex("SummeBetrag"), 1); }
    std::string Mask(const char* field) { return Grid().Columns()[Grid().ColumnIndex(field)].DisplayMask(); }

  private:
    grid::NumberSettings saved_;
    std::unique_ptr<TFSmartDataGridView> view_;
};

}  // namespace

TEST_F(LineAmounts, WorkedExamples) {
    struct Case {
        std::string quantity, price, discount;
        bool fiveRappen;
        int kind;
        std::string expected;
    };
    const Case cases[] = {
        {"3", "9,99", "10", false, 1, "26,97"},
        {"3", "9,99", "10", true, 1, "26,95"},
        {"3", "9,99", "10", true, 0, "26,95"},
        {"2", "5", "", true, 1, "10"},
        {"2", "5", "", true, 0, "10,00"},
        {"", "5", "", true, 1, "0,00"},  // the shortest form "0" is not taken
        {"", "", "", false, 1, "0,00"},
        {"-3", "9,99", "10", false, 1, "-26,97"},
        {"-1", "0,025", "", true, 0, "-0,05"},  // a negative half goes to the more negative multiple
        {"1.000", "5", "", false, 1, "0,00"},   // a thousand separator makes the text no number
    };
    for (const Case& c : cases) {
        grid::Settings().FiveRappen = c.fiveRappen;
        Line(c.quantity, c.price, c.discount);
        grid::RecalcLine(Grid(), "Einzelbetrag", 1, c.kind);
        EXPECT_EQ(Sum(), c.expected) << c.quantity << " x " << c.price << " - " << c.discount << "% five "
                                     << c.fiveRappen << " kind " << c.kind;
    }
}

TEST_F(LineAmounts, OnlyArticleLinesAndTheThreeFieldsCount) {
    struct Case {
        std::string changed, marker;
    };
    for (Case c :
         {Case{"Steuer", ""}, Case{"einzelbetrag", ""}, Case{"Stueck", "t"}, Case{"Rabatt", "\x81"}}) {
        Line("3", "9,99", "10", c.marker);
        grid::RecalcLine(Grid(), c.changed, 1, 1);
        EXPECT_EQ(Sum(), "unchanged") << c.changed << " " << c.marker;
    }
    Line("3", "9,99", "10", " t");  // a blank first: an article line
    grid::RecalcLine(Grid(), "Stueck", 1, 1);
    EXPECT_EQ(Sum(), "26,97");
}

TEST_F(LineAmounts, SwissSettings) {
    grid::NumberSettings s;
    s.DecimalSeparator = '.';
    s.ThousandSeparator = '\'';
    s.FiveRappen = true;
    s.CurrencySuffix = " SFr\".\"";
    grid::ResetSettings(s);
    Line("3", "9.99", "10");
    grid::RecalcLine(Grid(), "Rabatt", 1, 1);
    EXPECT_EQ(Sum(), "26.95");
    grid::ApplyCurrencyMode(false, true, Grid());
    EXPECT_EQ(grid::FormatFloat(Mask("SummeBetrag"), 1234.5L), "1'234.50 SFr.");
}

TEST_F(LineAmounts, CurrencyModeMasks) {
    grid::ApplyCurrencyMode(false, true, Grid());
    const std::string m = ",#############0.00 \x80";
    EXPECT_EQ(Mask("SummeBetrag"), m + ";-" + m + ";#");
    EXPECT_EQ(Mask("Einzelbetrag"), m + ";-" + m + ";#");
    EXPECT_EQ(grid::FormatFloat(Mask("SummeBetrag"), 1234.5L), "1.234,50 \x80");
    EXPECT_EQ(grid::FormatFloat(Mask("SummeBetrag"), 0), "");
    const TColumn& price = Grid().Columns()[Grid().ColumnIndex("Einzelbetrag")];
    EXPECT_EQ(price.Title().Font().color, gui::clBlack);
    EXPECT_EQ(price.EditMask(), "#######.00");
    EXPECT_EQ(price.NumericDigits(), 2);

    grid::ApplyCurrencyMode(true, false, Grid());
    EXPECT_EQ(price.Title().Font().color, gui::clRed);
    EXPECT_EQ(grid::FormatFloat(Mask("SummeBetrag"), 1234.5L), "1.234,50 2W");
}

TEST_F(LineAmounts, UnitPriceDecimals) {
    struct Case {
        int decimals;
        std::string picture, editMask;
        int digits;
    };
    for (Case c :
         {Case{1, "#############0.000", "#######.000", 3}, Case{4, "#############0.0000", "#######.0000", 4},
          Case{0, "#############0.00", "#######.00", 2}}) {
        grid::Settings().UnitPriceDecimals = c.decimals;
        grid::ApplyCurrencyMode(false, true, Grid());
        const TColumn& price = Grid().Columns()[Grid().ColumnIndex("Einzelbetrag")];
        std::string m = "," + c.picture + " \x80";
        EXPECT_EQ(price.DisplayMask(), m + ";-" + m + ";#");
        EXPECT_EQ(price.EditMask(), c.editMask);
        EXPECT_EQ(price.NumericDigits(), c.digits);
    }
}
