// Profile-file reader: any bytes parse, the unchanged text comes back byte for byte, and a write changes
// the value it names and no other.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/profile.h"

namespace {

using Snapshot = std::vector<std::pair<std::pair<std::string, std::string>, std::string>>;

Snapshot AllValues(const core::ProfileText& text) {
    Snapshot values;
    for (const std::string& section : text.Sections())
        for (const std::string& key : text.Keys(section)) {
            auto value = text.Value(section, key);
            if (!value) std::abort();  // a listed key must be readable
            values.push_back({{section, key}, *value});
        }
    return values;
}

std::optional<core::ProfileText> Written(core::ProfileText text, const std::string& section,
                                         const std::string& key, const std::string& value) {
    if (!text.SetValue(section, key, value)) return std::nullopt;
    core::ProfileText reread(text.Text());
    if (reread.Value(section, key) != value) std::abort();
    return reread;
}

// Writes two different values into copies: every other key keeps its value in both, and only the written
// key (whatever its spelling in the file) follows the value.
void CheckWrite(const core::ProfileText& original, const std::string& section, const std::string& key) {
    const std::string first = "C:\\x\\Vorlux.DLL", second = "90";
    auto a = Written(original, section, key, first);
    auto b = Written(original, section, key, second);
    if (a.has_value() != b.has_value()) std::abort();
    if (!a) return;
    for (const auto& [name, before] : AllValues(original)) {
        auto va = a->Value(name.first, name.second), vb = b->Value(name.first, name.second);
        bool untouched = va == before && vb == before;
        bool written = va == first && vb == second;
        if (!untouched && !written) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    core::ProfileText text(bytes);
    if (text.Text() != bytes) std::abort();
    AllValues(text);
    CheckWrite(text, "GLOBAL", "DLL");
    auto sections = text.Sections();
    if (!sections.empty()) {
        CheckWrite(text, sections.front(), "Width");
        auto keys = text.Keys(sections.back());
        if (!keys.empty()) CheckWrite(text, sections.back(), keys.front());
    }
    return 0;
}
