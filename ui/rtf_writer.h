#pragma once
// Writer of rich text (RTF) in the 8-bit Windows-1252 code page. It writes a font table and a colour
// table of the fonts and colours in use, and for every run only the control words where its format
// differs from the text before it, so that the output is deterministic: reading it back and writing
// again gives the same bytes.
#include <string>

#include "ui/rtf_document.h"

namespace rtf {

std::string Write(const Document& document);

}  // namespace rtf
