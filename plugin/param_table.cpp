#include "plugin/param_table.h"

#include "platform/core/errors.h"

namespace plugin {

std::optional<std::string>& ParamRow::operator[](ParamField f) {
    switch (f) {
        case ParamField::Ident:
            return Ident;
        case ParamField::ValueA:
            return ValueA;
        case ParamField::ValueB:
            break;
    }
    return ValueB;
}

const std::optional<std::string>& ParamRow::operator[](ParamField f) const {
    return (*const_cast<ParamRow*>(this))[f];
}

std::string CutParamText(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    return std::string(text.substr(0, kParamTextLimit));
}

bool ParamTable::Locate(std::string_view key) {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].Ident && *rows_[i].Ident == key) {
            current_ = i;
            return true;
        }
    }
    return false;
}

void ParamTable::Append() {
    rows_.emplace_back();
    current_ = rows_.size() - 1;
}

void ParamTable::LocateOrAppend(std::string_view key) {
    if (!Locate(key)) Append();
    SetField(ParamField::Ident, key);
}

const std::optional<std::string>& ParamTable::Field(ParamField f) const {
    static const std::optional<std::string> kNull;
    return current_ < rows_.size() ? rows_[current_][f] : kNull;
}

ParamRow& ParamTable::CurrentRow() {
    if (current_ >= rows_.size()) throw core::Exception("Keine aktuelle Zeile");
    return rows_[current_];
}

void ParamTable::SetField(ParamField f, std::string_view value) {
    CurrentRow()[f] = f == ParamField::ValueA ? std::string(value) : CutParamText(value);
}

void ParamTable::AddRow(ParamRow row) {
    if (row.Ident) row.Ident = CutParamText(*row.Ident);
    if (row.ValueB) row.ValueB = CutParamText(*row.ValueB);
    rows_.push_back(std::move(row));
}

}  // namespace plugin
