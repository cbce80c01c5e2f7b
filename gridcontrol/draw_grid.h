#pragma once
// T_DrawGrid: the grid with its published properties (by the system's names, settable by name through the
// meta-object system) and the cell events fired from the hooks of the base.
#include <QList>

#include "gridcontrol/custom_grid.h"

Q_DECLARE_METATYPE(TGridOptions)

class T_DrawGrid : public T_CustomGrid {
    Q_OBJECT
    Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    Q_PROPERTY(bool DefaultDrawing READ DefaultDrawing WRITE SetDefaultDrawing)
    Q_PROPERTY(gui::TColor FixedColor READ FixedColor WRITE SetFixedColor)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    Q_PROPERTY(int FixedRows READ FixedRows WRITE SetFixedRows)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth)
    Q_PROPERTY(TGridOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(int VisibleColCount READ VisibleColCount)
    Q_PROPERTY(int VisibleRowCount READ VisibleRowCount)
    Q_PROPERTY(bool SecondLine READ SecondLine WRITE SetSecondLine)
    Q_PROPERTY(bool UseSecondLine READ UseSecondLine WRITE SetUseSecondLine)
    Q_PROPERTY(QFont SecondFont READ SecondFont WRITE SetSecondFont)
    Q_PROPERTY(bool SecondReadOnly READ SecondReadOnly WRITE SetSecondReadOnly)
    Q_PROPERTY(int LeftStartSecond READ LeftStartSecond WRITE SetLeftStartSecond)
    Q_PROPERTY(int RightEndSecond READ RightEndSecond WRITE SetRightEndSecond)
    Q_PROPERTY(QList<int> ColWidths READ ColWidths WRITE SetColWidths)
    Q_PROPERTY(QList<int> RowHeights READ RowHeights WRITE SetRowHeights)

  public:
    explicit T_DrawGrid(QWidget* parent = nullptr) : T_CustomGrid(parent) {}

    // The size lists as stored: one entry per column (row) while a list exists, else empty. Setting one
    // sets each width (height) in order.
    QList<int> ColWidths() const;
    void SetColWidths(const QList<int>& widths);
    QList<int> RowHeights() const;
    void SetRowHeights(const QList<int>& heights);

  protected:
    void ColumnMoved(int from, int to) override;
    void RowMoved(int from, int to) override;
    std::string GetEditText(bool second, int col, int row) override;
    bool SetEditText(bool second, int col, int row, const std::string& text) override;
    bool SelectCell(bool second, int col, int row) override;
    void DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) override;
    void TopLeftChanged() override;
};
