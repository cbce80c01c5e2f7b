#include "grid/line_amounts.h"

#include "grid/data_grid.h"
#include "grid/number_format.h"

namespace grid {

void RecalcLine(TDataGrid& grid, const std::string& changed, int row, int kind) {
    if (grid.IsNonArticleRow(row)) return;
    if (changed != "Rabatt" && changed != "Einzelbetrag" && changed != "Stueck") return;
    const NumberSettings& s = Settings();
    long double discount = ParseFloatOrZero(grid.GetCellText(grid.ColumnIndex("Rabatt"), row), s);
    long double quantity = ParseFloatOrZero(grid.GetCellText(grid.ColumnIndex("Stueck"), row), s);
    long double price = ParseFloatOrZero(grid.GetCellText(grid.ColumnIndex("Einzelbetrag"), row), s);
    long double base = quantity * price;
    long double sum = base - (base / 100) * discount;
    if (s.FiveRappen) sum = RoundTo5Rappen(sum, s);
    std::string text = FormatFloat("#############0.00", sum, s);
    if (kind == 1 && s.FiveRappen) text = RoundTextTo5Rappen(text, s);
    grid.SetCellText(grid.ColumnIndex("SummeBetrag"), row, text);
}

void ApplyCurrencyMode(bool secondCurrency, bool net, TDataGrid& grid) {
    const NumberSettings& s = Settings();
    const std::string suffix = secondCurrency ? s.SecondCurrencyLabel : s.CurrencySuffix;
    auto mask = [&](const std::string& picture) {
        std::string m = "," + picture + suffix;
        return m + ";-" + m + ";#";
    };
    const char* unitPicture = s.UnitPriceDecimals == 1   ? "#############0.000"
                              : s.UnitPriceDecimals == 4 ? "#############0.0000"
                                                         : "#############0.00";
    const char* editMask = s.UnitPriceDecimals == 1   ? "#######.000"
                           : s.UnitPriceDecimals == 4 ? "#######.0000"
                                                      : "#######.00";
    const int digits = s.UnitPriceDecimals == 1 ? 3 : s.UnitPriceDecimals == 4 ? 4 : 2;
    TDataGridColumns& columns = grid.Columns();
    for (int i = 0; i < columns.Count(); ++i) {
        TColumn& c = columns[i];
        const std::string name = c.FieldName();
        if (SameFieldName(name, "Einzelbetrag")) {
            gui::Font f = c.Title().Font();
            f.color = net ? gui::clBlack : gui::clRed;
            c.Title().SetFont(f);
            c.SetDisplayMask(mask(unitPicture));
            c.SetNumericDigits(digits);
            c.SetEditMask(editMask);
        } else if (SameFieldName(name, "SummeBetrag")) {
            c.SetDisplayMask(mask("#############0.00"));
        }
    }
}

}  // namespace grid
