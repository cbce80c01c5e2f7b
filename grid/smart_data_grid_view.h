#pragma once
// TFSmartDataGridView: the preview of the order. In this system it is never shown; it holds the
// order-line grid DataGridOrder with its sixteen columns for the whole call. The text panes and splitters
// around the grid are not part of this holder.
#include <QWidget>

#include "grid/data_grid.h"

class TFSmartDataGridView : public QWidget {
    Q_OBJECT

  public:
    explicit TFSmartDataGridView(QWidget* parent = nullptr);
    ~TFSmartDataGridView() override;

    TDataGrid* DataGridOrder = nullptr;

    // Read-only grid whose rows and columns can still be sized and moved.
    void FormCreate();
    // Fits the grid's columns to its width.
    void FormResize();
    // In "t" rows only the sum column shows its display mask.
    void DataGridOrderForceFormatThisCell(int col, int row, bool& force);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void BuildGrid();
};
