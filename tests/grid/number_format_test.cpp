#include "grid/number_format.h"

#include <gtest/gtest.h>

#include "grid/number_settings.h"
#include "tests/support/temp_dir.h"

namespace {

grid::NumberSettings Euro() {
    return grid::NumberSettings{};
}

grid::NumberSettings Swiss() {
    grid::NumberSettings s;
    s.DecimalSeparator = '.';
    s.ThousandSeparator = '\'';
    s.FiveRappen = true;
    return s;
}

const std::string kEuroSumMask = ",#############0.00 \x80;-,#############0.00 \x80;#";

}  // namespace

TEST(FormatFloat, Pictures) {
    struct Case {
        std::string picture;
        long double value;
        bool swiss;
        std::string expected;
    };
    const Case cases[] = {
        {"#############0.00", 26.973L, false, "26,97"},
        {"#############0.00", 26.975L, false, "26,98"},  // halves away from zero, decimally
        {"#############0.00", -0.005L, false, "-0,01"},
        {"#############0.00", 0, false, "0,00"},
        {kEuroSumMask, 1234.5L, false, "1.234,50 \x80"},
        {kEuroSumMask, -1234567.891L, false, "-1.234.567,89 \x80"},
        {kEuroSumMask, 0, false, ""},       // the zero section "#" prints nothing
        {kEuroSumMask, 0.004L, false, ""},  // zero after rounding
        {",#############0.00 SFr\".\"", 1234.5L, true, "1'234.50 SFr."},
        {",#############0.00 2.W.", 1234.5L, false, "1.234,50 2W"},  // later full stops print nothing
        {"##.00 '%'", 16, false, "16,00 %"},
        {"##.0 '%'", 10, false, "10,0 %"},
        {"#######.00", 0.5L, false, ",50"},
        {"#######.00 'DM'", 38.9L, false, "38,90 DM"},
        {"0.###", 2.5L, false, "2,5"},
        {"0.###", 3, false, "3"},
        {"0.###", 1.23456L, true, "1.235"},
        {"#,##0", 1234567, false, "1.234.567"},
        {"0.00;(0.00)", -5, false, "(5,00)"},
        {"0000", 42, false, "0042"},
        {"#", 0, false, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid::FormatFloat(c.picture, c.value, c.swiss ? Swiss() : Euro()), c.expected) << c.picture;
}

TEST(ParseFloatOrZero, Texts) {
    struct Case {
        std::string text;
        bool swiss;
        long double expected;
    };
    const Case cases[] = {
        {"9,99", false, 9.99L}, {" -3,5 ", false, -3.5L}, {"+2", false, 2},       {"1e3", false, 1000},
        {",5", false, 0.5L},    {"1.5", false, 0},        {"1.000,00", false, 0}, {"abc", false, 0},
        {"", false, 0},         {"1,2,3", false, 0},      {"1.5", true, 1.5L},    {"1'000", true, 0},
        {"-", false, 0},        {"1e", false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grid::ParseFloatOrZero(c.text, c.swiss ? Swiss() : Euro()), c.expected) << c.text;
}

TEST(FloatToStrGeneral, ShortestForm) {
    EXPECT_EQ(grid::FloatToStrGeneral(19, Euro()), "19");
    EXPECT_EQ(grid::FloatToStrGeneral(7.5L, Euro()), "7,5");
    EXPECT_EQ(grid::FloatToStrGeneral(26.95L, Euro()), "26,95");
    EXPECT_EQ(grid::FloatToStrGeneral(-0.05L, Swiss()), "-0.05");
    EXPECT_EQ(grid::FloatToStrGeneral(0, Euro()), "0");
    EXPECT_EQ(grid::FloatToStrGeneral(0.1L + 0.2L, Euro()), "0,3");
}

TEST(RoundTo5Rappen, HalvesGoAwayFromZero) {
    struct Case {
        long double value, expected;
    };
    for (Case c : {Case{26.973L, 26.95L}, Case{26.974L, 26.95L}, Case{26.975L, 27.0L}, Case{0.025L, 0.05L},
                   Case{-0.025L, -0.05L}, Case{-0.075L, -0.10L}, Case{-26.973L, -26.95L}}) {
        EXPECT_NEAR(static_cast<double>(grid::RoundTo5Rappen(c.value, Swiss())),
                    static_cast<double>(c.expected), 1e-12)
            << static_cast<double>(c.value);
    }
    EXPECT_EQ(grid::RoundTo5Rappen(26.973L, Euro()), 26.973L);  // switch off: unchanged
}

TEST(RoundTextTo5Rappen, ShortestFormOrTheTextItself) {
    grid::NumberSettings s = Euro();
    s.FiveRappen = true;
    EXPECT_EQ(grid::RoundTextTo5Rappen("26,97", s), "26,95");
    EXPECT_EQ(grid::RoundTextTo5Rappen("10,00", s), "10");
    EXPECT_EQ(grid::RoundTextTo5Rappen("0,00", s), "0,00");
    EXPECT_EQ(grid::RoundTextTo5Rappen("0,01", s), "0,01");  // rounds to 0: the text stays
}

TEST(NumberSettings, WithoutIniFile) {
    testing_support::TempDir dir;
    grid::NumberSettings s = grid::ReadNumberSettings(dir.File("ALTEURO.INI"));
    EXPECT_EQ(s.DecimalSeparator, ',');
    EXPECT_EQ(s.ThousandSeparator, '.');
    EXPECT_FALSE(s.FiveRappen);
    EXPECT_EQ(s.CurrencySuffix, " \x80");
    EXPECT_EQ(s.UnitPriceDecimals, 0);
}

TEST(NumberSettings, FromIniFile) {
    struct Case {
        std::string ini;
        char decimal, thousand;
        bool fiveRappen;
        std::string suffix, euro;
        int unitDecimals;
    };
    const Case cases[] = {
        {"[COUNTRY]\r\nEURO=0\r\n", '.', '\'', true, " SFr\".\"", " \x80", 0},
        {"[COUNTRY]\r\nEURO=0\r\n[CH-CHAR]\r\nVALUE=CHF\r\n", '.', '\'', true, " CHF", " \x80", 0},
        {"[EUCHAR]\r\nVALUE=EUR\r\n", ',', '.', false, " EUR", "EUR", 0},
        {"[EUCHAR]\r\nNULL=1\r\n", ',', '.', false, " ", "", 0},
        {"[COUNTRY]\r\nNACHKOMMA3=4\r\n", ',', '.', false, " \x80", " \x80", 4},
        {"[COUNTRY]\r\nNACHKOMMA3=0x1\r\n", ',', '.', false, " \x80", " \x80", 1},
        {"[COUNTRY]\r\nNACHKOMMA3=2\r\n", ',', '.', false, " \x80", " \x80", 0},
        {"[country]\r\neuro=0x0\r\n", '.', '\'', true, " SFr\".\"", " \x80", 0},
    };
    for (const Case& c : cases) {
        testing_support::TempDir dir;
        dir.Write("ALTEURO.INI", c.ini);
        grid::NumberSettings s = grid::ReadNumberSettings(dir.File("ALTEURO.INI"));
        EXPECT_EQ(s.DecimalSeparator, c.decimal) << c.ini;
        EXPECT_EQ(s.ThousandSeparator, c.thousand) << c.ini;
        EXPECT_EQ(s.FiveRappen, c.fiveRappen) << c.ini;
        EXPECT_EQ(s.CurrencySuffix, c.suffix) << c.ini;
        EXPECT_EQ(s.EuroSymbol, c.euro) << c.ini;
        EXPECT_EQ(s.CurrencyString, c.euro) << c.ini;  // step 3 sets it to the euro symbol
        EXPECT_EQ(s.UnitPriceDecimals, c.unitDecimals) << c.ini;
    }
}
