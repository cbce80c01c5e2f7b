#include "gridcontrol/custom_grid.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "gridcontrol/grid_errors.h"
#include "gridcontrol/grid_painting.h"

namespace {

QRect ToQRect(const grid::Rect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

constexpr int kMaxRowHeight = 300;
constexpr int kScrollRangeMax = 127;

// Qt event handlers must not let an exception escape into the event loop.
template <typename F>
void Guarded(F&& f) {
    try {
        f();
    } catch (...) {
    }
}

}  // namespace

T_CustomGrid::T_CustomGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setPageStep(16);
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { Guarded([&] { OnVerticalAction(action); }); });
    connect(verticalScrollBar(), &QAbstractSlider::sliderReleased, this,
            [this] { Guarded([&] { OnVerticalReleased(); }); });
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    setPalette(pal);
    secondFont_ = font();
    ApplyBorderStyle();
    ResetPositions();
    resize(ColCount() * DefaultColWidth(), RowCount() * DefaultRowHeight());
    constructed_ = true;
}

T_CustomGrid::~T_CustomGrid() {
    destroying_ = true;
    activeEditor_ = nullptr;
}

// The client area is derived from the frame and the scroll bar rather than read from the viewport, whose
// geometry is only laid out once the control is shown: a hidden grid (the preview's) still lays out right.
const grid::Geometry& T_CustomGrid::Geo() const {
    QRect client = contentsRect();
    QScrollBar* bar = verticalScrollBar();
    bool barShown = bar->maximum() > bar->minimum();
    geo_.ClientWidth = std::max(0, client.width() - (barShown ? bar->sizeHint().width() : 0));
    geo_.ClientHeight = std::max(0, client.height());
    geo_.RightToLeft = isRightToLeft();
    return geo_;
}

int T_CustomGrid::ScrollBarWidth() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

void T_CustomGrid::FireUserHeigth() {
    if (constructed_ && OnUserHeigth) OnUserHeigth(this);
}

// ---- counts ----------------------------------------------------------------------------------------

void T_CustomGrid::SetColCount(int value) {
    value = std::max(value, 2);
    if (value == ColCount()) return;
    if (value <= FixedCols()) geo_.Cols().SetFixed(value - 1);
    ResizeGrid(value, RowCount());
    if (Options().Contains(goRowSelect)) {
        anchor_.Col = ColCount() - 1;
        InvalidateGrid();
    }
}

void T_CustomGrid::SetRowCount(int value) {
    value = std::max(value, 2);
    if (value == RowCount()) return;
    if (value <= FixedRows()) geo_.Rows().SetFixed(value - 1);
    ResizeGrid(ColCount(), value);
    FireUserHeigth();
}

void T_CustomGrid::ResetPositions() {
    current_ = anchor_ = TCellPos{FixedCols(), FixedRows(), false};
    if (Options().Contains(goRowSelect)) anchor_.Col = ColCount() - 1;
    geo_.TopLeft = {FixedCols(), FixedRows()};
}

void T_CustomGrid::SetFixedCols(int value) {
    if (value < 0) grid::RaiseGridError(grid::kIndexOutOfRange);
    if (value >= ColCount()) grid::RaiseGridError(grid::kFixedColsTooLarge);
    geo_.Cols().SetFixed(value);
    ResetPositions();
    UpdateScrollRange();
    InvalidateGrid();
}

void T_CustomGrid::SetFixedRows(int value) {
    if (value < 0) grid::RaiseGridError(grid::kIndexOutOfRange);
    if (value >= RowCount()) grid::RaiseGridError(grid::kFixedRowsTooLarge);
    geo_.Rows().SetFixed(value);
    ResetPositions();
    UpdateScrollRange();
    InvalidateGrid();
}

void T_CustomGrid::ApplyResize(int cols, int rows) {
    geo_.Cols().SetCount(cols);
    geo_.Rows().SetCount(rows);
    if (FixedCols() >= cols) geo_.Cols().SetFixed(cols - 1);
    if (FixedRows() >= rows) geo_.Rows().SetFixed(rows - 1);
    grid::CellCoord& tl = geo_.TopLeft;
    tl.Col = std::clamp(tl.Col, FixedCols(), cols - 1);
    tl.Row = std::clamp(tl.Row, FixedRows(), rows - 1);
    if (current_.Col >= cols || current_.Row >= rows)
        MoveCursor(current_.Second, std::min(current_.Col, cols - 1), std::min(current_.Row, rows - 1), true,
                   false);
    anchor_.Col = std::min(anchor_.Col, cols - 1);
    anchor_.Row = std::min(anchor_.Row, rows - 1);
}

void T_CustomGrid::ResizeGrid(int cols, int rows) {
    const int oldCols = ColCount(), oldRows = RowCount();
    const grid::CellCoord oldTopLeft = geo_.TopLeft;
    const int oldLastCol = ComputeMetrics().Horz.LastFullVisible;
    const int oldLastRow = ComputeMetrics().Vert.LastFullVisible;
    try {
        ApplyResize(cols, rows);
    } catch (...) {
        ApplyResize(oldCols, oldRows);
        InvalidateGrid();
        throw;
    }
    if (geo_.TopLeft != oldTopLeft) {
        InvalidateGrid();
    } else {
        TGridMetrics m = ComputeMetrics();
        // Only the area from the earlier of the old and new last visible cells to the edge changes.
        grid::Rect r = CellBounds(std::min(oldLastCol, m.Horz.LastFullVisible), FixedRows());
        viewport()->update(QRect(r.Left, 0, width(), height()));
        r = CellBounds(FixedCols(), std::min(oldLastRow, m.Vert.LastFullVisible));
        viewport()->update(QRect(0, r.Top, width(), height()));
        if (r.IsEmpty()) InvalidateGrid();
    }
    UpdateScrollRange();
    CountChanged(oldCols, oldRows);
}

// ---- sizes -----------------------------------------------------------------------------------------

void T_CustomGrid::SetDefaultColWidth(int value) {
    geo_.Cols().SetDefault(value);
    ColWidthsChanged();
    InvalidateGrid();
}

void T_CustomGrid::SetDefaultRowHeight(int value) {
    geo_.Rows().SetDefault(value);
    RowHeightsChanged();
    InvalidateGrid();
}

void T_CustomGrid::SetColWidth(int i, int width) {
    if (i < 0 || i >= ColCount()) grid::RaiseGridError(grid::kIndexOutOfRange);
    bool changed = geo_.Cols().Get(i) != width;
    geo_.Cols().Set(i, width);
    if (!changed) return;
    InvalidateGrid();
    ColWidthsChanged();
}

void T_CustomGrid::SetRowHeight(int i, int height) {
    height = std::min(std::max(height, DefaultRowHeight()), kMaxRowHeight);
    if (i < 0 || i >= RowCount()) grid::RaiseGridError(grid::kIndexOutOfRange);
    bool changed = geo_.Rows().Get(i) != height;
    geo_.Rows().Set(i, height);
    if (!changed) return;
    InvalidateGrid();
    RowHeightsChanged();
}

void T_CustomGrid::SetGridLineWidth(int value) {
    geo_.GridLineWidth = value;
    UpdateScrollRange();
    InvalidateGrid();
}

void T_CustomGrid::SetFixedColor(gui::TColor value) {
    fixedColor_ = value;
    InvalidateGrid();
}

void T_CustomGrid::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    ApplyBorderStyle();
}

void T_CustomGrid::ApplyBorderStyle() {
    setFrameStyle(borderStyle_ == bsSingle ? (QFrame::StyledPanel | QFrame::Sunken) : QFrame::NoFrame);
}

void T_CustomGrid::SetDefaultDrawing(bool value) {
    defaultDrawing_ = value;
    InvalidateGrid();
}

void T_CustomGrid::SetOptions(TGridOptions value) {
    if (value.Contains(goRowSelect)) value.Exclude(goAlwaysShowEditor);
    geo_.Options = value;
    if (!editorShowing_) {
        if (value.Contains(goAlwaysShowEditor))
            ShowEditor();
        else
            HideEditor();
    }
    if (value.Contains(goRowSelect)) MoveCursor(false, current_.Col, current_.Row, true, false);
    UpdateScrollRange();
    InvalidateGrid();
}

void T_CustomGrid::SetReadOnlyMode(bool on) {
    readOnlyMode_ = on;
    TGridOptions o = Options();
    if (on) {
        HideEditor();
        o.Exclude(goColMoving).Exclude(goRowMoving).Exclude(goColSizing).Exclude(goRowSizing);
    } else {
        o.Include(goRowMoving);
        if (allowLayoutChanges_) o.Include(goColMoving).Include(goColSizing).Include(goRowSizing);
    }
    SetOptions(o);
}

// ---- second line -----------------------------------------------------------------------------------

void T_CustomGrid::SetSecondLine(bool value) {
    if (value == secondLine_) return;
    secondLine_ = value;
    // Every data row gets one or two line heights; stored in one pass with one notification, as a
    // grid may hold very many rows.
    int h = std::min((value ? 2 : 1) * DefaultRowHeight(), kMaxRowHeight);
    for (int i = 1; i < RowCount(); ++i) geo_.Rows().Set(i, h);
    InvalidateGrid();
    RowHeightsChanged();
}

void T_CustomGrid::SetUseSecondLine(bool value) {
    useSecondLine_ = value;
    InvalidateGrid();
}

void T_CustomGrid::SetLeftStartSecond(int value) {
    geo_.LeftStartSecond = value;
    InvalidateGrid();
}

void T_CustomGrid::SetRightEndSecond(int value) {
    geo_.RightEndSecond = value;
    InvalidateGrid();
}

// ---- cursor ----------------------------------------------------------------------------------------

grid::Rect T_CustomGrid::Selection() const {
    return {std::min(current_.Col, anchor_.Col), std::min(current_.Row, anchor_.Row),
            std::max(current_.Col, anchor_.Col), std::max(current_.Row, anchor_.Row)};
}

bool T_CustomGrid::IsSelected(int col, int row) const {
    grid::Rect s = Selection();
    return col >= s.Left && col <= s.Right && row >= s.Top && row <= s.Bottom;
}

void T_CustomGrid::InvalidateSelectionChange(const grid::Rect& before, const grid::Rect& after) {
    if (before == after) return;
    InvalidateRect(RangeBounds(before.Left, before.Top, before.Right, before.Bottom, true));
    InvalidateRect(RangeBounds(after.Left, after.Top, after.Right, after.Bottom, true));
}

void T_CustomGrid::MoveCursor(bool second, int col, int row, bool moveAnchor, bool scrollIntoView) {
    const int oldRow = current_.Row;
    if (OnBeforeRowChange) OnBeforeRowChange(this, oldRow, row);
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        grid::RaiseGridError(grid::kIndexOutOfRange);
    if (SelectCell(second, col, row)) {
        const grid::Rect oldSel = Selection();
        const TCellPos oldCur = current_;
        current_ = TCellPos{col, row, second};
        HideEditor();
        if (moveAnchor) {
            anchor_ = current_;
            if (Options().Contains(goRowSelect)) anchor_.Col = ColCount() - 1;
        }
        if (Options().Contains(goRowSelect)) current_.Col = FixedCols();
        if (scrollIntoView) ScrollIntoView(current_);
        InvalidateSelectionChange(oldSel, Selection());
        InvalidateCell(oldCur.Second, oldCur.Col, oldCur.Row);
        InvalidateCell(current_.Second, current_.Col, current_.Row);
    }
    if (OnAfterRowChange) OnAfterRowChange(this, oldRow, current_.Row);
}

void T_CustomGrid::GoToCell(bool second, int col, int row, bool moveAnchor) {
    MoveCursor(second, col, row, moveAnchor, true);
    ShowEditor();
}

void T_CustomGrid::SetCol(int value) {
    if (value != Col()) GoToCell(false, value, Row(), true);
}

void T_CustomGrid::SetRow(int value) {
    if (value != Row()) GoToCell(false, Col(), value, true);
}

// ---- scrolling -------------------------------------------------------------------------------------

void T_CustomGrid::ScrollIntoView(const TCellPos& pos) {
    if (auto target = Geo().ScrollIntoViewTarget(pos.Col, pos.Row)) ScrollTo(target->Col, target->Row);
}

void T_CustomGrid::ScrollTo(int col, int row) {
    const grid::CellCoord old = geo_.TopLeft;
    if (old.Col == col && old.Row == row) return;
    const TGridMetrics m = ComputeMetrics();
    const int dx = Geo().DistanceBetween(false, old.Col, col) * (col > old.Col ? 1 : -1);
    const int dy = Geo().DistanceBetween(true, old.Row, row) * (row > old.Row ? 1 : -1);
    geo_.TopLeft = {col, row};
    UpdateScrollRange();
    const int bodyW = m.Horz.Extent - m.Horz.FixedEnd, bodyH = m.Vert.Extent - m.Vert.FixedEnd;
    if (std::abs(dx) >= bodyW || std::abs(dy) >= bodyH || (dx && dy)) {
        InvalidateGrid();
    } else if (dy) {
        // The body moves with the strip of fixed columns beside it.
        viewport()->scroll(0, -dy, QRect(0, m.Vert.FixedEnd, m.Horz.Extent, bodyH));
    } else if (dx) {
        viewport()->scroll(isRightToLeft() ? dx : -dx, 0,
                           isRightToLeft() ? QRect(0, 0, bodyW, m.Vert.Extent)
                                           : QRect(m.Horz.FixedEnd, 0, bodyW, m.Vert.Extent));
    }
    if (Options().Contains(goRowSelect)) {
        grid::Rect s = Selection();
        InvalidateRect(RangeBounds(s.Left, s.Top, s.Right, s.Bottom, true));
    }
    TopLeftChanged();
}

void T_CustomGrid::ScrollByCode(bool vertical, TScrollCode code, int position) {
    if (isVisible() && (focusPolicy() & Qt::TabFocus) && isEnabled()) setFocus();
    const grid::Geometry& g = Geo();
    int target = g.ScrollTarget(vertical, code, position);
    if (vertical)
        ScrollTo(LeftCol(), target);
    else
        ScrollTo(target, TopRow());
}

void T_CustomGrid::UpdateScrollRange() {
    settingScroll_ = true;
    QScrollBar* bar = verticalScrollBar();
    if (Geo().VertScrollActive()) {
        bar->setRange(0, kScrollRangeMax);
        bar->setValue(Geo().VertScrollPos());
    } else {
        bar->setRange(0, 0);
    }
    settingScroll_ = false;
}

void T_CustomGrid::OnVerticalAction(int action) {
    if (settingScroll_) return;
    QScrollBar* bar = verticalScrollBar();
    TScrollCode code;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            code = TScrollCode::LineDown;
            break;
        case QAbstractSlider::SliderSingleStepSub:
            code = TScrollCode::LineUp;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            code = TScrollCode::PageDown;
            break;
        case QAbstractSlider::SliderPageStepSub:
            code = TScrollCode::PageUp;
            break;
        case QAbstractSlider::SliderToMinimum:
            code = TScrollCode::Top;
            break;
        case QAbstractSlider::SliderToMaximum:
            code = TScrollCode::Bottom;
            break;
        case QAbstractSlider::SliderMove:
            if (!Options().Contains(goThumbTracking)) return;  // applied when the thumb is released
            code = TScrollCode::ThumbTrack;
            break;
        default:
            return;
    }
    HideEditor();
    ScrollByCode(true, code, bar->sliderPosition());
    bar->setSliderPosition(Geo().VertScrollPos());
}

void T_CustomGrid::OnVerticalReleased() {
    QScrollBar* bar = verticalScrollBar();
    HideEditor();
    ScrollByCode(true, TScrollCode::ThumbPosition, bar->sliderPosition());
    UpdateScrollRange();
}

// The scroll bar's range is the grid's own 0..127 scale; the grid scrolls in OnVerticalAction.
void T_CustomGrid::scrollContentsBy(int, int) {}

// ---- repaint requests ------------------------------------------------------------------------------

void T_CustomGrid::InvalidateRect(const grid::Rect& r) {
    if (!r.IsEmpty()) viewport()->update(ToQRect(r));
}

void T_CustomGrid::InvalidateGrid() {
    viewport()->update();
}

void T_CustomGrid::InvalidateCell(bool second, int col, int row) {
    if (!isVisible()) return;  // a hidden grid is painted whole when it is shown
    if (!second) {
        InvalidateRect(RangeBounds(col, row, col, row, true));
        return;
    }
    InvalidateRect(SecondLineBounds(row, true));
    auto [left, right] = SecondLineSideBounds(row);
    InvalidateRect(left);
    InvalidateRect(right);
}

// ---- structure -------------------------------------------------------------------------------------

void T_CustomGrid::FitColumns(int index, bool after) {
    if (fitting_) return;
    HideEditor();
    fitting_ = true;
    try {
        grid::FitInput in;
        for (int i = 0; i < ColCount(); ++i) in.Widths.push_back(GetColWidth(i));
        in.FixedCols = FixedCols();
        in.Index = index;
        in.After = after;
        in.ClientWidth = Geo().ClientWidth;
        in.ScrollBarActive = verticalScrollBar()->maximum() > verticalScrollBar()->minimum();
        in.ScrollBarWidth = ScrollBarWidth();
        in.LineWidth = Geo().HorzLineWidth();
        std::vector<int> widths = grid::FitColumnWidths(in);
        for (int i = 0; i < ColCount(); ++i)
            if (widths[i] != in.Widths[i]) SetColWidth(i, widths[i]);
    } catch (...) {
        fitting_ = false;
        throw;
    }
    fitting_ = false;
    ColWidthsChanged();
}

void T_CustomGrid::MoveColumn(int from, int to) {
    if (from == to) return;
    if (from < 0 || to < 0 || from >= ColCount() || to >= ColCount())
        grid::RaiseGridError(grid::kIndexOutOfRange);
    geo_.Cols().Move(from, to);
    current_.Col = grid::MovedIndex(current_.Col, from, to);
    anchor_.Col = grid::MovedIndex(anchor_.Col, from, to);
    if (editCell_.Col >= 0) editCell_.Col = grid::MovedIndex(editCell_.Col, from, to);
    grid::Rect band = RangeBounds(std::min(from, to), 0, std::max(from, to), RowCount() - 1, true);
    InvalidateRect({band.Left, 0, band.Right, Geo().ClientHeight});
    ColumnMoved(from, to);
    if (geo_.Cols().HasList()) ColWidthsChanged();
    ShowEditor();
}

void T_CustomGrid::MoveRow(int from, int to) {
    if (from == to) return;
    if (from < 0 || to < 0 || from >= RowCount() || to >= RowCount())
        grid::RaiseGridError(grid::kIndexOutOfRange);
    geo_.Rows().Move(from, to);
    current_.Row = grid::MovedIndex(current_.Row, from, to);
    anchor_.Row = grid::MovedIndex(anchor_.Row, from, to);
    if (editCell_.Row >= 0) editCell_.Row = grid::MovedIndex(editCell_.Row, from, to);
    RowMoved(from, to);
    if (geo_.Rows().HasList()) RowHeightsChanged();
    MoveCursor(SecondLineEdit, current_.Col, current_.Row, true, true);
    ShowEditor();
    if (isVisible() && isEnabled() && focusPolicy() != Qt::NoFocus) setFocus();
}

void T_CustomGrid::DeleteColumn(int i) {
    MoveColumn(i, ColCount() - 1);
    SetColCount(ColCount() - 1);
}

void T_CustomGrid::DeleteRow(int i) {
    MoveRow(i, RowCount() - 1);
    SetRowCount(RowCount() - 1);
}

// ---- editor hosting --------------------------------------------------------------------------------

void T_CustomGrid::ShowEditor() {
    if (!CanShowEditor()) return;
    if (editorShowing_) HideEditor();
    grid::CellEditor* editor = nullptr;
    bool ok = false;
    bool second = SecondLineEdit;
    GetCellEditor(second, editor, ok);
    if (!ok || !editor) return;
    activeEditor_ = editor;
    editorShowing_ = true;
    editCell_ = {Col(), Row()};
    editorOnSecond_ = SecondLineEdit;
    PlaceEditor(editor, SecondLineEdit, true, CellBounds(Col(), Row()));
}

void T_CustomGrid::PlaceEditor(grid::CellEditor* editor, bool second, bool update,
                               const grid::Rect& cellRect) {
    QWidget* w = editor ? editor->EditorWidget() : nullptr;
    if (!w) return;
    if (cellRect.IsEmpty()) {
        w->hide();
        return;
    }
    grid::Rect r = cellRect;
    if (second)
        r = SecondLineBounds(Row(), true);
    else
        r.Bottom = std::min(r.Bottom, r.Top + DefaultRowHeight());
    editorOnSecond_ = second;
    bool wasHidden = !w->isVisible();
    w->setGeometry(ToQRect(r));
    w->show();
    int right = r.Width() - 2 - editor->ButtonWidth() - (second ? 20 : 0);
    editor->SetTextRect(QRect(2, 2, std::max(0, right - 2), r.Height() - 2));
    if (update || wasHidden) w->update();
    if (hasFocus()) w->setFocus();
}

void T_CustomGrid::HideEditor() {
    if (!activeEditor_) return;
    bool unchanged = editorShowing_ ? WriteEditorText() : true;
    QWidget* w = activeEditor_->EditorWidget();
    if (w && w->hasFocus()) setFocus();
    editorShowing_ = false;
    AfterCellEdit(editCell_.Col, editCell_.Row, unchanged, std::string());
    if (w) {
        w->hide();
        w->setGeometry(-1000, w->y(), w->width(), 0);
    }
    if (editCell_.Row >= 0)
        InvalidateRect(RangeBounds(0, editCell_.Row, ColCount() - 1, editCell_.Row, true));
    editCell_ = {-1, -1};
    editorOnSecond_ = false;
}

bool T_CustomGrid::WriteEditorText() {
    if (!activeEditor_ || editCell_.Col < 0 || editCell_.Row < 0) return true;
    return SetEditText(editorOnSecond_, editCell_.Col, editCell_.Row, activeEditor_->EditorText());
}

// ---- base hooks ------------------------------------------------------------------------------------

void T_CustomGrid::DrawColumnDragImage(QPainter&, int, const QRect&) {}
void T_CustomGrid::DrawRowDragImage(QPainter&, int, const QRect&) {}
std::string T_CustomGrid::GetEditFormat() {
    return {};
}
void T_CustomGrid::BeforeCellWrite(int, int, std::string&) {}

void T_CustomGrid::GetCellEditor(bool&, grid::CellEditor*& editor, bool& ok) {
    editor = nullptr;
    ok = false;
}

void T_CustomGrid::AfterCellEdit(int col, int row, bool unchanged, const std::string& fieldName) {
    if (OnAfterCellEdit) OnAfterCellEdit(this, col, row, fieldName, unchanged);
}

void T_CustomGrid::AfterCellWrite(int col, int row, const std::string& fieldName) {
    if (destroying_ || cellWritesMuted_) return;
    if (OnAfterCellWrite) OnAfterCellWrite(this, col, row, fieldName);
}

grid::SizingHit T_CustomGrid::HitTestSizing(int x, int y) {
    TGridOptions o = Options();
    if (!o.Contains(goRowSizing) && !o.Contains(goColSizing)) return {};
    const grid::Geometry& g = Geo();
    const TGridMetrics m = g.ComputeMetrics();
    if (isRightToLeft()) x = m.Horz.Extent - x - 1;
    auto test = [&](const TAxisMetrics& a, const grid::AxisSizes& s, int coord, TGridMode mode) {
        const int zone = std::max(a.LineWidth, 7);
        const int back = a.LineWidth < 7 ? (7 - a.LineWidth) / 2 : 0;
        int line = a.FixedEnd;
        for (int i = a.FirstScrollable; i < a.CellCount; ++i) {
            line += s.Advance(i, a.LineWidth);
            bool cut = line > a.Extent;
            int pos = cut ? a.Extent : line - a.LineWidth;
            if (s.Get(i) >= 0 && coord >= pos - back && coord < pos - back + zone)
                return grid::SizingHit{mode, i, pos, pos - coord};
            if (cut) break;
        }
        return grid::SizingHit{};
    };
    if (x > m.Horz.FixedEnd && y < m.Vert.FixedEnd && o.Contains(goColSizing))
        return test(m.Horz, g.Cols(), x, TGridMode::ColSizing);
    if (y > m.Vert.FixedEnd && x < m.Horz.FixedEnd && o.Contains(goRowSizing))
        return test(m.Vert, g.Rows(), y, TGridMode::RowSizing);
    return {};
}

bool T_CustomGrid::CanShowEditor() {
    return constructed_ && !fitting_;
}

bool T_CustomGrid::SelectCell(bool, int, int) {
    return true;
}
bool T_CustomGrid::GridAcceptsKey(int, unsigned) {
    return true;
}
bool T_CustomGrid::CanModifyCell() {
    return canModify_;
}
std::string T_CustomGrid::GetEditText(bool, int, int) {
    return {};
}
bool T_CustomGrid::SetEditText(bool, int, int, const std::string&) {
    return false;
}
void T_CustomGrid::RowMoved(int, int) {}
void T_CustomGrid::CountChanged(int, int) {}
void T_CustomGrid::ColumnMoved(int, int) {}

void T_CustomGrid::TopLeftChanged() {
    if (editorShowing_ && activeEditor_)
        PlaceEditor(activeEditor_, editorOnSecond_, false, CellBounds(Col(), Row()));
}

void T_CustomGrid::ColWidthsChanged() {
    UpdateScrollRange();
    ShowEditor();
}

void T_CustomGrid::RowHeightsChanged() {
    FireUserHeigth();
    UpdateScrollRange();
    if (editorShowing_ && activeEditor_)
        PlaceEditor(activeEditor_, editorOnSecond_, true, CellBounds(Col(), Row()));
}

bool T_CustomGrid::StartColumnDrag(int&, int&, const QPoint&) {
    return false;
}
bool T_CustomGrid::StartRowDrag(int&, int&, const QPoint&) {
    return false;
}

void T_CustomGrid::SetMode(TGridMode mode, int index, int position, int offset) {
    mode_ = mode;
    sizingIndex_ = index;
    sizingPos_ = position;
    sizingOffset_ = offset;
    viewport()->update();
}

void T_CustomGrid::SetMove(grid::MoveKind kind, int origin, int target, grid::MoveKind indicator) {
    moveKind_ = kind;
    moveOrigin_ = origin;
    moveTarget_ = target;
    indicatorKind_ = indicator;
    viewport()->update();
}

// ---- painting --------------------------------------------------------------------------------------

void T_CustomGrid::PaintCells(QPainter& canvas, const QRect& dirty, int startCol, int colLimit, int startRow,
                              int rowLimit, QPoint origin, QPoint stop, const QColor& color,
                              TGridDrawState areaState) {
    const int lwH = geo_.HorzLineWidth(), lwV = geo_.VertLineWidth();
    int y = origin.y();
    for (int row = startRow; row < rowLimit && y < stop.y(); ++row) {
        const int h = GetRowHeight(row);
        int x = origin.x();
        for (int col = startCol; col < colLimit && x < stop.x(); ++col) {
            const int w = GetColWidth(col);
            if (w <= 0) {
                x += w < 0 ? 0 : lwH;
                continue;
            }
            QRect cell(x, y, w, h);
            if (isRightToLeft()) cell.moveLeft(geo_.ClientWidth - x - w);
            if (cell.intersects(dirty)) {
                TGridDrawState state = areaState | (IsSelected(col, row) ? gdSelected : 0);
                if (defaultDrawing_) grid::PaintCellBackground(canvas, cell, state, color, palette());
                DrawCell(canvas, col, row, cell, state);
            }
            x += w + lwH;
        }
        if (useSecondLine_ && row >= FixedRows()) {
            grid::Rect s = SecondLineBounds(row, false);
            if (!s.IsEmpty()) DrawCell(canvas, -2, row, ToQRect(s), 0);
        }
        y += h + lwV;
    }
}

void T_CustomGrid::Paint(QPainter& canvas, const QRect& dirty) {
    const TGridMetrics m = ComputeMetrics();
    const QColor fixed = gui::ToQColor(fixedColor_);
    const QColor body = palette().color(QPalette::Base);
    grid::PaintGridBackground(canvas, dirty, QRect(0, 0, m.Horz.GridEnd, m.Vert.GridEnd), body,
                              palette().color(QPalette::Mid));
    const QPoint fixedEnd(m.Horz.FixedEnd, m.Vert.FixedEnd), gridEnd(m.Horz.GridEnd, m.Vert.GridEnd);
    PaintCells(canvas, dirty, 0, FixedCols(), 0, FixedRows(), {0, 0}, fixedEnd, fixed, gdFixed);
    PaintCells(canvas, dirty, LeftCol(), ColCount(), 0, FixedRows(), {fixedEnd.x(), 0},
               {gridEnd.x(), fixedEnd.y()}, fixed, gdFixed);
    PaintCells(canvas, dirty, 0, FixedCols(), TopRow(), RowCount(), {0, fixedEnd.y()},
               {fixedEnd.x(), gridEnd.y()}, fixed, gdFixed);
    PaintCells(canvas, dirty, LeftCol(), ColCount(), TopRow(), RowCount(), fixedEnd, gridEnd, body, 0);
    PaintOverlays(canvas, m);
}

void T_CustomGrid::PaintOverlays(QPainter& canvas, const TGridMetrics& m) {
    if (mode_ != TGridMode::Normal)
        grid::PaintSizingLine(canvas, mode_ == TGridMode::ColSizing, sizingPos_,
                              mode_ == TGridMode::ColSizing ? m.Vert.Extent : m.Horz.Extent);
    if (indicatorKind_ == grid::MoveKind::None || moveTarget_ < 0) return;
    if (indicatorKind_ == grid::MoveKind::Column) {
        grid::Rect r = CellBounds(moveTarget_, 0);
        grid::PaintMoveIndicator(canvas, true, ToQRect(r), moveOrigin_ < moveTarget_);
    } else {
        grid::Rect r = RangeBounds(0, moveTarget_, FixedCols() > 1 ? 1 : 0, moveTarget_, false);
        grid::PaintMoveIndicator(canvas, false, ToQRect(r), false);
    }
}

void T_CustomGrid::paintEvent(QPaintEvent* event) {
    Guarded([&] {
        QPainter painter(viewport());
        canvas_ = &painter;
        try {
            Paint(painter, event->rect());
        } catch (...) {
            canvas_ = nullptr;
            throw;
        }
        canvas_ = nullptr;
    });
}

void T_CustomGrid::resizeEvent(QResizeEvent* event) {
    Guarded([&] {
        QAbstractScrollArea::resizeEvent(event);
        UpdateScrollRange();
        if (isRightToLeft()) InvalidateGrid();
    });
}

void T_CustomGrid::showEvent(QShowEvent* event) {
    Guarded([&] {
        QAbstractScrollArea::showEvent(event);
        UpdateScrollRange();
    });
}
