#include "ui/flat_button_layout.h"

#include <QColor>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

struct AxisLayout {
    int glyphPos;
    int captionPos;
};

// Positions of glyph and caption along the layout direction.
AxisLayout AlongAxis(const ButtonLayoutInput& in) {
    const bool horizontal = in.layout == blGlyphLeft || in.layout == blGlyphRight;
    const int client = horizontal ? in.client.width() : in.client.height();
    const int glyph = horizontal ? in.glyph.width() : in.glyph.height();
    const int caption = horizontal ? in.caption.width() : in.caption.height();
    int margin = in.margin;
    int spacing = in.spacing;
    if (in.caption.width() == 0 || in.glyph.width() == 0) spacing = 0;
    if (margin == -1 && spacing == -1) {
        margin = (client - glyph - caption) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = (client - glyph - spacing - caption + 1) / 2;
    } else if (spacing == -1) {
        spacing = (client - margin - glyph - caption) / 2;
    }
    if (in.layout == blGlyphLeft || in.layout == blGlyphTop) return {margin, margin + glyph + spacing};
    const int glyphPos = client - margin - glyph;
    return {glyphPos, glyphPos - spacing - caption};
}

}  // namespace

ButtonLayoutResult LayoutButton(const ButtonLayoutInput& in) {
    const bool horizontal = in.layout == blGlyphLeft || in.layout == blGlyphRight;
    const AxisLayout along = AlongAxis(in);
    QPoint glyph;
    QPoint caption;
    if (horizontal) {
        glyph = QPoint(along.glyphPos, (in.client.height() - in.glyph.height() + 1) / 2);
        caption = QPoint(along.captionPos, (in.client.height() - in.caption.height() + 1) / 2);
    } else {
        glyph = QPoint((in.client.width() - in.glyph.width() + 1) / 2, along.glyphPos);
        caption = QPoint((in.client.width() - in.caption.width() + 1) / 2, along.captionPos);
    }
    if (in.state == ButtonState::Pressed || in.state == ButtonState::Exclusive) {
        glyph += QPoint(1, 1);
        caption += QPoint(1, 1);
    }
    return {glyph, gui::Rect::FromSize(caption.x(), caption.y(), in.caption.width(), in.caption.height())};
}

int GlyphImageIndex(int numGlyphs, ButtonState state) {
    switch (state) {
        case ButtonState::Up:
            return 0;
        case ButtonState::Disabled:
            return numGlyphs >= 2 ? 1 : -1;
        case ButtonState::Pressed:
            return numGlyphs >= 3 ? 2 : 0;
        case ButtonState::Exclusive:
            return numGlyphs >= 4 ? 3 : (numGlyphs == 3 ? 2 : 0);
    }
    return 0;
}

int NumGlyphsForStrip(QSize strip, int current) {
    if (strip.height() <= 0 || strip.width() <= 0 || strip.width() % strip.height() != 0) return current;
    int n = strip.width() / strip.height();
    return n > 4 ? 1 : n;
}

gui::TColor ShiftLightness(gui::TColor c, int delta) {
    QColor q = gui::ToQColor(c);
    int h = q.hslHue();
    int s = q.hslSaturation();
    int l = static_cast<int>(std::lround(q.lightness() * 100.0 / 255.0));
    l = std::clamp(l + delta, 0, 100);
    return gui::FromQColor(QColor::fromHsl(h, s, static_cast<int>(std::lround(l * 255.0 / 100.0))));
}

DerivedColors DeriveColors(gui::TColor base, int stepFocused, int stepDown, int stepBorder,
                           const DerivedColors& current) {
    DerivedColors out = current;
    if (stepFocused != 0) out.focused = ShiftLightness(base, stepFocused + 10);
    if (stepDown != 0) out.down = ShiftLightness(base, -stepDown + 10);
    if (stepBorder != 0) out.border = ShiftLightness(base, -stepBorder + 10);
    return out;
}

}  // namespace ui
