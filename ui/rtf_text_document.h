#pragma once
// The bridge between the rich-text model and Qt's text document that the editor shows. Font sizes of
// the screen are taken at 96 dots per inch, the resolution the footer texts were written for, so that
// a font given in pixels (the editor's "Tahoma" of height -13) reports the points it really has there.
#include <QFont>
#include <QTextCharFormat>
#include <QTextFormat>

#include "ui/rtf_document.h"

class QTextDocument;

namespace rtf {

// Character property that marks protected text in a Qt text document.
inline constexpr int kProtectedProperty = QTextFormat::UserProperty + 0x5254;

Qt::Alignment ToQtAlignment(Alignment alignment);
Alignment FromQtAlignment(Qt::Alignment alignment);

// Size of a font in half points at 96 dpi, whether it was given in points or in pixels.
int HalfPointsOf(const QFont& font);

// The model format of a Qt character format; what the format leaves open comes from `defaultFont`.
CharFormat FromQtFormat(const QTextCharFormat& format, const QFont& defaultFont);
// The Qt character format of a model format; an empty font name or size 0 leaves that property open.
QTextCharFormat ToQtFormat(const CharFormat& format);

// Replaces the whole content of `target` by `source`. Undo recording is left to the caller.
void ToTextDocument(const Document& source, QTextDocument& target);
// The content of `source`; pictures and other embedded objects are not part of it.
Document FromTextDocument(const QTextDocument& source);

}  // namespace rtf
