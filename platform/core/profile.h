#pragma once
// Profile (INI) files: "[section]" headers and "key=value" lines, read and written the way the host's
// platform does it. Section and key names match without regard to letter case; an edit changes only the
// one line it concerns and keeps every other line (comments, blank lines, other sections, unknown
// lines, line endings) byte for byte; a missing file or section is created on the first write.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/errors.h"

namespace core {

// A key could not be written: the message reads "nach <file> kann nicht geschrieben werden".
class EIniFileException : public Exception {
    using Exception::Exception;
};

// The text of one profile file as its lines. Parsing never fails: a line that is neither a header, a
// comment (";" first) nor blank is a key line, its key being everything before the first "=".
class ProfileText {
  public:
    ProfileText() = default;
    explicit ProfileText(std::string_view bytes);

    // The value of the first key of that name in a section of that name; blanks around it are dropped,
    // and so is one pair of enclosing double or single quotes. nullopt when section or key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    bool HasSection(std::string_view section) const;
    // Names as written in the file, in file order, each name once.
    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(std::string_view section) const;

    // Replaces the value of an existing key (its line keeps the key's spelling), or adds the key after
    // the last key of the section, or appends the section. Returns false and changes nothing when the
    // names or the value could not be read back as written: a line break anywhere, "=" in the key,
    // "]" in the section, a name that is empty, starts with "[" or ";", or has blanks at either end.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    std::string Text() const;

  private:
    enum class Kind { kBlank, kComment, kSection, kKey };
    struct Line {
        std::string body;  // without the line ending
        std::string eol;   // "\r\n" or "\n"; the last line also "\r" or ""

        Kind kind = Kind::kBlank;
        std::string name;  // section or key name, trimmed
    };

    static Line Classify(std::string body, std::string eol);
    // Index of the key line, or npos.
    size_t FindKey(std::string_view section, std::string_view key) const;
    // Index of the header of the first section of that name, or npos.
    size_t FindSection(std::string_view section) const;
    std::string NewLineEnding() const;
    // Gives a line that ends the text (without a line break) the new ending before a line follows it.
    static void EndLine(Line& line, const std::string& eol);

    std::vector<Line> lines_;
};

// One profile file on disk, addressed by name. Every call reads the file afresh and every write goes to
// the disk at once, so that what was written before a failure stays written.
class IniFile {
  public:
    explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    const std::string& FileName() const { return fileName_; }

    // A missing or unreadable file reads as empty.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view fallback) const;
    // Decimal, or hexadecimal with a leading "0x" or "$"; the fallback when missing or not an integer.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // Integers: 0 is false, anything else true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Throw EIniFileException when the file cannot be written or the key not stored.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

  private:
    ProfileText Load() const;
    [[noreturn]] void FailWrite() const;

    std::string fileName_;
};

}  // namespace core
