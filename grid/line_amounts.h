#pragma once
// Line arithmetic of the order: the sum of one line from quantity, unit price and discount, and the
// currency display of the amount columns.
#include <string>

class TDataGrid;

namespace grid {

// Recomputes "SummeBetrag" of an article row when `changed` is "Rabatt", "Einzelbetrag" or "Stueck"
// (exact case). kind 1: the order's own currency; 0: the second currency.
void RecalcLine(TDataGrid& grid, const std::string& changed, int row, int kind);

// Masks, digits and title colour of the amount columns for the order's currency and price mode.
void ApplyCurrencyMode(bool secondCurrency, bool net, TDataGrid& grid);

}  // namespace grid
