#pragma once
// Small text helpers on 8-bit strings, independent of the C and the system locale.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Leading blanks, an optional sign, then decimal digits or a hexadecimal number introduced by "$" or
// "0x"/"0X"; within the signed 32-bit range and nothing behind it. Anything else gives nullopt.
std::optional<int32_t> TryStrToInt(std::string_view text);
inline int32_t StrToIntDef(std::string_view text, int32_t fallback) {
    return TryStrToInt(text).value_or(fallback);
}

// The "%" escape of the host's text formats: byte 0, LF, CR and "%" become "%0", "%n", "%c" and "%%".
std::string EscapeText(std::string_view text);

// ASCII-only case folding: the profile files and headers compare names without regard to case.
std::string AsciiUpper(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace core
