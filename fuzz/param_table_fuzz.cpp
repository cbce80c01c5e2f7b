// Reads arbitrary bytes as a parameter-table text; whatever loads must write and read back to the same rows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "plugin/param_table_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plugin::ParamTable table;
    plugin::ParamTableFromText(std::string_view(reinterpret_cast<const char*>(data), size), table);
    plugin::ParamTable again;
    plugin::ParamTableFromText(plugin::ParamTableToText(table), again);
    if (!(again.Rows() == table.Rows())) std::abort();
    return 0;
}
