#include "gridcontrol/grid_painting.h"

#include <QPainter>
#include <QPen>

namespace grid {

void PaintGridBackground(QPainter& painter, const QRect& dirty, const QRect& gridArea, const QColor& body,
                         const QColor& lines) {
    painter.fillRect(dirty, body);
    painter.fillRect(dirty.intersected(gridArea), lines);
}

void PaintCellBackground(QPainter& painter, const QRect& cell, TGridDrawState state, const QColor& color,
                         const QPalette& palette) {
    painter.fillRect(cell,
                     (state & gdSelected) && !(state & gdFixed) ? palette.color(QPalette::Highlight) : color);
}

void PaintSizingLine(QPainter& painter, bool vertical, int position, int length) {
    painter.save();
    QPen pen(QColor(0, 0, 128), 1, Qt::DotLine);
    painter.setPen(pen);
    if (vertical)
        painter.drawLine(position, 0, position, length - 1);
    else
        painter.drawLine(0, position, length - 1, position);
    painter.restore();
}

namespace {

// An arrow whose tip touches (tipX, tipY), pointing in direction (dx, dy): a triangle 9 pixels wide and
// 4 deep, then a shaft 3 pixels wide and 4 long; 8 pixels in all.
QPolygon Arrow(int tipX, int tipY, int dx, int dy) {
    auto at = [&](int along, int across) {
        // along: distance back from the tip; across: offset sideways
        return dy != 0 ? QPoint(tipX + across, tipY - dy * along) : QPoint(tipX - dx * along, tipY + across);
    };
    return QPolygon({at(0, 0), at(4, -4), at(4, -1), at(8, -1), at(8, 1), at(4, 1), at(4, 4)});
}

}  // namespace

std::array<QPolygon, 2> MoveIndicatorArrows(bool column, const QRect& cell, bool atEnd) {
    if (column) {
        int x = atEnd ? cell.left() + cell.width() : cell.left();
        return {Arrow(x, cell.top() - 1, 0, 1), Arrow(x, cell.top() + cell.height(), 0, -1)};
    }
    int y = cell.top() + cell.height() / 2;
    return {Arrow(cell.left() - 1, y, 1, 0), Arrow(cell.left() + cell.width(), y, -1, 0)};
}

void PaintMoveIndicator(QPainter& painter, bool column, const QRect& cell, bool atEnd) {
    if (cell.isEmpty()) return;
    painter.save();
    painter.setPen(QColor(255, 0, 0));
    painter.setBrush(QColor(255, 0, 0));
    for (const QPolygon& arrow : MoveIndicatorArrows(column, cell, atEnd)) painter.drawPolygon(arrow);
    painter.restore();
}

}  // namespace grid
