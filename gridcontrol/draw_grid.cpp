#include "gridcontrol/draw_grid.h"

void T_DrawGrid::ColumnMoved(int from, int to) {
    if (OnColumnMoved) OnColumnMoved(this, from, to);
}

void T_DrawGrid::RowMoved(int from, int to) {
    if (OnRowMoved) OnRowMoved(this, from, to);
}

std::string T_DrawGrid::GetEditText(bool, int col, int row) {
    std::string value;
    if (OnGetEditText) OnGetEditText(this, col, row, value);
    return value;
}

bool T_DrawGrid::SetEditText(bool, int col, int row, const std::string& text) {
    if (OnSetEditText) OnSetEditText(this, col, row, text);
    return true;
}

bool T_DrawGrid::SelectCell(bool, int col, int row) {
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

void T_DrawGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) {
    if (!OnDrawCell) return;
    QRect r = rect;
    // Handlers draw in left-to-right terms; a mirrored control hands them the mirrored rectangle.
    if (isRightToLeft()) r.moveLeft(Geo().ClientWidth - rect.left() - rect.width());
    OnDrawCell(this, canvas, col, row, r, state);
}

void T_DrawGrid::TopLeftChanged() {
    T_CustomGrid::TopLeftChanged();
    if (OnTopLeftChanged) OnTopLeftChanged(this);
}

QList<int> T_DrawGrid::ColWidths() const {
    QList<int> out;
    if (HasColWidthList())
        for (int i = 0; i < ColCount(); ++i) out.append(GetColWidth(i));
    return out;
}

void T_DrawGrid::SetColWidths(const QList<int>& widths) {
    for (int i = 0; i < widths.size() && i < ColCount(); ++i) SetColWidth(i, widths[i]);
}

QList<int> T_DrawGrid::RowHeights() const {
    QList<int> out;
    if (HasRowHeightList())
        for (int i = 0; i < RowCount(); ++i) out.append(GetRowHeight(i));
    return out;
}

void T_DrawGrid::SetRowHeights(const QList<int>& heights) {
    for (int i = 0; i < heights.size() && i < RowCount(); ++i) SetRowHeight(i, heights[i]);
}
