// Rich-text reader and writer: any bytes read without failing; once saved, a document loads and saves
// again as the same bytes, and loads again as the same document.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/rtf_reader.h"
#include "ui/rtf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string saved = rtf::Write(rtf::Read(bytes));
    const rtf::Document loaded = rtf::Read(saved);
    const std::string savedAgain = rtf::Write(loaded);
    if (savedAgain != saved) std::abort();
    if (!(rtf::Read(savedAgain) == loaded)) std::abort();
    return 0;
}
