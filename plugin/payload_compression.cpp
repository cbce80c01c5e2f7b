#include "plugin/payload_compression.h"

#include <zlib.h>

#include <algorithm>
#include <string>

namespace plugin {

namespace {
constexpr int kLevel = 1;
constexpr int kWindowBits = 15;
constexpr int kMemLevel = 9;
constexpr size_t kChunk = 65536;

Bytef* In(const std::string& s) {
    return reinterpret_cast<Bytef*>(const_cast<char*>(s.data()));
}

// Whether an inflater for the given wrapper accepts the start of `input` as its header; on success the
// number of header bytes it consumed.
bool ReadHeader(const std::string& input, int windowBits, size_t& consumed) {
    z_stream z{};
    if (inflateInit2(&z, windowBits) != Z_OK) return false;
    z.next_in = In(input);
    z.avail_in = static_cast<uInt>(input.size());
    unsigned char sink[1];
    z.next_out = sink;
    z.avail_out = sizeof sink;
    // Z_BLOCK returns right after the header, before the first deflate block.
    int rc = inflate(&z, Z_BLOCK);
    bool ok = rc == Z_OK && z.total_in > 0 && z.total_out == 0;
    consumed = z.total_in;
    inflateEnd(&z);
    return ok;
}

// Raw-inflates input[offset..] until the final block; false on bad data or when the input ends first.
bool InflateRaw(const std::string& input, size_t offset, std::string& out, size_t& consumed) {
    z_stream z{};
    if (inflateInit2(&z, -kWindowBits) != Z_OK) return false;
    z.next_in = In(input) + offset;
    z.avail_in = static_cast<uInt>(input.size() - offset);
    // Inflate straight into the output, which grows by at least one chunk whenever it is full.
    out.resize(std::max(kChunk, 4 * (input.size() - offset)));
    int rc = Z_OK;
    while (rc == Z_OK) {
        if (z.total_out == out.size()) out.resize(out.size() + std::max(kChunk, out.size() / 2));
        z.next_out = reinterpret_cast<Bytef*>(out.data()) + z.total_out;
        z.avail_out = static_cast<uInt>(out.size() - z.total_out);
        rc = inflate(&z, Z_NO_FLUSH);
        if (rc == Z_BUF_ERROR) break;  // input exhausted before the final block
    }
    out.resize(z.total_out);
    consumed = z.total_in;
    inflateEnd(&z);
    return rc == Z_STREAM_END;
}

}  // namespace

bool CompressStream(core::MemoryStream& source, core::Stream& destination) {
    const std::string& input = source.Bytes();
    source.SetPosition(0);
    z_stream z{};
    bool ok = deflateInit2(&z, kLevel, Z_DEFLATED, kWindowBits, kMemLevel, Z_DEFAULT_STRATEGY) == Z_OK;
    if (ok) {
        z.next_in = In(input);
        z.avail_in = static_cast<uInt>(input.size());
        std::string out(deflateBound(&z, static_cast<uLong>(input.size())), '\0');
        z.next_out = reinterpret_cast<Bytef*>(out.data());
        z.avail_out = static_cast<uInt>(out.size());
        ok = deflate(&z, Z_FINISH) == Z_STREAM_END;
        out.resize(z.total_out);
        deflateEnd(&z);
        auto* memory = dynamic_cast<core::MemoryStream*>(&destination);
        if (memory != nullptr && memory->Size() == 0 && memory->Position() == 0)
            memory->MutableBytes().swap(out);
        else
            destination.WriteString(out);
    }
    destination.SetPosition(0);
    return ok;
}

void DecompressStream(core::Stream& source, core::MemoryStream& destination) {
    source.SetPosition(0);
    std::string input = source.ReadRest();
    size_t header = 0;
    if (!ReadHeader(input, kWindowBits, header) && !ReadHeader(input, kWindowBits + 16, header)) header = 0;

    std::string decoded;
    size_t used = 0;
    if (InflateRaw(input, header, decoded, used)) {
        if (destination.Size() == 0 && destination.Position() == 0)
            destination.MutableBytes().swap(decoded);
        else
            destination.WriteString(decoded);
        source.SetPosition(static_cast<int64_t>(header + used));
    } else {
        source.SetPosition(0);
        destination.Clear();
        destination.WriteString(input);
    }
    destination.SetPosition(0);
}

}  // namespace plugin
