#pragma once
// T_CustomGrid: the grid control. Fixed header rows and columns, a scrollable body with a vertical scroll
// bar only, a current cell without range selection, an optional second text line per row, and the
// hosting of one in-place editor over the current cell. Every pixel position comes from grid::Geometry;
// the control adds the window, repaint requests and the overridable hooks of the grid family.
#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QRect>
#include <functional>
#include <string>
#include <utility>

#include "gridcontrol/cell_editor.h"
#include "gridcontrol/geometry.h"
#include "gridcontrol/grid_types.h"
#include "platform/gui/color.h"

class QPainter;

namespace grid {

// Result of the sizing hit test: which line the pointer is on.
struct SizingHit {
    TGridMode Mode = TGridMode::Normal;
    int Index = -1;
    int Position = 0;
    int Offset = 0;
};

// Kind of a row or column move in progress, and of the move indicator.
enum class MoveKind { None = 0, Row = 1, Column = 2 };

}  // namespace grid

class T_CustomGrid : public QAbstractScrollArea {
    Q_OBJECT

  public:
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)

    explicit T_CustomGrid(QWidget* parent = nullptr);
    ~T_CustomGrid() override;

    // ---- counts, sizes and looks ----
    int ColCount() const { return geo_.Cols().Count(); }
    void SetColCount(int value);
    int RowCount() const { return geo_.Rows().Count(); }
    virtual void SetRowCount(int value);
    int FixedCols() const { return geo_.Cols().Fixed(); }
    void SetFixedCols(int value);
    int FixedRows() const { return geo_.Rows().Fixed(); }
    void SetFixedRows(int value);
    int DefaultColWidth() const { return geo_.Cols().Default(); }
    void SetDefaultColWidth(int value);
    int DefaultRowHeight() const { return geo_.Rows().Default(); }
    void SetDefaultRowHeight(int value);
    int GridLineWidth() const { return geo_.GridLineWidth; }
    void SetGridLineWidth(int value);
    TGridOptions Options() const { return geo_.Options; }
    void SetOptions(TGridOptions value);
    gui::TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(gui::TColor value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool value);
    int VisibleColCount() const { return Geo().VisibleColCount(); }
    int VisibleRowCount() const { return Geo().VisibleRowCount(); }

    int GetColWidth(int i) const { return geo_.Cols().Get(i); }
    virtual void SetColWidth(int i, int width);
    int GetRowHeight(int i) const { return geo_.Rows().Get(i); }
    // Heights are held between DefaultRowHeight and 300 pixels.
    void SetRowHeight(int i, int height);
    bool HasColWidthList() const { return geo_.Cols().HasList(); }
    bool HasRowHeightList() const { return geo_.Rows().HasList(); }

    // ---- second line ----
    bool SecondLine() const { return secondLine_; }
    void SetSecondLine(bool value);
    bool UseSecondLine() const { return useSecondLine_; }
    void SetUseSecondLine(bool value);
    QFont SecondFont() const { return secondFont_; }
    void SetSecondFont(const QFont& value) { secondFont_ = value; }
    bool SecondReadOnly() const { return secondReadOnly_; }
    void SetSecondReadOnly(bool value) { secondReadOnly_ = value; }
    int LeftStartSecond() const { return geo_.LeftStartSecond; }
    void SetLeftStartSecond(int value);
    int RightEndSecond() const { return geo_.RightEndSecond; }
    void SetRightEndSecond(int value);
    bool SecondLineEdit = false;  // the next ShowEditor opens the second-line editor
    int SecondLineReturnCol = 0;  // column to return to when second-line editing ends

    // ---- cursor and scrolling ----
    TCellPos Current() const { return current_; }
    TCellPos Anchor() const { return anchor_; }
    int Col() const { return current_.Col; }
    void SetCol(int value);
    int Row() const { return current_.Row; }
    void SetRow(int value);
    int LeftCol() const { return geo_.TopLeft.Col; }
    int TopRow() const { return geo_.TopLeft.Row; }
    grid::Rect Selection() const;

    void MoveCursor(bool second, int col, int row, bool moveAnchor, bool scrollIntoView);
    void GoToCell(bool second, int col, int row, bool moveAnchor);
    void ScrollTo(int col, int row);
    void ScrollIntoView(const TCellPos& pos);
    void ScrollByCode(bool vertical, TScrollCode code, int position);
    void UpdateScrollRange();

    // ---- geometry (client coordinates of the viewport) ----
    const grid::Geometry& Geo() const;
    TGridMetrics ComputeMetrics() const { return Geo().ComputeMetrics(); }
    grid::Rect CellBounds(int col, int row) const { return Geo().CellBounds(col, row); }
    grid::Rect RangeBounds(int left, int top, int right, int bottom, bool includeLine) const {
        return Geo().RangeBounds(left, top, right, bottom, includeLine);
    }
    grid::CellCoord CellAtPoint(int x, int y) const { return Geo().CellAtPoint(x, y); }
    grid::Rect SecondLineBounds(int row, bool forEditor) const {
        return Geo().SecondLineBounds(row, forEditor, ScrollBarWidth());
    }
    std::pair<grid::Rect, grid::Rect> SecondLineSideBounds(int row) const {
        return Geo().SecondLineSideBounds(row);
    }
    int ScrollBarWidth() const;

    void InvalidateCell(bool second, int col, int row);
    void InvalidateGrid();
    void InvalidateRect(const grid::Rect& r);

    // ---- structure ----
    void FitColumns(int index, bool after);
    void MoveColumn(int from, int to);
    void MoveRow(int from, int to);
    virtual void DeleteColumn(int i);
    virtual void DeleteRow(int i);
    void ResizeGrid(int cols, int rows);
    virtual void SetReadOnlyMode(bool on);
    bool ReadOnlyMode() const { return readOnlyMode_; }

    // ---- editor hosting ----
    void ShowEditor();
    void HideEditor();
    bool EditorShowing() const { return editorShowing_; }
    grid::CellEditor* ActiveEditor() const { return activeEditor_; }
    grid::CellCoord EditCell() const { return editCell_; }
    bool EditorOnSecondLine() const { return editorOnSecond_; }
    // Hands the editor text to SetEditText; true (unchanged) without editor or edit cell.
    bool WriteEditorText();
    void PlaceEditor(grid::CellEditor* editor, bool second, bool update, const grid::Rect& cellRect);

    // ---- interaction state used by sizing and moving ----
    TGridMode Mode() const { return mode_; }
    grid::MoveKind MoveInProgress() const { return moveKind_; }
    int MoveOrigin() const { return moveOrigin_; }
    int MoveTarget() const { return moveTarget_; }
    int MouseDownX() const { return mouseDownX_; }

    bool CellWritesMuted() const { return cellWritesMuted_; }
    void SetCellWritesMuted(bool on) { cellWritesMuted_ = on; }
    void SetCanModify(bool on) { canModify_ = on; }

    // The painter while the grid paints (for OnDrawCell handlers), else null.
    QPainter* Canvas() const { return canvas_; }

    // ---- events (unassigned by default) ----
    std::function<void(T_CustomGrid* sender)> OnUserHeigth;
    std::function<void(T_CustomGrid* sender, int col, int row, const std::string& fieldName, bool equal)>
        OnAfterCellEdit;
    std::function<void(T_CustomGrid* sender, int col, int row, const std::string& fieldName)>
        OnAfterCellWrite;
    std::function<void(T_CustomGrid* sender)> OnAfterCellInput;
    std::function<void(T_CustomGrid* sender, int fromIndex, int toIndex)> OnColumnMoved;
    std::function<void(T_CustomGrid* sender, int fromIndex, int toIndex)> OnRowMoved;
    std::function<void(T_CustomGrid* sender, QPainter& canvas, int col, int row, const QRect& rect,
                       TGridDrawState state)>
        OnDrawCell;
    std::function<void(T_CustomGrid* sender, int col, int row, std::string& value)> OnGetEditMask;
    std::function<void(T_CustomGrid* sender, int col, int row, std::string& value)> OnGetEditText;
    std::function<void(T_CustomGrid* sender, int col, int row, const std::string& value)> OnSetEditText;
    std::function<void(T_CustomGrid* sender, int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(T_CustomGrid* sender)> OnTopLeftChanged;
    std::function<void(T_CustomGrid* sender, int oldRow, int newRow)> OnBeforeRowChange;
    std::function<void(T_CustomGrid* sender, int oldRow, int newRow)> OnAfterRowChange;

  protected:
    // ---- overridable operations, in slot order ----
    virtual void DrawColumnDragImage(QPainter& canvas, int col, const QRect& rect);
    virtual void DrawRowDragImage(QPainter& canvas, int row, const QRect& rect);
    virtual std::string GetEditFormat();
    virtual void BeforeCellWrite(int col, int row, std::string& text);
    virtual void GetCellEditor(bool& secondLine, grid::CellEditor*& editor, bool& ok);
    virtual void AfterCellEdit(int col, int row, bool unchanged, const std::string& fieldName);
    virtual void AfterCellWrite(int col, int row, const std::string& fieldName);
    virtual grid::SizingHit HitTestSizing(int x, int y);
    virtual bool CanShowEditor();
    virtual void DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) = 0;
    virtual bool SelectCell(bool second, int col, int row);

    // ---- notification hooks ----
    virtual bool GridAcceptsKey(int key, unsigned shift);
    virtual bool CanModifyCell();
    virtual std::string GetEditText(bool second, int col, int row);
    virtual bool SetEditText(bool second, int col, int row, const std::string& text);
    virtual void RowMoved(int from, int to);
    virtual void CountChanged(int oldCols, int oldRows);
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual bool StartColumnDrag(int& from, int& to, const QPoint& point);
    virtual bool StartRowDrag(int& from, int& to, const QPoint& point);
    virtual void ColumnMoved(int from, int to);

    // The paint routine of the whole client area. The base fills the background, calls DrawCell for every
    // visible cell (and with column -2 for second lines when UseSecondLine is on), then draws the sizing
    // line and the move indicator. The order-line grid replaces it.
    virtual void Paint(QPainter& canvas, const QRect& dirty);
    // Paints the cells of one area: columns from startCol (below colLimit), rows from startRow (below
    // rowLimit), starting at pixel (x0, y0) and stopping at (x1, y1).
    void PaintCells(QPainter& canvas, const QRect& dirty, int startCol, int colLimit, int startRow,
                    int rowLimit, QPoint origin, QPoint stop, const QColor& color, TGridDrawState areaState);
    void PaintOverlays(QPainter& canvas, const TGridMetrics& m);
    bool IsSelected(int col, int row) const;

    // While off, no editor is shown, OnUserHeigth is not fired and changed cells are not repainted one by
    // one. It turns on when construction has finished; the order-line grid turns it off around bulk work.
    bool Constructed() const { return constructed_; }
    void SetConstructed(bool on) { constructed_ = on; }
    bool Destroying() const { return destroying_; }
    void SetDestroying() { destroying_ = true; }
    // Drops the edit cell so that the next ShowEditor does not write the old editor text back.
    void ForgetEditCell() { editCell_ = {-1, -1}; }
    void FireUserHeigth();

    // Interaction state for the sizing and moving handlers.
    void SetMode(TGridMode mode, int index = -1, int position = 0, int offset = 0);
    void SetMove(grid::MoveKind kind, int origin, int target, grid::MoveKind indicator);
    void SetMouseDownX(int x) { mouseDownX_ = x; }

    // Qt
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    void OnVerticalAction(int action);
    void OnVerticalReleased();
    void ApplyResize(int cols, int rows);
    void InvalidateSelectionChange(const grid::Rect& before, const grid::Rect& after);
    void ResetPositions();
    void ApplyBorderStyle();

    mutable grid::Geometry geo_;
    TCellPos current_{1, 1, false};
    TCellPos anchor_{1, 1, false};
    gui::TColor fixedColor_ = gui::clBtnFace;
    TBorderStyle borderStyle_ = bsSingle;
    bool defaultDrawing_ = true;
    bool secondLine_ = false;
    bool useSecondLine_ = false;
    QFont secondFont_;
    bool secondReadOnly_ = false;

    TGridMode mode_ = TGridMode::Normal;
    int sizingIndex_ = -1;
    int sizingPos_ = 0;
    int sizingOffset_ = 0;
    grid::MoveKind moveKind_ = grid::MoveKind::None;
    grid::MoveKind indicatorKind_ = grid::MoveKind::None;
    int moveOrigin_ = -1;
    int moveTarget_ = -1;
    int mouseDownX_ = 0;

    grid::CellCoord editCell_{-1, -1};
    bool editorShowing_ = false;
    grid::CellEditor* activeEditor_ = nullptr;
    bool editorOnSecond_ = false;

    bool readOnlyMode_ = false;
    bool allowLayoutChanges_ = false;  // nothing in the system sets it
    bool cellWritesMuted_ = false;
    bool canModify_ = true;
    bool constructed_ = false;
    bool destroying_ = false;
    bool fitting_ = false;
    bool settingScroll_ = false;
    QPainter* canvas_ = nullptr;
};
