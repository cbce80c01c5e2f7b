#pragma once
// Tolerant reader of rich text (RTF) in the 8-bit Windows-1252 code page, as written by this system and
// by other word processors. It keeps what the footer editor can show (fonts, sizes, bold, italic,
// underline, strike-out, colours, protected text, paragraph alignment, line breaks, tabs) and skips the
// rest: unknown control words, "\*" destinations, pictures, objects, list text, document information.
// It never fails: bad input gives whatever text could be recovered, in time linear in the input.
#include <string_view>

#include "ui/rtf_document.h"

namespace rtf {

// True when the bytes begin like a rich-text file ("{\rtf").
bool LooksLikeRtf(std::string_view bytes);

// Reads rich text. Input that is not rich text at all is taken as plain Windows-1252 text, one paragraph
// per line (CR LF, LF or CR), in the default format.
Document Read(std::string_view bytes);

}  // namespace rtf
