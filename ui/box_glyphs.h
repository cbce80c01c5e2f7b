#pragma once
// The pictures of the message box, drawn in code: two 24 x 24 icons and the button glyphs. Glyphs use
// magenta as the transparent colour (the bottom-left pixel of each image).
#include <QImage>

namespace ui::glyphs {

QImage MessageIcon();   // information: white "i" on a blue disc
QImage QuestionIcon();  // question: white "?" on a blue disc
QImage YesGlyph();      // green tick, 16 x 16
QImage NoGlyph();       // red cross, 16 x 16
QImage HelpGlyph();     // strip of two 16 x 16 images: normal and disabled

}  // namespace ui::glyphs
