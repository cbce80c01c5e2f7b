#pragma once
// The glyphs of the rich-text toolbar's buttons: 16 x 16 pictures on a key colour (the bottom-left
// pixel), drawn here so that they need no image files.
#include <QImage>

namespace ui {

enum class RichGlyph {
    Cut,
    Copy,
    Paste,
    Bold,
    Italic,
    Underline,
    AlignLeft,
    AlignCenter,
    AlignRight,
    Table,
    Undo
};

QImage RichToolbarGlyph(RichGlyph glyph);

}  // namespace ui
