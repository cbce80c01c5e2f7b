#include "grid/number_format.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace grid {

namespace {

// A non-negative decimal number as digits and the position of the decimal point in them.
struct Decimal {
    std::string digits;  // no leading zeros unless the number is 0 ("" for 0)
    int point = 0;       // digits before the decimal point; may be negative or beyond the digits
};

// 18 significant digits of |v|: as many as the extended format carries.
Decimal ToDecimal(long double v) {
    Decimal d;
    v = std::fabs(v);
    if (v == 0 || !std::isfinite(v)) return d;
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 17);
    std::string_view s(buf, r.ptr - buf);
    size_t e = s.find('e');
    for (char c : s.substr(0, e))
        if (c != '.') d.digits += c;
    int exp = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), s.data() + s.size(), exp);
    d.point = exp + 1;
    return d;
}

// Rounds to `decimals` places, halves away from zero, and drops trailing zeros.
Decimal Rounded(Decimal d, int decimals) {
    int keep = d.point + decimals;
    if (keep < 0) return {};
    if (keep < static_cast<int>(d.digits.size())) {
        bool up = d.digits[keep] >= '5';
        d.digits.resize(keep);
        if (up) {
            int i = keep - 1;
            for (; i >= 0 && d.digits[i] == '9'; --i) d.digits[i] = '0';
            if (i >= 0) {
                ++d.digits[i];
            } else {
                d.digits.insert(d.digits.begin(), '1');
                ++d.point;
            }
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.point = 0;
    return d;
}

std::string IntegerDigits(const Decimal& d) {
    if (d.point <= 0) return {};
    std::string s = d.digits.substr(0, std::min<size_t>(d.point, d.digits.size()));
    s.append(d.point - s.size(), '0');
    return s;
}

std::string FractionDigits(const Decimal& d, int decimals) {
    std::string s;
    for (int i = 0; i < decimals; ++i) {
        int k = d.point + i;
        s += k >= 0 && k < static_cast<int>(d.digits.size()) ? d.digits[k] : '0';
    }
    return s;
}

// Splits a picture into its sections at ";" outside quotes.
std::vector<std::string_view> Sections(std::string_view picture) {
    std::vector<std::string_view> out;
    char quote = 0;
    size_t start = 0;
    for (size_t i = 0; i < picture.size(); ++i) {
        char c = picture[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ';') {
            out.push_back(picture.substr(start, i - start));
            start = i + 1;
        }
    }
    out.push_back(picture.substr(start));
    return out;
}

// What a section asks for: digit places around the decimal point and grouping.
struct SectionShape {
    int intPlaces = 0;   // "0" and "#" before the decimal point
    int minInt = 0;      // places from the first "0" before the point to the point
    int fracPlaces = 0;  // "0" and "#" after the point
    int minFrac = 0;     // places up to the last "0" after the point
    bool grouping = false;
    bool hasPoint = false;
};

SectionShape Shape(std::string_view section) {
    SectionShape sh;
    char quote = 0;
    int firstZero = -1;
    for (char c : section) {
        if (quote) {
            if (c == quote) quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ',') {
            sh.grouping = true;
        } else if (c == '.') {
            sh.hasPoint = true;
        } else if (c == '0' || c == '#') {
            if (!sh.hasPoint) {
                if (c == '0' && firstZero < 0) firstZero = sh.intPlaces;
                ++sh.intPlaces;
            } else {
                ++sh.fracPlaces;
                if (c == '0') sh.minFrac = sh.fracPlaces;
            }
        }
    }
    sh.minInt = firstZero < 0 ? 0 : sh.intPlaces - firstZero;
    return sh;
}

// Writes one section for a value already rounded to the section's decimals.
std::string Render(std::string_view section, const Decimal& d, bool minus, const NumberSettings& s) {
    SectionShape sh = Shape(section);
    std::string digits = IntegerDigits(d);
    if (static_cast<int>(digits.size()) < sh.minInt) digits.insert(0, sh.minInt - digits.size(), '0');
    std::string frac = FractionDigits(d, sh.fracPlaces);
    int fracShown = sh.fracPlaces;
    while (fracShown > sh.minFrac && frac[fracShown - 1] == '0') --fracShown;

    std::string out;
    if (minus) out += '-';
    const int len = static_cast<int>(digits.size());
    auto emitDigit = [&](int pos) {  // pos: place value from the right, 0 for units
        out += digits[len - 1 - pos];
        if (sh.grouping && pos > 0 && pos % 3 == 0) out += s.ThousandSeparator;
    };
    char quote = 0;
    bool afterPoint = false, pointSeen = false;
    int intIndex = 0, fracIndex = 0;
    for (char c : section) {
        if (quote) {
            if (c == quote)
                quote = 0;
            else
                out += c;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == ',') {
        } else if (c == '.') {
            if (!pointSeen && fracShown > 0) out += s.DecimalSeparator;
            afterPoint = pointSeen = true;
        } else if ((c == '0' || c == '#') && !afterPoint) {
            int pos = sh.intPlaces - 1 - intIndex++;
            if (intIndex == 1) {
                for (int p = len - 1; p > pos; --p) emitDigit(p);  // digits beyond the places
            }
            if (pos < len) emitDigit(pos);
        } else if (c == '0' || c == '#') {
            if (fracIndex < fracShown) out += frac[fracIndex];
            ++fracIndex;
        } else {
            out += c;
        }
    }
    return out;
}

bool IsZeroSection(std::string_view section) {
    return section == "#";
}

}  // namespace

std::string FormatFloat(std::string_view picture, long double value, const NumberSettings& s) {
    std::vector<std::string_view> sections = Sections(picture);
    std::string_view positive = sections[0];
    bool negative = value < 0;
    std::string_view section = positive;
    bool minus = false;
    if (negative && sections.size() > 1 && !sections[1].empty()) {
        section = sections[1];
    } else if (negative) {
        minus = true;
    }
    Decimal d = Rounded(ToDecimal(value), Shape(section).fracPlaces);
    if (d.digits.empty() && sections.size() > 2 && !sections[2].empty()) {
        // Zero after rounding: the zero section; "#" alone prints nothing.
        if (IsZeroSection(sections[2])) return {};
        return Render(sections[2], {}, false, s);
    }
    if (d.digits.empty()) minus = false;
    return Render(section, d, minus, s);
}

bool TryParseFloat(std::string_view text, long double& value, const NumberSettings& s) {
    size_t i = 0, n = text.size();
    while (i < n && text[i] == ' ') ++i;
    while (n > i && text[n - 1] == ' ') --n;
    std::string normalized;
    if (i < n && (text[i] == '+' || text[i] == '-')) normalized += text[i++];
    bool digits = false, point = false;
    for (; i < n; ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            normalized += c;
            digits = true;
        } else if (c == s.DecimalSeparator && !point) {
            normalized += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        normalized += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) normalized += text[i++];
        bool expDigits = false;
        for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
            normalized += text[i];
            expDigits = true;
        }
        if (!expDigits) return false;
    }
    if (i != n) return false;
    const char* first = normalized.data() + (normalized[0] == '+');
    long double v = 0;
    auto r = std::from_chars(first, normalized.data() + normalized.size(), v);
    if (r.ec != std::errc() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

long double ParseFloatOrZero(std::string_view text, const NumberSettings& s) {
    long double v = 0;
    return TryParseFloat(text, v, s) ? v : 0.0L;
}

std::string FloatToStrGeneral(long double value, const NumberSettings& s) {
    if (!std::isfinite(value)) return value != value ? "NAN" : (value < 0 ? "-INF" : "INF");
    Decimal d = ToDecimal(value);
    // 15 significant digits.
    d = Rounded(d, 15 - d.point);
    if (d.digits.empty()) return "0";
    std::string out = value < 0 ? "-" : "";
    if (d.point > 15 || d.point < -3) {
        out += d.digits[0];
        if (d.digits.size() > 1) out += s.DecimalSeparator + d.digits.substr(1);
        int exp = d.point - 1;
        out += exp < 0 ? "E-" : "E+";
        std::string e = std::to_string(std::abs(exp));
        out += std::string(e.size() < 2 ? 2 - e.size() : 0, '0') + e;
        return out;
    }
    std::string intPart = IntegerDigits(d);
    out += intPart.empty() ? "0" : intPart;
    int fracDigits = static_cast<int>(d.digits.size()) - d.point;
    if (fracDigits > 0) out += s.DecimalSeparator + FractionDigits(d, fracDigits);
    return out;
}

long double RoundTo5Rappen(long double value, const NumberSettings& s) {
    if (!s.FiveRappen) return value;
    long double scaled = value >= 0 ? value * 20 + 0.5L : value * 20 - 0.5L;
    return std::trunc(scaled) / 20;
}

std::string RoundTextTo5Rappen(const std::string& text, const NumberSettings& s) {
    std::string out = FloatToStrGeneral(RoundTo5Rappen(ParseFloatOrZero(text, s), s), s);
    return out == "0" ? text : out;
}

}  // namespace grid
