#include "plugin/payload_compression.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace plugin;

namespace {
std::string Compress(const std::string& bytes) {
    core::MemoryStream src(bytes);
    core::MemoryStream dst;
    EXPECT_TRUE(CompressStream(src, dst));
    EXPECT_EQ(dst.Position(), 0);
    return dst.Bytes();
}

std::string Decompress(const std::string& bytes, int64_t* sourceEnd = nullptr) {
    core::MemoryStream src(bytes);
    core::MemoryStream dst;
    DecompressStream(src, dst);
    EXPECT_EQ(dst.Position(), 0);
    if (sourceEnd) *sourceEnd = src.Position();
    return dst.Bytes();
}

std::string Gzip(const std::string& bytes) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, bytes.size()) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string Payload() {
    std::string s = "\"Pos\",\"Menge\",\"Einzelbetrag\",\r\n";
    for (int i = 0; i < 500; ++i) s += "\"" + std::to_string(i) + "\",\"2\",\"12,50\",\r\n";
    return s;
}
}  // namespace

TEST(PayloadCompression, WritesOneZlibStreamAtLevelOne) {
    std::string z = Compress("");
    ASSERT_EQ(z.size(), 8u);
    EXPECT_EQ(static_cast<unsigned char>(z[0]), 0x78);
    EXPECT_EQ(static_cast<unsigned char>(z[1]), 0x01);
    EXPECT_EQ(Decompress(z), "");
    EXPECT_EQ(Decompress(Compress(Payload())), Payload());
}

TEST(PayloadCompression, CompressesAtTheDestinationsPosition) {
    core::MemoryStream src(std::string("abc"));
    core::MemoryStream dst(std::string("XY"));
    dst.Seek(0, core::soEnd);
    ASSERT_TRUE(CompressStream(src, dst));
    EXPECT_EQ(dst.Bytes().substr(0, 2), "XY");
    EXPECT_EQ(Decompress(dst.Bytes().substr(2)), "abc");
}

TEST(PayloadCompression, DecoderIsTolerant) {
    const std::string payload = Payload();
    std::string badTrailer = Compress(payload);
    badTrailer.back() ^= 0x55;
    std::string raw = Compress(payload).substr(2);
    raw.resize(raw.size() - 4);
    struct Case {
        const char* what;
        std::string input, output;
    } cases[] = {
        {"uncompressed payload passes unchanged", payload, payload},
        {"wrong Adler-32 trailer is not checked", badTrailer, payload},
        {"gzip", Gzip(payload), payload},
        {"raw deflate", raw, payload},
        {"empty source", "", ""},
        {"truncated stream falls back", Compress(payload).substr(0, 20), Compress(payload).substr(0, 20)},
        {"header only falls back", "\x78\x01", "\x78\x01"},
        {"trailing bytes ignored", Compress(payload) + "tail", payload},
    };
    for (const auto& c : cases) EXPECT_EQ(Decompress(c.input), c.output) << c.what;
}

TEST(PayloadCompression, SourceEndsBehindTheDeflateData) {
    std::string z = Compress("hello hello hello");
    int64_t end = 0;
    Decompress(z + "tail", &end);
    EXPECT_EQ(end, static_cast<int64_t>(z.size()) - 4);  // the trailer is not consumed
    Decompress("not compressed", &end);
    EXPECT_EQ(end, 0);
}
