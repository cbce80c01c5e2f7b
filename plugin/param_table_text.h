#pragma once
// The comma-separated text in which the parameter table crosses to the host, byte for byte.
//
// Written: a header line of the quoted field names, then one line per row; every value quoted (quotes
// doubled), null written as nothing, text values escaped ("%0" "%n" "%c" "%%"), payloads in a 6-bit
// encoding; each line ends with one more comma and CR LF.
// Read tolerantly: any run of 0/LF/CR ends a line, the header is matched without case and fixes the
// column order, unknown columns are dropped, "@@" definition blocks before the header are skipped.
#include <string>

#include <string_view>
#include "platform/core/strings.h"

#include "platform/core/stream.h"
#include "plugin/param_table.h"

namespace plugin {

using core::EscapeText;  // the "%" escape both host formats share
std::string UnescapeText(std::string_view text);
std::string EncodeBinaryText(std::string_view bytes);
std::string DecodeBinaryText(std::string_view text);

std::string ParamTableToText(const ParamTable& table);
// Appends the rows read from text to the table.
void ParamTableFromText(std::string_view text, ParamTable& table);

// Empties the stream, then writes the table's text into it.
void SaveParamTable(const ParamTable& table, core::Stream& stream);
// Reads from the start of the stream.
void LoadParamTable(core::Stream& stream, ParamTable& table);

}  // namespace plugin
