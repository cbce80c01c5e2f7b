#include "ui/rich_toolbar_glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace ui {

namespace {

constexpr QRgb kKeyColor = 0xFFFF00FF;  // never drawn: marks what shows the button face
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kAccent(0, 0, 128);

void Letter(QPainter& p, const QString& letter, bool bold, bool italic) {
    QFont font("DejaVu Serif");
    font.setPixelSize(14);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRect(0, -1, 16, 15), Qt::AlignCenter, letter);
}

// Four lines of text, set flush left, centred or flush right.
void AlignLines(QPainter& p, Qt::Alignment alignment) {
    const int widths[] = {12, 8, 12, 8};
    for (int i = 0; i < 4; ++i) {
        const int w = widths[i];
        const int x = alignment == Qt::AlignLeft ? 2 : alignment == Qt::AlignRight ? 14 - w : 8 - w / 2;
        p.fillRect(x, 3 + i * 3, w, 1, kInk);
    }
}

void Page(QPainter& p, int x, int y, int w, int h) {
    p.fillRect(x, y, w, h, kPaper);
    p.setPen(kInk);
    p.drawRect(x, y, w - 1, h - 1);
    for (int line = y + 2; line < y + h - 2; line += 2) p.drawLine(x + 2, line, x + w - 3, line);
}

void Scissors(QPainter& p) {
    p.setPen(kInk);
    p.drawLine(5, 1, 9, 9);
    p.drawLine(10, 1, 6, 9);
    p.setPen(kAccent);
    p.drawEllipse(2, 9, 4, 4);
    p.drawEllipse(9, 9, 4, 4);
}

void Clipboard(QPainter& p) {
    p.fillRect(1, 2, 10, 12, QColor(160, 120, 60));
    p.fillRect(4, 1, 4, 3, QColor(96, 96, 96));
    Page(p, 6, 6, 9, 9);
}

void Grid(QPainter& p) {
    p.fillRect(1, 2, 14, 12, kPaper);
    p.setPen(kInk);
    p.drawRect(1, 2, 13, 11);
    p.drawLine(1, 6, 14, 6);
    p.drawLine(1, 10, 14, 10);
    p.drawLine(6, 2, 6, 13);
    p.drawLine(10, 2, 10, 13);
}

void UndoArrow(QPainter& p) {
    p.setPen(QPen(kAccent, 2));
    QPainterPath path;
    path.moveTo(4, 7);
    path.cubicTo(8, 3, 14, 5, 12, 12);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawPolygon(QPolygon({QPoint(1, 8), QPoint(7, 3), QPoint(7, 9)}));
}

}  // namespace

QImage RichToolbarGlyph(RichGlyph glyph) {
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(kKeyColor);
    QPainter p(&image);
    switch (glyph) {
        case RichGlyph::Cut:
            Scissors(p);
            break;
        case RichGlyph::Copy:
            Page(p, 1, 1, 9, 10);
            Page(p, 6, 5, 9, 10);
            break;
        case RichGlyph::Paste:
            Clipboard(p);
            break;
        case RichGlyph::Bold:
            Letter(p, "B", true, false);
            break;
        case RichGlyph::Italic:
            Letter(p, "I", false, true);
            break;
        case RichGlyph::Underline:
            Letter(p, "U", false, false);
            p.fillRect(3, 14, 10, 1, kInk);
            break;
        case RichGlyph::AlignLeft:
            AlignLines(p, Qt::AlignLeft);
            break;
        case RichGlyph::AlignCenter:
            AlignLines(p, Qt::AlignHCenter);
            break;
        case RichGlyph::AlignRight:
            AlignLines(p, Qt::AlignRight);
            break;
        case RichGlyph::Table:
            Grid(p);
            break;
        case RichGlyph::Undo:
            UndoArrow(p);
            break;
    }
    p.end();
    // The key colour must stay in the bottom-left corner, where the button looks it up.
    image.setPixel(0, 15, kKeyColor);
    return image;
}

}  // namespace ui
