#include "grid/number_settings.h"

#include "platform/core/paths.h"
#include "platform/core/profile.h"

namespace grid {

namespace {

std::string WithLeadingBlank(const std::string& s) {
    return !s.empty() && s[0] == ' ' ? s : " " + s;
}

// Currency symbols; an error leaves what was reached so far.
void ReadCurrencySymbols(const core::IniFile& ini, NumberSettings& s) {
    try {
        s.EuroSymbol = std::string(" \x80");
        s.CurrencyString = s.CurrencySuffix = s.EuroSymbol;
        std::string value = ini.ReadString("EUCHAR", "VALUE", "");
        if (!value.empty()) s.EuroSymbol = s.CurrencyString = s.CurrencySuffix = value;
        if (ini.ReadBool("EUCHAR", "NULL", false)) s.EuroSymbol = s.CurrencyString = s.CurrencySuffix = "";
        if (!ini.ReadBool("COUNTRY", "EURO", true)) {
            std::string swiss = ini.ReadString("CH-CHAR", "VALUE", "");
            s.CurrencyString = s.CurrencySuffix = !swiss.empty() ? swiss : std::string(" SFr\".\"");
        } else {
            s.CurrencyString = s.CurrencySuffix = s.EuroSymbol;
        }
        s.CurrencyString = WithLeadingBlank(s.CurrencyString);
        s.CurrencySuffix = WithLeadingBlank(s.CurrencySuffix);
    } catch (...) {
    }
}

void ReadCountrySettings(const core::IniFile& ini, NumberSettings& s) {
    try {
        bool euro = ini.ReadBool("COUNTRY", "EURO", true);
        s.DecimalSeparator = euro ? ',' : '.';
        s.ThousandSeparator = euro ? '.' : '\'';
        s.FiveRappen = !euro;
        int decimals = ini.ReadInteger("COUNTRY", "NACHKOMMA3", 0);
        s.UnitPriceDecimals = decimals == 1 || decimals == 4 ? decimals : 0;
    } catch (...) {
    }
}

NumberSettings& Current() {
    static NumberSettings settings = ReadNumberSettings(core::ExecutableDir() + "ALTEURO.INI");
    return settings;
}

// The settings are fixed when the library is loaded, not when a number is first formatted.
[[maybe_unused]] const bool kReadAtLoad = (Current(), true);

}  // namespace

NumberSettings ReadNumberSettings(const std::string& iniFileName) {
    NumberSettings s;
    core::IniFile ini(iniFileName);
    s.FiveRappen = false;
    s.UnitPriceDecimals = 0;
    ReadCurrencySymbols(ini, s);
    s.CurrencyString = s.EuroSymbol;
    s.CurrencyFormat = 1;
    s.NegCurrFormat = 5;
    s.ThousandSeparator = '.';
    s.DecimalSeparator = ',';
    s.CurrencyDecimals = 2;
    s.DateSeparator = '.';
    ReadCountrySettings(ini, s);
    return s;
}

NumberSettings& Settings() {
    return Current();
}

void ResetSettings(const NumberSettings& settings) {
    Current() = settings;
}

}  // namespace grid
