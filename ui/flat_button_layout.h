#pragma once
// The arithmetic of the flat button, free of widgets: where glyph and caption go, which image of a
// glyph strip a state shows, and the face colours derived from the base colour.
#include <QPoint>
#include <QSize>

#include "platform/gui/color.h"
#include "platform/gui/rect.h"

namespace ui {

enum TButtonLayout : int { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };
enum TTransparentMode : int { tmAlways = 0, tmNotFocused = 1, tmNone = 2 };
enum class ButtonState { Up, Disabled, Pressed, Exclusive };

struct ButtonLayoutInput {
    QSize client;   // W x H
    QSize glyph;    // one image of the strip; 0 x 0 without glyph
    QSize caption;  // measured caption; 0 x 0 when empty
    TButtonLayout layout = blGlyphTop;
    int margin = -1;
    int spacing = 4;
    ButtonState state = ButtonState::Up;
};

struct ButtonLayoutResult {
    QPoint glyphPos;
    gui::Rect textRect;
};

ButtonLayoutResult LayoutButton(const ButtonLayoutInput& in);

// Image of the strip (0-based) that a state shows; -1 = a greyed copy of image 0.
int GlyphImageIndex(int numGlyphs, ButtonState state);
// NumGlyphs for a newly set strip: width / height when that is a whole number from 1 to 4, else
// `current` when the width is no multiple of the height, else 1.
int NumGlyphsForStrip(QSize strip, int current);

// The colour with its lightness (0..100) moved by `delta`, clamped to 0..100; hue and saturation kept.
gui::TColor ShiftLightness(gui::TColor c, int delta);

struct DerivedColors {
    gui::TColor focused;
    gui::TColor down;
    gui::TColor border;
};
// Steps of 0 keep the corresponding current colour.
DerivedColors DeriveColors(gui::TColor base, int stepFocused, int stepDown, int stepBorder,
                           const DerivedColors& current);

}  // namespace ui
