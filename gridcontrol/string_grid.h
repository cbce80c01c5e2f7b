#pragma once
// T_StringGrid: the grid with text storage. A text and an optional object per cell, row and column views
// that behave as string lists, and each row's second text line (column -2). Storage is sparse: rows and
// cells that hold nothing take no memory; texts are 8-bit strings kept byte for byte.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gridcontrol/cell_object.h"
#include "gridcontrol/draw_grid.h"
#include "gridcontrol/sparse_array.h"
#include "gridcontrol/string_sparse_list.h"

class T_StringGrid;

// A string-list view of one row or one column of a string grid; it has no storage of its own.
class T_StringGridStrings {
  public:
    // index: row r as r + 1, column c as -(c + 1), 0 for no line.
    T_StringGridStrings(T_StringGrid* grid, int index) : grid_(grid), index_(index) {}

    int Count() const;
    std::string Get(int i) const;
    void Put(int i, const std::string& text);
    grid::CellObject* GetObject(int i) const;
    void PutObject(int i, grid::CellObject* object);
    // Stores the text in the first position whose text is empty; -1 when every position holds text.
    int Add(const std::string& text);
    // Rows and columns change only through the grid's counts and moves: both raise.
    void Insert(int i, const std::string& text);
    void Delete(int i);
    // Copies min(source count, own count) texts and objects inside one bulk update.
    void Assign(const T_StringGridStrings& source);
    // Any other list of texts: cleared, then each text added.
    void Assign(const std::vector<std::string>& source);
    // Empties every cell; string lists met as cell objects are freed when the grid created them.
    void Clear();
    void BeginUpdate();
    void EndUpdate();

  private:
    bool IsRow() const { return index_ > 0; }
    int Line() const { return IsRow() ? index_ - 1 : -index_ - 1; }
    int CellCol(int i) const { return IsRow() ? i : Line(); }
    int CellRow(int i) const { return IsRow() ? Line() : i; }
    void ClearCell(int col, int row);

    T_StringGrid* grid_;
    int index_;
};

class T_StringGrid : public T_DrawGrid {
    Q_OBJECT

  public:
    explicit T_StringGrid(QWidget* parent = nullptr);
    ~T_StringGrid() override;

    // Column -1 is always empty; column -2 is the row's second line.
    std::string GetCellText(int col, int row) const { return std::string(CellTextView(col, row)); }
    // The same text without a copy; valid until the cell or its row is written.
    std::string_view CellTextView(int col, int row) const;
    virtual void SetCellText(int col, int row, const std::string& text);
    // Stores several texts of one row at once: each passes the write hooks as SetCellText does (all the
    // BeforeCellWrite calls first, then all the AfterCellWrite calls), but the row is rebuilt once.
    void SetRowTexts(int row, const std::vector<std::pair<int, std::string_view>>& texts);
    // Stores n texts of one row packed back to back in bytes (text k ends at ends[k] and goes to column
    // cols[k]) without calling either write hook: for a loader whose hooks are muted and do nothing. A
    // row that holds nothing yet is built straight from the packed bytes when the columns ascend.
    // The storage of rows built that way comes from the pool when one is given.
    void SetRowPacked(int row, const int* cols, const uint32_t* ends, size_t n, const char* bytes,
                      T_StringSparseList::BlockPool* pool = nullptr);
    grid::CellObject* GetCellObject(int col, int row) const;
    void SetCellObject(int col, int row, grid::CellObject* object);
    T_StringGridStrings& RowStrings(int row);
    T_StringGridStrings& ColStrings(int col);

    // Frees a second-line list the grid created (and forgets it); false for any other object.
    bool FreeSecondLineList(grid::CellObject* object);
    size_t SecondLineListCount() const { return secondLines_.size(); }

    // Bulk update: changed cells are only marked, and the grid is repainted once at the end.
    void BeginBulkUpdate() { updating_ = true; }
    void EndBulkUpdate();
    bool InBulkUpdate() const { return updating_; }

  protected:
    std::string GetEditText(bool second, int col, int row) override;
    bool SetEditText(bool second, int col, int row, const std::string& text) override;
    void DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) override;
    void ColumnMoved(int from, int to) override;
    void RowMoved(int from, int to) override;
    void CellChanged(int col, int row);
    // n texts packed back to back in bytes (text k ends at ends[k]) as (column, text) pairs.
    static std::vector<std::pair<int, std::string_view>> PackedTexts(const int* cols, const uint32_t* ends,
                                                                     size_t n, const char* bytes);
    // The texts of a row, none for a row that holds nothing; for reading many cells of one row.
    const T_StringSparseList* RowCells(int row) const { return RowList(row); }
    // The second line of the row whose cells these are (none for none).
    static std::string_view SecondLineOf(const T_StringSparseList* cells);

  private:
    T_StringSparseList* RowList(int row) const;
    T_StringSparseList& EnsureRowList(int row);
    void SetSecondLineText(int row, const std::string& text);
    T_StringGridStrings& View(T_SparseList& views, int line, int viewIndex);

    std::vector<grid::StringList*> secondLines_;  // owned; each knows its slot
    std::unique_ptr<T_SparseList> data_;
    std::unique_ptr<T_SparseList> rowViews_;
    std::unique_ptr<T_SparseList> colViews_;
    bool updating_ = false;
    bool repaintPending_ = false;
    int editWriteDepth_ = 0;
};
