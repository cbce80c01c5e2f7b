#pragma once
// The parameter table through which host and module exchange the order: rows of "Ident" (text),
// "ValueA" (binary payload) and "ValueB" (text). Every field may be null, which is not the same as empty.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plugin {

enum class ParamField { Ident = 0, ValueA = 1, ValueB = 2 };
inline constexpr std::string_view kParamFieldNames[] = {"Ident", "ValueA", "ValueB"};

struct ParamRow {
    std::optional<std::string> Ident;
    std::optional<std::string> ValueA;
    std::optional<std::string> ValueB;

    std::optional<std::string>& operator[](ParamField f);
    const std::optional<std::string>& operator[](ParamField f) const;
    bool operator==(const ParamRow&) const = default;
};

// Text fields hold at most this many characters; a zero character ends a text value.
inline constexpr size_t kParamTextLimit = 200;
std::string CutParamText(std::string_view text);

class ParamTable {
  public:
    // Walking the rows in table order; the current row is what the field accessors read and write.
    void First() { current_ = 0; }
    void Next() {
        if (current_ < rows_.size()) ++current_;
    }
    bool Eof() const { return current_ >= rows_.size(); }
    // Makes the first row whose "Ident" equals key (exactly) current.
    bool Locate(std::string_view key);
    // Adds an empty row at the end and makes it current.
    void Append();
    // Locate(key), or Append() with "Ident" := key when there is no such row.
    void LocateOrAppend(std::string_view key);

    // Fields of the current row; reading at the end of the table gives null.
    const std::optional<std::string>& Field(ParamField f) const;
    std::string FieldAsText(ParamField f) const { return Field(f).value_or(std::string()); }
    // Text fields are cut as the table stores them; "ValueA" takes the bytes unchanged.
    void SetField(ParamField f, std::string_view value);

    // Appends a row as read from text (text fields cut).
    void AddRow(ParamRow row);
    const std::vector<ParamRow>& Rows() const { return rows_; }
    size_t RecordCount() const { return rows_.size(); }
    void Clear() {
        rows_.clear();
        current_ = 0;
    }

  private:
    ParamRow& CurrentRow();
    std::vector<ParamRow> rows_;
    size_t current_ = 0;
};

}  // namespace plugin
