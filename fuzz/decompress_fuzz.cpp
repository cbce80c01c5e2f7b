// Decodes arbitrary bytes as a payload: never fails, and what does not decode comes back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plugin/payload_compression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    core::MemoryStream source(input), destination;
    plugin::DecompressStream(source, destination);
    if (destination.Position() != 0) std::abort();
    if (source.Position() == 0 && destination.Bytes() != input) std::abort();
    core::MemoryStream again(destination.Bytes()), packed;
    if (!plugin::CompressStream(again, packed)) std::abort();
    return 0;
}
