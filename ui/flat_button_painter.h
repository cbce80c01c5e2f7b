#pragma once
// Paints a flat button from its look and one state value, into any canvas: no widget involved.
#include <QImage>
#include <QString>

#include "platform/gui/canvas.h"
#include "ui/flat_button_layout.h"

namespace ui {

struct FlatButtonLook {
    QString caption;  // "<br>" in any letter case breaks the line; "&" marks the accelerator
    gui::Font font;
    QImage glyph;  // the whole strip
    int numGlyphs = 1;
    TButtonLayout layout = blGlyphTop;
    int margin = -1;
    int spacing = 4;
    gui::TColor color = 14805739;
    gui::TColor colorFocused = 14805739;
    gui::TColor colorDown = 12965593;
    gui::TColor colorBorder = 8623776;
    gui::TColor colorHighLight = 16777215;
    gui::TColor colorShadow = 0;
    TTransparentMode transparentMode = tmNone;
    bool isDefault = false;
    QString vkKey;
    int round = 0;
    QImage parentBackground;  // what shows through in the transparent modes (client-sized)
};

struct FlatButtonPaintState {
    ButtonState state = ButtonState::Up;
    bool hovered = false;
};

// The caption as drawn: "<br>" (any case) becomes a line break.
QString CaptionLines(const QString& caption);
// Size of the caption word-wrapped within `width`; an empty caption measures 0 x 0.
QSize MeasureCaption(gui::Canvas& canvas, const FlatButtonLook& look, int width);
ButtonLayoutResult LayoutFor(gui::Canvas& canvas, const FlatButtonLook& look, QSize client,
                             ButtonState state);

void PaintFlatButton(gui::Canvas& canvas, const gui::Rect& client, const FlatButtonLook& look,
                     FlatButtonPaintState state);

// A greyed, lightened copy of a glyph image, for disabled buttons with a single image.
QImage GreyedGlyph(const QImage& image, QColor transparent);

}  // namespace ui
