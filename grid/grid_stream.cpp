#include "grid/grid_stream.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace grid {

namespace {

constexpr int64_t kBlockSize = 8192;

bool IsLineEnd(char c) {
    return c == '\0' || c == '\n' || c == '\r';
}

// Index of the first line-end byte in data[from, size), or size: the nearest of CR, LF and zero.
size_t LineEndIn(const char* data, size_t from, size_t size) {
    size_t i = from;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, zero));
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)))
            return i + std::countr_zero(mask);
    }
#endif
    while (i < size && !IsLineEnd(data[i])) ++i;
    return i;
}

}  // namespace

bool StreamLineReader::Fill() {
    if (end_) return false;
    block_.resize(kBlockSize);
    int64_t n = stream_.Read(block_.data(), kBlockSize);
    if (n <= 0) {
        end_ = true;
        block_.clear();
        pos_ = 0;
        return false;
    }
    block_.resize(static_cast<size_t>(n));
    pos_ = 0;
    return true;
}

bool StreamLineReader::Next(std::string_view& line) {
    line = {};
    // Skip the run of line ends before the line, wherever the blocks break.
    for (;;) {
        while (pos_ < block_.size() && IsLineEnd(block_[pos_])) ++pos_;
        if (pos_ < block_.size() || !Fill()) break;
    }
    bool carried = false;
    carry_.clear();
    for (;;) {
        const size_t start = pos_;
        const char* data = block_.data();
        const size_t size = block_.size();
        pos_ = LineEndIn(data, pos_, size);
        if (pos_ < size) {  // the line ends in this block
            if (!carried) {
                line = std::string_view(data + start, pos_ - start);
            } else {
                carry_.append(block_, start, pos_ - start);
                line = carry_;
            }
            return !line.empty();
        }
        carry_.append(block_, start, pos_ - start);
        carried = true;
        if (!Fill()) break;
    }
    line = carry_;
    return !line.empty();
}

std::string ReadField(std::string_view line, size_t& pos) {
    std::string field;
    ReadField(line, pos, field);
    return field;
}

void ReadField(std::string_view line, size_t& pos, std::string& field) {
    field.clear();
    AppendField(line, pos, field);
}

bool AppendField(std::string_view line, size_t& pos, std::string& out) {
    size_t used = out.size();
    out.resize(used + (pos < line.size() ? line.size() - pos : 0));
    const bool percent = ReadFieldInto(line, pos, out.data(), used);
    out.resize(used);
    return percent;
}

std::string UnescapeText(std::string_view text) {
    std::string out(text);
    out.resize(UnescapeBytes(out.data(), out.size()));
    return out;
}

namespace {

// Bytes the writer escapes or doubles.
constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> t{};
    for (unsigned char c : {'\0', '\n', '\r', '%', '"'}) t[c] = true;
    return t;
}();

}  // namespace

void FieldSplitter::Scan(std::string_view line) {
    const char* const data = line.data();
    const size_t size = line.size();
    if (room_ < size) {
        room_ = std::max(size, 2 * room_);
        quotes_ = std::make_unique_for_overwrite<uint32_t[]>(room_);
    }
    uint32_t* const quotes = quotes_.get();
    size_t n = 0, i = 0;
    bool percent = false;
#if defined(__SSE2__)
    const __m128i quote = _mm_set1_epi8('"'), percentByte = _mm_set1_epi8('%');
    for (; i + 16 <= size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, quote)));
        percent |= _mm_movemask_epi8(_mm_cmpeq_epi8(v, percentByte)) != 0;
        for (; mask; mask &= mask - 1) quotes[n++] = static_cast<uint32_t>(i + std::countr_zero(mask));
    }
#endif
    for (; i < size; ++i) {
        if (data[i] == '"') quotes[n++] = static_cast<uint32_t>(i);
        percent |= data[i] == '%';
    }
    count_ = n;
    next_ = 0;
    percent_ = percent;
}

size_t FieldSplitter::Read(std::string_view line, size_t& pos, size_t max, char* out, uint32_t* ends,
                           bool* percents) {
    const char* const data = line.data();
    const size_t size = line.size();
    const uint32_t* const quotes = quotes_.get();
    size_t next = next_, p = pos, used = 0, k = 0;
    for (; k < max && p + 1 < size; ++k) {
        while (next < count_ && quotes[next] < p) ++next;  // quotes a general read went past
        bool percent;
        if (next + 1 < count_ && quotes[next] == p &&
            (next + 2 == count_ || quotes[next + 2] != quotes[next + 1] + 1)) {
            // Quoted, without a doubled quote: the bytes between the two quotes.
            const size_t close = quotes[next + 1];
            const char* from = data + p + 1;
            const size_t n = close - p - 1;
            if (close + kSlack <= size) {
                // Most fields are short: one copy of 32 bytes, whatever their length, spares a branch
                // that would often guess wrong.
                std::memcpy(out + used, from, kSlack);
                if (n > kSlack) CopyInSteps(out + used + kSlack, from + kSlack, n - kSlack);
            } else if (n) {
                std::memcpy(out + used, from, n);
            }
            used += n;
            p = close + 2;  // the closing quote and the separator after it
            next += 2;
            percent = percent_ && std::memchr(from, '%', n) != nullptr;
        } else {
            size_t at = p, end = used;
            percent = ReadFieldInto(line, at, out, end);
            p = at;
            used = end;
        }
        ends[k] = static_cast<uint32_t>(used);
        percents[k] = percent;
    }
    next_ = next;
    pos = p;
    return k;
}

bool HoldsSpecialByte(std::string_view bytes) {
    const char* const data = bytes.data();
    const size_t size = bytes.size();
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'),
                  percent = _mm_set1_epi8('%'), quote = _mm_set1_epi8('"');
    for (size_t i = 0; i < size; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i hit = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, zero), _mm_cmpeq_epi8(v, lf)), _mm_cmpeq_epi8(v, cr)),
            _mm_or_si128(_mm_cmpeq_epi8(v, percent), _mm_cmpeq_epi8(v, quote)));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        if (size - i < 16) mask &= (1u << (size - i)) - 1;  // bytes past the text do not count
        if (mask) return true;
    }
    return false;
#else
    for (size_t i = 0; i < size; ++i)
        if (kSpecial[static_cast<unsigned char>(data[i])]) return true;
    return false;
#endif
}

// 64 KiB stays below the size the allocator serves by mapping fresh pages: the buffer comes from the heap
// already touched instead of page faults on every save.
FieldWriter::FieldWriter(core::Stream& stream)
    : stream_(stream),
      buffer_(std::make_unique_for_overwrite<char[]>(kInitialSize)),
      capacity_(kInitialSize) {}

char* FieldWriter::Room(size_t n) {
    if (used_ + n > capacity_) {
        Flush();
        if (n > capacity_) {
            buffer_ = std::make_unique_for_overwrite<char[]>(n);
            capacity_ = n;
        }
    }
    return buffer_.get() + used_;
}

void FieldWriter::Flush() {
    if (used_) stream_.WriteBuffer(buffer_.get(), static_cast<int64_t>(used_));
    used_ = 0;
}

void FieldWriter::Raw(std::string_view bytes) {
    char* p = Room(bytes.size());
    if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
    used_ += bytes.size();
}

void FieldWriter::Field(std::string_view text, char separator) {
    char* const start = Room(2 * text.size() + 3);  // every byte escaped, two quotes, the separator
    char* p = start;
    *p++ = '"';
    for (char c : text) {
        if (!kSpecial[static_cast<unsigned char>(c)]) {
            *p++ = c;
            continue;
        }
        switch (c) {
            case '\0':
                *p++ = '%', *p++ = '0';
                break;
            case '\n':
                *p++ = '%', *p++ = 'n';
                break;
            case '\r':
                *p++ = '%', *p++ = 'c';
                break;
            case '%':
                *p++ = '%', *p++ = '%';
                break;
            default:
                *p++ = '"', *p++ = '"';
        }
    }
    *p++ = '"';
    if (separator) *p++ = separator;
    used_ += static_cast<size_t>(p - start);
}

size_t UnescapeBytes(char* data, size_t size) {
    // Unescaping only ever shrinks the text, so it is done where the text lies.
    // Cell texts are short and seldom hold an escape: a plain scan beats a library call here.
    size_t first = 0;
    while (first < size && data[first] != '%') ++first;
    if (first >= size) return size;
    size_t w = first;
    for (size_t i = first; i < size; ++i) {
        if (data[i] != '%' || i + 1 == size) {
            data[w++] = data[i];
            continue;
        }
        const char next = data[++i];
        switch (next) {
            case '0':
                data[w++] = '\0';
                break;
            case 'c':
                data[w++] = '\r';
                break;
            case 'n':
                data[w++] = '\n';
                break;
            default:
                data[w++] = next;  // "%%", and any byte the writer never escapes
        }
    }
    return w;
}

std::string Quote(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (char c : text) {
        out += c;
        if (c == '"') out += '"';
    }
    out += '"';
    return out;
}

}  // namespace grid
