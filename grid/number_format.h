#pragma once
// Number texts of the order lines: the number-picture language of the display and edit masks, text to
// number, the shortest general form and the 5-Rappen rounding. All arithmetic is in long double (the
// 80-bit extended format on x86), and no function depends on the C or system locale.
#include <string>
#include <string_view>

#include "grid/number_settings.h"

namespace grid {

// Formats value by a picture: up to three sections (positive;negative;zero); "0" and "#" digits, the first
// "." the decimal point, "," anywhere groups thousands, quoted text and every other character literal.
std::string FormatFloat(std::string_view picture, long double value, const NumberSettings& s = Settings());

// Optional blanks, an optional sign, digits with at most one decimal separator, an optional exponent,
// optional blanks; anything else (a thousand separator included) gives 0. Never raises.
long double ParseFloatOrZero(std::string_view text, const NumberSettings& s = Settings());
// The same, but nullopt-like: false when the text is not a number.
bool TryParseFloat(std::string_view text, long double& value, const NumberSettings& s = Settings());

// The shortest general form: up to 15 significant digits, the decimal separator, no grouping, no
// trailing zeros ("19", "7,5", "26,95").
std::string FloatToStrGeneral(long double value, const NumberSettings& s = Settings());

// Rounds to a multiple of 0.05, halves away from zero; unchanged when FiveRappen is off.
long double RoundTo5Rappen(long double value, const NumberSettings& s = Settings());
// The text rounded and written in the shortest general form; the text itself when that form is "0".
std::string RoundTextTo5Rappen(const std::string& text, const NumberSettings& s = Settings());

}  // namespace grid
