// Number pictures come from forms and from the currency text of a profile file: any picture and any
// number text is formatted and parsed without crashing.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "grid/number_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\n');
    std::string_view picture = input.substr(0, split);
    std::string_view number = split == std::string_view::npos ? input : input.substr(split + 1);
    grid::NumberSettings s;
    long double value = grid::ParseFloatOrZero(number, s);
    grid::FormatFloat(picture, value, s);
    grid::FormatFloat(picture, -value, s);
    grid::FloatToStrGeneral(value, s);
    s.FiveRappen = true;
    grid::RoundTextTo5Rappen(std::string(number), s);
    return 0;
}
