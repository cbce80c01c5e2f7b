#pragma once
// The pieces of the host's order-line text format: reading lines and quoted fields, and the escapes of
// cell texts. The grid assembles them into its LoadFromStream and SaveToStream.
#include <memory>
#include <string>

#include <string_view>
#include "platform/core/strings.h"

#include "platform/core/stream.h"

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
// Appends a cell text to out escaped and quoted, as the writer puts every cell.
void AppendEscapedQuoted(std::string& out, std::string_view text);
// Writes escaped and quoted fields into a stream through one reused buffer.
class FieldWriter {
  public:
    explicit FieldWriter(core::Stream& stream);
    // The text escaped and quoted, then the separator byte (0 for none).
    void Field(std::string_view text, char separator);
    void Raw(std::string_view bytes);
    void Flush();

  private:
    char* Room(size_t n);
    static constexpr size_t kInitialSize = size_t{1} << 16;
    core::Stream& stream_;
    std::unique_ptr<char[]> buffer_;
    size_t capacity_;
    size_t used_ = 0;
};

// Unescapes in place the part of the text from the given offset on.
void UnescapeInPlace(std::string& text, size_t from = 0);

}  // namespace grid
