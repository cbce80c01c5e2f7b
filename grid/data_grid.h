#pragma once
// TDataGrid: the order-line grid. A string grid whose columns are bound to field names (Columns), whose
// column 0 holds the row-kind marker, with an update mode for bulk changes and the host's stream format
// for loading and saving the lines.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "grid/column.h"
#include "gridcontrol/string_grid.h"
#include "platform/core/stream.h"

namespace grid {
// Field names compare without regard to letter case (ASCII and the code page's accented letters).
bool SameFieldName(std::string_view a, std::string_view b);
}  // namespace grid

enum TDataGridOption : uint8_t { dgoAppendRow = 1, dgoInsertRow = 2, dgoDeleteRow = 4 };

class TDataGrid : public T_StringGrid {
    Q_OBJECT
    Q_PROPERTY(int DataGridOptions READ DataGridOptions WRITE SetDataGridOptions)
    Q_PROPERTY(int RowCountMin READ RowCountMin WRITE SetRowCountMin)
    Q_PROPERTY(int SelectedIndex READ SelectedIndex WRITE SetSelectedIndex)
    Q_PROPERTY(bool FullColumnsStreaming MEMBER FullColumnsStreaming)
    Q_PROPERTY(int MaxSecondHeight READ MaxSecondHeight WRITE SetMaxSecondHeight)

  public:
    explicit TDataGrid(QWidget* parent = nullptr);
    ~TDataGrid() override;

    TDataGridColumns& Columns() { return *columns_; }
    const TDataGridColumns& Columns() const { return *columns_; }
    // Copies the items of another collection.
    void SetColumns(const TDataGridColumns& columns) { columns_->Assign(columns); }

    int DataGridOptions() const { return dataGridOptions_; }
    void SetDataGridOptions(int options) { dataGridOptions_ = options & 7; }
    int RowCountMin() const { return rowCountMin_; }
    // Negative values store 0; a value above RowCount raises RowCount to it.
    void SetRowCountMin(int value);
    int SelectedIndex() const { return Col(); }
    void SetSelectedIndex(int col) { MoveCursor(false, col, Row(), true, true); }
    int MaxSecondHeight() const { return maxSecondHeight_; }
    void SetMaxSecondHeight(int value);  // held between 50 and 100
    bool FullColumnsStreaming = false;
    void* EditorDataSet = nullptr;  // not owned

    // Look of the grid that unassigned column values follow.
    gui::Font GridFont;
    gui::TColor Color = gui::clWindow;

    // Index of the first column whose field name equals name without regard to case; -1 when none.
    int ColumnIndex(std::string_view name) const;
    // The first character of the marker text in column 0, blanks removed: "" for an article line, "t",
    // "a", "-", byte 0x81 and so on.
    std::string RowKind(int row) const;
    // True for the kinds "a", "t", "-" and byte 0x81; false for a negative row.
    bool IsNonArticleRow(int row) const;

    // Update mode: no painting of data cells, no editor, no field names reported, until EndUpdate. It
    // does not nest: the first EndUpdate ends it.
    void BeginUpdate();
    void EndUpdate(bool resetPosition);
    bool Updating() const { return updating_; }

    // The host's stream format. Load reads from the stream's position to its end; false when reading
    // failed (the rows read so far stay). Save writes at the stream's position; a failure is shown as
    // "TDataGrid.SaveToStream " and the message, and gives false.
    bool LoadFromStream(core::Stream& stream);
    bool SaveToStream(core::Stream& stream);

    // The column's edit mask (empty beyond the columns), then OnGetEditMask.
    std::string GetEditMask(int col, int row);
    // The end of construction from the view's settings: fires OnAfterloading.
    void Loaded();

    TColumn* EditorColumn = nullptr;
    std::vector<int> BookMarks;

    // Events; in this system only OnForceFormatThisCell has a handler.
    std::function<void(TDataGrid* sender)> OnAfterloading;
    std::function<void(int col, int row, bool& force)> OnForceFormatThisCell;
    std::function<void(TDataGrid* sender, int col, int row, std::string& value, const std::string& fieldName)>
        OnBeforeSetcell;
    std::function<void(TDataGrid* sender, int col, int row, QWidget* comboEditor)>
        OnBeforeComboEditorSettings;
    std::function<void(std::string& text, const std::string& fieldName, int col, int row, QPoint p,
                       const std::function<void(const std::string&)>& appendRecord, void* dataSet)>
        OnExternalDBGridEditor;
    std::function<void(TDataGrid* sender, int col, int row, const std::string& text, void* dataSet)>
        OnAppendRecord;
    std::function<void(TDataGrid* sender)> BeforeInsert;
    std::function<void(TDataGrid* sender)> AfterInsert;
    std::function<void(TDataGrid* sender)> BeforeDelete;
    std::function<void(TDataGrid* sender, const TDataGridColumns& columns)> OnChangeColumnsLayout;

  protected:
    void CountChanged(int oldCols, int oldRows) override;
    void ColumnMoved(int from, int to) override;
    void TopLeftChanged() override;
    std::string GetEditFormat() override;
    void BeforeCellWrite(int col, int row, std::string& text) override;
    void AfterCellEdit(int col, int row, bool unchanged, const std::string& fieldName) override;
    // Final: the loader relies on it doing nothing while cell writes are muted.
    void AfterCellWrite(int col, int row, const std::string& fieldName) final;
    bool CanShowEditor() override;
    // Shows a failed save; a plain message box.
    virtual void ShowSaveError(const std::string& text);

  private:
    friend class TDataGridColumns;
    friend class TColumn;
    void SyncColumnsToCount();
    void ColumnAdded();
    void ColumnRemoved();
    std::string FieldNameOf(int col) const;
    void LockCanvas();
    void UnlockCanvas();
    void EmptyRow(int row);
    bool ReadLines(core::Stream& stream);
    void WriteLines(core::Stream& stream);

    std::unique_ptr<TDataGridColumns> columns_;
    int dataGridOptions_ = 0;
    int rowCountMin_ = 0;
    int maxSecondHeight_ = 100;
    bool updating_ = false;
    bool insertingRow_ = false;
    int columnSyncGuard_ = 0;
    int canvasLocks_ = 0;
};
