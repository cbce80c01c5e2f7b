#include "ui/box_glyphs.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace ui::glyphs {

namespace {

constexpr QRgb kTransparent = qRgb(255, 0, 255);

QImage Blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(kTransparent);
    return image;
}

// Anti-aliasing would blend edges with the transparent magenta; glyphs are drawn aliased.
QImage Disc(int size, QColor disc, const QString& sign) {
    QImage image = Blank(size, size);
    QPainter p(&image);
    p.setPen(disc.darker(130));
    p.setBrush(disc);
    p.drawEllipse(1, 1, size - 3, size - 3);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(size * 2 / 3);
    f.setBold(true);
    f.setStyleStrategy(QFont::NoAntialias);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size - 1, size - 1), Qt::AlignCenter, sign);
    return image;
}

}  // namespace

QImage MessageIcon() {
    return Disc(24, QColor(0, 90, 190), QStringLiteral("i"));
}
QImage QuestionIcon() {
    return Disc(24, QColor(0, 90, 190), QStringLiteral("?"));
}

QImage YesGlyph() {
    QImage image = Blank(16, 16);
    QPainter p(&image);
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawPolyline(QPolygon({QPoint(3, 8), QPoint(6, 11), QPoint(12, 4)}));
    return image;
}

QImage NoGlyph() {
    QImage image = Blank(16, 16);
    QPainter p(&image);
    p.setPen(QPen(QColor(192, 0, 0), 2));
    p.drawLine(4, 4, 11, 11);
    p.drawLine(11, 4, 4, 11);
    return image;
}

QImage HelpGlyph() {
    QImage strip = Blank(32, 16);
    QPainter p(&strip);
    p.drawImage(0, 0, Disc(16, QColor(0, 90, 190), QStringLiteral("?")));
    p.drawImage(16, 0, Disc(16, QColor(160, 160, 160), QStringLiteral("?")));
    return strip;
}

}  // namespace ui::glyphs
