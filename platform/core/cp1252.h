#pragma once
// The Windows-1252 code page as a lossless table: every byte maps to one code point and back. The five
// bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same
// value, so that marker bytes such as 0x81 survive a round trip through the screen.
#include <string>
#include <string_view>

namespace core {

char32_t Cp1252ToUnicode(unsigned char byte);
// The byte for a code point, or -1 when Windows-1252 cannot represent it.
int UnicodeToCp1252(char32_t cp);

std::u32string Cp1252Decode(std::string_view bytes);
// Code points without a byte become '?'.
std::string Cp1252Encode(std::u32string_view text);

}  // namespace core
