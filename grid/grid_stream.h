#pragma once
// The pieces of the host's order-line text format: reading lines and quoted fields, and the escapes of
// cell texts. The grid assembles them into its LoadFromStream and SaveToStream.
#include <bit>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <string>
#include <string_view>

#include "platform/core/stream.h"
#include "platform/core/strings.h"

namespace grid {

inline constexpr const char* kDataDefStart = "@@DATADEF START@@";
inline constexpr const char* kDataDefEnd = "@@DATADEF END@@";
inline constexpr const char* kSecondField = "SecondField";

// Reads a stream from its position in blocks of 8192 bytes. A line ends at a run of bytes 0, 10 and
// 13, so blank lines never come out; end-of-line bytes before the first line are skipped as well.
class StreamLineReader {
  public:
    explicit StreamLineReader(core::Stream& stream) : stream_(stream) {}
    // The next non-empty line; false at the end of the stream. The view is valid until the next call.
    bool Next(std::string_view& line);
    bool Next(std::string& line) {
        std::string_view view;
        bool more = Next(view);
        line.assign(view);
        return more;
    }

  private:
    bool Fill();
    core::Stream& stream_;
    std::string block_;
    std::string carry_;  // a line that runs across blocks
    size_t pos_ = 0;
    bool end_ = false;
};

// Reads the field at pos and moves pos past it (and past the byte after its closing quote). Bytes
// outside quotes are never part of a field: an unquoted value reads as empty.
std::string ReadField(std::string_view line, size_t& pos);
// The same into a buffer that is reused from field to field.
void ReadField(std::string_view line, size_t& pos, std::string& field);
// The same appended to out, which keeps what it held before. False when the field's bytes hold no "%",
// so that there is nothing to unescape (true does not promise that a kept byte is one).
bool AppendField(std::string_view line, size_t& pos, std::string& out);
// The same into a raw buffer at out + used, which moves past the field's bytes. The buffer needs room for
// the rest of the line from pos. (Inline, below: a loader calls it for every field.)
bool ReadFieldInto(std::string_view line, size_t& pos, char* out, size_t& used);
// Whether another field may follow: the read position lies before the line's last byte.
inline bool MoreFields(std::string_view line, size_t pos) {
    return pos + 1 < line.size();
}

// Cell texts: byte 0 as "%0", LF as "%n", CR as "%c", "%" as "%%".
using core::EscapeText;
// The reverse; "%" before any other byte gives that byte, a "%" at the end stays.
std::string UnescapeText(std::string_view text);
// In double quotes, inner double quotes doubled.
std::string Quote(std::string_view text);
// Writes escaped and quoted fields into a stream through one reused buffer.
class FieldWriter {
  public:
    explicit FieldWriter(core::Stream& stream);
    // The text escaped and quoted, then the separator byte (0 for none).
    void Field(std::string_view text, char separator);
    void Raw(std::string_view bytes);
    // Room for n bytes, to be written from the pointer returned and then committed with the pointer
    // past the last byte written.
    char* Room(size_t n);
    void Commit(char* end) { used_ = static_cast<size_t>(end - buffer_.get()); }
    void Flush();

  private:
    static constexpr size_t kInitialSize = size_t{1} << 16;
    core::Stream& stream_;
    std::unique_ptr<char[]> buffer_;
    size_t capacity_;
    size_t used_ = 0;
};

// Reads the fields of one line as ReadFieldInto does, faster for the common field (quoted, no doubled
// quote): the line's quotes are found in one pass first, so that field after field is cut out without
// waiting for the bytes of the one before. Any other field goes through ReadFieldInto.
class FieldSplitter {
  public:
    // Takes a new line; its bytes must stay in place while its fields are read.
    void Scan(std::string_view line);
    // Reads up to max fields from pos on, as ReadFieldInto would one after the other while MoreFields
    // holds: the bytes of field k end at ends[k] in out, percents[k] tells whether they held a "%". Returns
    // the number of fields read; pos moves past them. out needs room for the line's bytes plus kSlack.
    static constexpr size_t kSlack = 32;
    size_t Read(std::string_view line, size_t& pos, size_t max, char* out, uint32_t* ends, bool* percents);

  private:
    std::unique_ptr<uint32_t[]> quotes_;  // positions of the line's double quotes, ascending
    size_t room_ = 0;
    size_t count_ = 0;
    size_t next_ = 0;  // the first quote not yet used
    bool percent_ = false;
};

// Whether the bytes hold one that the writer escapes or doubles. Reads in whole 16-byte steps: at least
// 15 readable bytes must follow the text.
bool HoldsSpecialByte(std::string_view bytes);
// Copies n bytes in whole 16-byte steps: at least 15 readable bytes must follow the source and 15
// writable bytes the destination. Returns the end of the bytes copied.
inline char* CopyInSteps(char* to, const char* from, size_t n) {
    for (size_t i = 0; i < n; i += 16) std::memcpy(to + i, from + i, 16);
    return to + n;
}

// Unescapes size bytes at data in place; returns the unescaped length.
size_t UnescapeBytes(char* data, size_t size);

inline bool ReadFieldInto(std::string_view line, size_t& pos, char* out, size_t& used) {
    if (line.empty()) return false;
    const char* const data = line.data();
    const size_t size = line.size(), last = size - 1;
    while (pos < last && data[pos] != '"' && data[pos] != ',') ++pos;
    if (pos > last || (data[pos] != '"' && data[pos] != ',')) return false;
    if (data[pos] == ',') {
        ++pos;
        return false;
    }
    ++pos;  // the opening quote
    bool percent = false;
    size_t kept = used;  // bytes up to and including the last doubled quote
    for (;;) {
        // Copy up to the next quote. Whole 16-byte steps go out as they came in; the bytes stored past
        // the quote are overwritten or dropped, and never reach past the room the line's bytes give.
        bool quote = false;
#if defined(__SSE2__)
        const __m128i quoteBytes = _mm_set1_epi8('"'), percentBytes = _mm_set1_epi8('%');
        while (pos + 16 <= size) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + pos));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + used), v);
            const unsigned quotes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, quoteBytes)));
            const unsigned percents =
                static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, percentBytes)));
            if (quotes) {
                const int n = std::countr_zero(quotes);
                percent |= (percents & ((1u << n) - 1)) != 0;
                used += static_cast<size_t>(n);
                pos += static_cast<size_t>(n);
                quote = true;
                break;
            }
            percent |= percents != 0;
            used += 16;
            pos += 16;
        }
#endif
        if (!quote) {
            while (pos < size && data[pos] != '"') {
                percent |= data[pos] == '%';
                out[used++] = data[pos++];
            }
            if (pos == size) break;  // no closing quote
        }
        if (pos + 1 < size && data[pos + 1] == '"') {
            out[used++] = '"';
            pos += 2;
            kept = used;
        } else {
            pos += 2;  // the closing quote and the separator after it
            return percent;
        }
    }
    pos = size;
    used = kept;  // no closing quote: what followed the last doubled quote is dropped
    return percent;
}

}  // namespace grid
