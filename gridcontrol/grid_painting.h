#pragma once
// The few things the grid base paints itself: the plain default look of cells, the sizing line and the
// move indicator. Each takes a painter, a rectangle and the state to show, never the widget.
#include <QColor>
#include <QPalette>
#include <QPolygon>
#include <QRect>
#include <array>

#include "gridcontrol/grid_types.h"

class QPainter;

namespace grid {

// Fills the grid area with the line colour (the gaps between cells show as grid lines) and the rest of
// the dirty area with the body colour.
void PaintGridBackground(QPainter& painter, const QRect& dirty, const QRect& gridArea, const QColor& body,
                         const QColor& lines);
// Fills one cell: the highlight colour when selected, else the area's colour.
void PaintCellBackground(QPainter& painter, const QRect& cell, TGridDrawState state, const QColor& color,
                         const QPalette& palette);
// The dotted navy line that follows the pointer while a column (vertical line) or row is sized.
void PaintSizingLine(QPainter& painter, bool vertical, int position, int length);

// The two red arrows of the move indicator around a target cell: for a column they point down at its top
// edge and up at its bottom edge, at its left edge (or right edge when atEnd); for a row they point right at
// its left edge and left at its right edge, at its vertical middle.
std::array<QPolygon, 2> MoveIndicatorArrows(bool column, const QRect& cell, bool atEnd);
void PaintMoveIndicator(QPainter& painter, bool column, const QRect& cell, bool atEnd);

}  // namespace grid
