#include "ui/flat_button_painter.h"

#include <QRegularExpression>

namespace ui {

namespace {

const unsigned kCaptionFlags = gui::DT_CENTER | gui::DT_WORDBREAK | gui::DT_VCENTER | gui::DT_END_ELLIPSIS;

QSize GlyphSize(const FlatButtonLook& look) {
    if (look.glyph.isNull()) return {0, 0};
    return {look.glyph.width() / std::max(1, look.numGlyphs), look.glyph.height()};
}

gui::TColor FaceColor(const FlatButtonLook& look, FlatButtonPaintState s) {
    switch (s.state) {
        case ButtonState::Up:
            return s.hovered ? look.colorFocused : look.color;
        case ButtonState::Disabled:
            return look.color;
        case ButtonState::Pressed:
            return look.colorDown;
        case ButtonState::Exclusive:
            return s.hovered ? look.colorFocused : look.colorDown;
    }
    return look.color;
}

void PaintFace(gui::Canvas& canvas, const gui::Rect& client, const FlatButtonLook& look,
               FlatButtonPaintState s) {
    bool showParent =
        look.transparentMode == tmAlways || (look.transparentMode == tmNotFocused && !s.hovered);
    if (showParent && !look.parentBackground.isNull())
        canvas.DrawImage(client.left, client.top, look.parentBackground);
    else if (!showParent)
        canvas.FillRect(client, FaceColor(look, s));
}

void PaintFrame(gui::Canvas& canvas, gui::Rect r, const FlatButtonLook& look, FlatButtonPaintState s) {
    if (look.round != 0) return;
    switch (s.state) {
        case ButtonState::Up:
            if (s.hovered)
                canvas.Frame3D(r, look.colorHighLight, look.colorShadow, 1);
            else
                canvas.Frame3D(r, look.colorBorder, look.colorBorder, look.isDefault ? 2 : 1);
            break;
        case ButtonState::Disabled:
            canvas.Frame3D(r, look.colorBorder, look.colorBorder, 1);
            break;
        case ButtonState::Pressed:
        case ButtonState::Exclusive:
            canvas.Frame3D(r, look.colorShadow, look.colorHighLight, 1);
            break;
    }
}

void PaintGlyph(gui::Canvas& canvas, const FlatButtonLook& look, ButtonState state, QPoint pos) {
    if (look.glyph.isNull()) return;
    QSize size = GlyphSize(look);
    int index = GlyphImageIndex(look.numGlyphs, state);
    QImage image = look.glyph.copy(std::max(0, index) * size.width(), 0, size.width(), size.height());
    QColor transparent = image.pixelColor(0, image.height() - 1);
    if (index < 0) image = GreyedGlyph(image, transparent);
    canvas.DrawImage(pos.x(), pos.y(), image, gui::FromQColor(transparent));
}

void PaintKeyLabel(gui::Canvas& canvas, const gui::Rect& client, const FlatButtonLook& look,
                   ButtonState state) {
    if (look.vkKey.isEmpty()) return;
    const int w = client.Width();
    QPoint shift;
    switch (look.layout) {
        case blGlyphLeft:
            shift = QPoint(-(w / 2) + 10, 0);
            break;
        case blGlyphRight:
            shift = QPoint(30, 20);
            break;
        case blGlyphTop:
            shift = QPoint(14, -20);
            break;
        case blGlyphBottom:
            shift = QPoint(-20, 20);
            break;
    }
    gui::Rect r = client.Offset(shift.x(), shift.y());
    r.top = 1;
    gui::Font saved = canvas.GetFont();
    gui::Font keyFont;
    keyFont.name = QStringLiteral("TAHOMA");
    keyFont.size = 8;
    keyFont.color = state == ButtonState::Disabled ? gui::clGray : gui::clBlack;
    canvas.SetFont(keyFont);
    canvas.DrawText(look.vkKey, r, gui::DT_CENTER | gui::DT_SINGLELINE | gui::DT_NOPREFIX | gui::DT_NOCLIP);
    canvas.SetFont(saved);
}

void PaintCaption(gui::Canvas& canvas, const FlatButtonLook& look, ButtonState state, gui::Rect r) {
    if (look.caption.isEmpty()) return;
    QString text = CaptionLines(look.caption);
    gui::Font font = look.font;
    if (state == ButtonState::Disabled) {
        font.color = gui::clBtnHighlight;
        canvas.SetFont(font);
        gui::Rect engraved = r.Offset(1, 1);
        canvas.DrawText(text, engraved, kCaptionFlags);
        font.color = gui::clBtnShadow;
    }
    canvas.SetFont(font);
    canvas.DrawText(text, r, kCaptionFlags);
}

}  // namespace

QString CaptionLines(const QString& caption) {
    static const QRegularExpression br(QStringLiteral("<br>"), QRegularExpression::CaseInsensitiveOption);
    QString out = caption;
    out.replace(br, QStringLiteral("\n"));
    return out;
}

QSize MeasureCaption(gui::Canvas& canvas, const FlatButtonLook& look, int width) {
    if (look.caption.isEmpty()) return {0, 0};
    canvas.SetFont(look.font);
    gui::Rect r{0, 0, width, 0};
    canvas.DrawText(CaptionLines(look.caption), r, gui::DT_CALCRECT | gui::DT_WORDBREAK | gui::DT_CENTER);
    return {r.Width(), r.Height()};
}

ButtonLayoutResult LayoutFor(gui::Canvas& canvas, const FlatButtonLook& look, QSize client,
                             ButtonState state) {
    ButtonLayoutInput in;
    in.client = client;
    in.glyph = GlyphSize(look);
    in.caption = MeasureCaption(canvas, look, client.width());
    in.layout = look.layout;
    in.margin = look.margin;
    in.spacing = look.spacing;
    in.state = state;
    return LayoutButton(in);
}

void PaintFlatButton(gui::Canvas& canvas, const gui::Rect& client, const FlatButtonLook& look,
                     FlatButtonPaintState state) {
    ButtonLayoutResult layout = LayoutFor(canvas, look, QSize(client.Width(), client.Height()), state.state);
    PaintFace(canvas, client, look, state);
    canvas.SetBrushColor(gui::clNone);  // texts are drawn on the face, with no box of their own
    PaintFrame(canvas, client, look, state);
    PaintGlyph(canvas, look, state.state, layout.glyphPos);
    PaintKeyLabel(canvas, client, look, state.state);
    PaintCaption(canvas, look, state.state, layout.textRect);
}

QImage GreyedGlyph(const QImage& image, QColor transparent) {
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            QColor c = out.pixelColor(x, y);
            if (c == transparent) continue;
            // Grey value lifted two thirds of the way to white, never equal to the transparent colour.
            int grey = qGray(c.rgb());
            int light = 255 - (255 - grey) / 3;
            QColor g(light, light, light);
            if (g == transparent) g = QColor(light - 1, light - 1, light - 1);
            out.setPixelColor(x, y, g);
        }
    }
    return out;
}

}  // namespace ui
