#include "plugin/param_table_text.h"

#include <array>
#include <optional>
#include <vector>

#include "platform/core/strings.h"

namespace plugin {

std::string UnescapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (++i >= text.size()) break;  // a lone "%" at the end is dropped
        switch (text[i]) {
            case '0':
                out += '\0';
                break;
            case 'n':
                out += '\n';
                break;
            case 'c':
                out += '\r';
                break;
            default:
                out += text[i];  // "%%" and anything never written: the character itself
        }
    }
    return out;
}

std::string EncodeBinaryText(std::string_view bytes) {
    std::string out;
    out.reserve((4 * bytes.size() + 2) / 3);
    uint32_t bits = 0;
    int count = 0;
    for (unsigned char b : bytes) {
        bits |= static_cast<uint32_t>(b) << count;
        count += 8;
        while (count >= 6) {
            out += static_cast<char>((bits & 63) + 32);
            bits >>= 6;
            count -= 6;
        }
    }
    if (count > 0) out += static_cast<char>((bits & 63) + 32);
    return out;
}

std::string DecodeBinaryText(std::string_view text) {
    std::string out;
    out.reserve(3 * text.size() / 4);
    uint32_t bits = 0;
    int count = 0;
    for (unsigned char c : text) {
        bits |= static_cast<uint32_t>((c - 32) & 63) << count;
        count += 6;
        if (count >= 8) {
            out += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    }
    return out;
}

namespace {

void AppendQuoted(std::string& out, std::string_view value) {
    out += '"';
    for (char c : value) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

bool IsLineEnd(char c) {
    return c == '\0' || c == '\n' || c == '\r';
}

// Splits the text into lines; a run of line-end characters is one line end, so no line is empty.
std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t i = 0;
    while (i < text.size()) {
        size_t start = i;
        while (i < text.size() && !IsLineEnd(text[i])) ++i;
        if (i > start) lines.push_back(text.substr(start, i - start));
        while (i < text.size() && IsLineEnd(text[i])) ++i;
    }
    return lines;
}

// Reads up to maxFields fields of one line. A null field is nullopt.
std::vector<std::optional<std::string>> Fields(std::string_view line, size_t maxFields) {
    std::vector<std::optional<std::string>> fields;
    size_t i = 0;
    while (i < line.size() && fields.size() < maxFields) {
        if (line[i] == ',') {
            fields.emplace_back();
            ++i;
        } else if (line[i] == '"') {
            std::string value;
            // Without its closing quote the field keeps only what stood before its last doubled quote.
            size_t chunk = ++i;
            while (i < line.size()) {
                if (line[i] != '"') {
                    ++i;
                } else if (i + 1 < line.size() && line[i + 1] == '"') {
                    value.append(line.substr(chunk, i + 1 - chunk));
                    i += 2;
                    chunk = i;
                } else {
                    value.append(line.substr(chunk, i - chunk));
                    i += 2;  // the closing quote and the one character behind it
                    break;
                }
            }
            fields.emplace_back(std::move(value));
        } else {
            size_t comma = line.find(',', i);
            size_t end = comma == std::string_view::npos ? line.size() : comma;
            fields.emplace_back(std::string(line.substr(i, end - i)));
            i = end == line.size() ? end : end + 1;
        }
    }
    return fields;
}

std::string FirstField(std::string_view line) {
    auto f = Fields(line, 1);
    return f.empty() || !f[0] ? std::string() : *f[0];
}

}  // namespace

std::string ParamTableToText(const ParamTable& table) {
    std::string out;
    for (auto name : kParamFieldNames) {
        AppendQuoted(out, name);
        out += ',';
    }
    out += "\r\n";
    for (const ParamRow& row : table.Rows()) {
        for (ParamField f : {ParamField::Ident, ParamField::ValueA, ParamField::ValueB}) {
            if (const auto& v = row[f])
                AppendQuoted(out, f == ParamField::ValueA ? EncodeBinaryText(*v) : EscapeText(*v));
            out += ',';
        }
        out += "\r\n";
    }
    return out;
}

void ParamTableFromText(std::string_view text, ParamTable& table) {
    if (text.empty()) return;
    std::vector<std::string_view> lines = Lines(text);
    size_t next = 0;
    // Column i of the text fills field columns[i]; nullopt drops the column.
    std::vector<std::optional<ParamField>> columns = {ParamField::Ident, ParamField::ValueA,
                                                      ParamField::ValueB};

    // A line end at the very start means there is no header: every line is a row.
    if (!IsLineEnd(text.front())) {
        bool inTableDef = false;
        for (; next < lines.size(); ++next) {
            std::string first = FirstField(lines[next]);
            if (inTableDef) {
                inTableDef = first != "@@TABLEDEF END@@";
                continue;
            }
            if (first == "@@TABLEDEF START@@") {
                inTableDef = true;
                continue;
            }
            if (first == "@@FILE VERSION@@" || first == "@@TABLEDEF END@@" || first == "@@INDEXDEF START@@" ||
                first == "@@INDEXDEF END@@")
                continue;
            break;
        }
        if (next >= lines.size()) return;
        columns.clear();
        for (const auto& name : Fields(lines[next], SIZE_MAX)) {
            std::optional<ParamField> field;
            for (size_t k = 0; k < std::size(kParamFieldNames); ++k)
                if (name && core::SameTextAscii(*name, kParamFieldNames[k]))
                    field = static_cast<ParamField>(k);
            columns.push_back(field);
        }
        ++next;
    }

    for (; next < lines.size(); ++next) {
        ParamRow row;
        auto fields = Fields(lines[next], columns.size());
        for (size_t i = 0; i < fields.size(); ++i) {
            if (!columns[i] || !fields[i]) continue;
            ParamField f = *columns[i];
            row[f] = f == ParamField::ValueA ? DecodeBinaryText(*fields[i]) : UnescapeText(*fields[i]);
        }
        table.AddRow(std::move(row));
    }
}

void SaveParamTable(const ParamTable& table, core::Stream& stream) {
    stream.SetSize(0);
    stream.SetPosition(0);
    stream.WriteString(ParamTableToText(table));
}

void LoadParamTable(core::Stream& stream, ParamTable& table) {
    stream.SetPosition(0);
    if (auto* memory = dynamic_cast<core::MemoryStream*>(&stream)) {
        ParamTableFromText(memory->Bytes(), table);
        return;
    }
    ParamTableFromText(stream.ReadRest(), table);
}

}  // namespace plugin
