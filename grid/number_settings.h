#pragma once
// The module's number and currency settings: one set for the whole process, fixed when the library is
// first used (from "ALTEURO.INI" beside the host's executable), so that number texts never depend on the
// C or system locale. Only FiveRappen changes later.
#include <string>

namespace grid {

struct NumberSettings {
    char DecimalSeparator = ',';
    char ThousandSeparator = '.';
    char DateSeparator = '.';
    std::string CurrencyString = " \x80";  // the platform's currency string
    int CurrencyFormat = 1;
    int NegCurrFormat = 5;
    int CurrencyDecimals = 2;
    bool FiveRappen = false;
    int UnitPriceDecimals = 0;  // 0, 1 or 4
    std::string EuroSymbol = " \x80";
    std::string CurrencySuffix = " \x80";
    std::string SecondCurrencyLabel = " 2.W.";
};

// Settings as read from a profile file; a missing or unreadable file gives the defaults.
NumberSettings ReadNumberSettings(const std::string& iniFileName);

// The process-wide settings. The first call reads "ALTEURO.INI" from the host executable's directory.
NumberSettings& Settings();
// Replaces the process-wide settings (tests, and a host that wants them read again).
void ResetSettings(const NumberSettings& settings);

}  // namespace grid
