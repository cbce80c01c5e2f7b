#include "grid/data_grid.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "grid/grid_stream.h"
#include "grid/number_settings.h"
#include "platform/gui/plain_message.h"

namespace grid {

namespace {

// Letter case folded the way the code page's letters pair up (A-Z, and \xC0-\xDE with \xE0-\xFE).
unsigned char FoldCase(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c != 0xF7 && c != 0xFF) return static_cast<unsigned char>(c - 32);
    return c;
}

}  // namespace

bool SameFieldName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace grid

TDataGrid::TDataGrid(QWidget* parent) : T_StringGrid(parent) {
    columnSyncGuard_ = 2;
    columns_ = std::make_unique<TDataGridColumns>(*this);
    columnSyncGuard_ = 0;
    SyncColumnsToCount();
    SetDefaultRowHeight(17);
    SetOptions(
        TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goColSizing, goEditing});
}

TDataGrid::~TDataGrid() {
    SetDestroying();
    ++columnSyncGuard_;  // destroying the columns must not resize the grid
    columns_.reset();
}

// ---- properties ------------------------------------------------------------------------------------

void TDataGrid::SetRowCountMin(int value) {
    rowCountMin_ = std::max(value, 0);
    if (rowCountMin_ > RowCount()) SetRowCount(rowCountMin_);
}

void TDataGrid::SetMaxSecondHeight(int value) {
    maxSecondHeight_ = std::clamp(value, 50, 100);
}

int TDataGrid::ColumnIndex(std::string_view name) const {
    for (int i = 0; i < columns_->Count(); ++i)
        if (grid::SameFieldName((*columns_)[i].FieldName(), name)) return i;
    return -1;
}

std::string TDataGrid::RowKind(int row) const {
    std::string marker = GetCellText(0, row);
    // Blanks (and control bytes) are removed after the first character is taken.
    if (marker.empty() || static_cast<unsigned char>(marker[0]) <= ' ') return {};
    return marker.substr(0, 1);
}

bool TDataGrid::IsNonArticleRow(int row) const {
    if (row < 0) return false;
    std::string kind = RowKind(row);
    return kind == "a" || kind == "t" || kind == "-" || kind == "\x81";
}

std::string TDataGrid::FieldNameOf(int col) const {
    return col >= 0 && col < columns_->Count() ? (*columns_)[col].FieldName() : std::string();
}

// ---- column synchronisation ------------------------------------------------------------------------

void TDataGrid::SyncColumnsToCount() {
    if (columnSyncGuard_ != 0) return;
    ++columnSyncGuard_;
    while (columns_->Count() > ColCount()) columns_->RemoveLast();
    while (columns_->Count() < ColCount()) columns_->AddItem();
    --columnSyncGuard_;
}

void TDataGrid::ColumnAdded() {
    if (columnSyncGuard_ != 0) return;
    ++columnSyncGuard_;
    try {
        SetColCount(columns_->Count());
    } catch (...) {
        --columnSyncGuard_;
        throw;
    }
    --columnSyncGuard_;
}

void TDataGrid::ColumnRemoved() {
    if (columnSyncGuard_ != 0) return;
    ++columnSyncGuard_;
    try {
        SetColCount(ColCount() - 1);
    } catch (...) {
        --columnSyncGuard_;
        throw;
    }
    --columnSyncGuard_;
}

void TDataGrid::CountChanged(int oldCols, int oldRows) {
    T_StringGrid::CountChanged(oldCols, oldRows);
    SyncColumnsToCount();
}

void TDataGrid::ColumnMoved(int from, int to) {
    columns_->Move(from, to);
    T_StringGrid::ColumnMoved(from, to);
}

void TDataGrid::TopLeftChanged() {
    T_StringGrid::TopLeftChanged();
    InvalidateGrid();
}

// ---- hooks -----------------------------------------------------------------------------------------

std::string TDataGrid::GetEditMask(int col, int row) {
    std::string mask = col >= 0 && col < columns_->Count() ? (*columns_)[col].EditMask() : std::string();
    if (OnGetEditMask) OnGetEditMask(this, col, row, mask);
    return mask;
}

std::string TDataGrid::GetEditFormat() {
    return EditorColumn ? EditorColumn->EditMask() : std::string();
}

void TDataGrid::BeforeCellWrite(int col, int row, std::string& text) {
    if (col < 0 || col >= columns_->Count() || insertingRow_ || !OnBeforeSetcell) return;
    const TColumn& c = (*columns_)[col];
    if (c.NumericKind() == deFloat || c.NumericKind() == deCurrency)
        OnBeforeSetcell(this, col, row, text, c.FieldName());
}

void TDataGrid::AfterCellEdit(int col, int row, bool unchanged, const std::string&) {
    if (!OnAfterCellEdit) return;
    try {
        T_StringGrid::AfterCellEdit(col, row, unchanged,
                                    col > 0 && !updating_ ? FieldNameOf(col) : std::string());
    } catch (...) {
    }
}

void TDataGrid::AfterCellWrite(int col, int row, const std::string&) {
    if (insertingRow_ || !OnAfterCellWrite) return;
    try {
        T_StringGrid::AfterCellWrite(col, row, col > 0 && !updating_ ? FieldNameOf(col) : std::string());
    } catch (...) {
    }
}

bool TDataGrid::CanShowEditor() {
    return columns_ && columns_->Ready() && T_StringGrid::CanShowEditor();
}

void TDataGrid::Loaded() {
    if (OnAfterloading) OnAfterloading(this);
}

void TDataGrid::ShowSaveError(const std::string& text) {
    gui::ShowPlainMessage(text);
}

// ---- update mode -----------------------------------------------------------------------------------

void TDataGrid::LockCanvas() {
    if (canvasLocks_++ == 0) setUpdatesEnabled(false);
}

void TDataGrid::UnlockCanvas() {
    if (canvasLocks_ > 0 && --canvasLocks_ == 0) setUpdatesEnabled(true);
}

void TDataGrid::BeginUpdate() {
    LockCanvas();
    SetConstructed(false);
    HideEditor();
    updating_ = true;
}

void TDataGrid::EndUpdate(bool resetPosition) {
    if (!updating_) return;
    if (resetPosition) {
        MoveCursor(false, Col(), 1, true, true);
        MoveCursor(false, 1, 1, true, true);
    }
    SetConstructed(true);
    canvasLocks_ = 0;
    setUpdatesEnabled(true);
    updating_ = false;
    InvalidateGrid();
}

// ---- stream ----------------------------------------------------------------------------------------

bool TDataGrid::SaveToStream(core::Stream& stream) {
    bool ok = true;
    BeginUpdate();
    try {
        WriteLines(stream);
    } catch (const std::exception& e) {
        ok = false;
        ShowSaveError(std::string("TDataGrid.SaveToStream ") + e.what());
    }
    EndUpdate(false);
    return ok;
}

void TDataGrid::WriteLines(core::Stream& stream) {
    grid::FieldWriter out(stream);
    const int n = ColCount();
    auto nameLine = [&](std::string_view name) {
        out.Raw(grid::Quote(name));
        out.Raw("\r\n");
    };
    nameLine(grid::kDataDefStart);
    for (int c = 0; c < n; ++c) nameLine(FieldNameOf(c));
    nameLine(grid::kSecondField);
    nameLine(grid::kDataDefEnd);
    for (int c = 0; c < n; ++c) {
        out.Raw(grid::Quote(c < columns_->Count() ? (*columns_)[c].DisplayName() : std::string()));
        out.Raw(",");
    }
    out.Raw(grid::Quote(grid::kSecondField));
    out.Raw(",\r\n");
    // The cell written for a column is that of the first column carrying its field name.
    std::vector<int> source(n);
    bool ownCells = true;  // every column writes its own cell
    for (int c = 0; c < n; ++c) {
        source[c] = c < columns_->Count() ? ColumnIndex(FieldNameOf(c)) : c;
        ownCells &= source[c] == c;
    }
    // The output takes about the texts' bytes, three bytes around each field and the line ends.
    size_t estimate = 0;
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const T_StringSparseList* cells = RowCells(r);
        estimate += (cells ? cells->Packed().size() : 0) + SecondLineOf(cells).size() + 3 * (n + 1) + 2;
    }
    stream.Reserve(static_cast<int64_t>(estimate + estimate / 16) + 4096);  // and some escapes
    for (int r = FixedRows(); r < RowCount(); ++r) {
        const T_StringSparseList* cells = RowCells(r);  // looked up once for the whole row
        if (ownCells && (!cells || !grid::HoldsSpecialByte(cells->Packed()))) {
            // Nothing to escape or double: each text goes out as it is, between quotes.
            const int count = cells ? std::min(cells->Count(), n) : 0;
            constexpr size_t kStep = T_StringSparseList::kSlack;
            char* p = out.Room((cells ? cells->Packed().size() : 0) + 3 * static_cast<size_t>(n) + kStep);
            for (int c = 0; c < count; ++c) {
                const std::string_view text = cells->Get(c);
                *p++ = '"';
                // Most texts are short: one copy of a whole step, whatever their length, spares a
                // branch that would often guess wrong.
                std::memcpy(p, text.data(), kStep);
                if (text.size() > kStep)
                    grid::CopyInSteps(p + kStep, text.data() + kStep, text.size() - kStep);
                p += text.size();
                *p++ = '"';
                *p++ = ',';
            }
            for (int c = count; c < n; ++c) *p++ = '"', *p++ = '"', *p++ = ',';
            out.Commit(p);
        } else {
            for (int c = 0; c < n; ++c)
                out.Field(source[c] < 0 ? CellTextView(source[c], r)
                          : cells       ? cells->Get(source[c])
                                        : std::string_view(),
                          ',');
        }
        out.Field(SecondLineOf(cells), ',');
        out.Raw("\r\n");
    }
    out.Flush();
}

void TDataGrid::EmptyRow(int row) {
    grid::CellObject* object = GetCellObject(0, row);
    if (object && FreeSecondLineList(object)) SetCellObject(0, row, nullptr);
    for (int c = 0; c < ColCount(); ++c)
        if (!GetCellText(c, row).empty()) SetCellText(c, row, std::string());
    SetRowHeight(row, DefaultRowHeight());
}

bool TDataGrid::LoadFromStream(core::Stream& stream) {
    SecondLineEdit = false;
    MoveCursor(false, 1, 1, true, false);
    SetConstructed(false);
    HideEditor();
    ForgetEditCell();
    LockCanvas();
    BookMarks.clear();
    bool ok = true;
    try {
        ok = ReadLines(stream);
    } catch (...) {
        ok = false;
    }
    UnlockCanvas();
    try {
        MoveCursor(false, 1, 1, true, false);
    } catch (...) {
        ok = false;
    }
    SetConstructed(true);
    FireUserHeigth();
    return ok;
}

bool TDataGrid::ReadLines(core::Stream& stream) {
    grid::StreamLineReader reader(stream);
    std::string_view line;
    std::vector<std::string> names;
    bool header = false;
    while (reader.Next(line)) {
        size_t pos = 0;
        std::string first = grid::ReadField(line, pos);  // the line's view ends with the next read
        if (first == grid::kDataDefStart) {
            header = true;
        } else if (first == grid::kDataDefEnd) {
            header = false;
        } else if (header) {
            names.push_back(first);
        } else {
            break;  // the title line (or, without a header, the first data line) is not used
        }
    }
    std::vector<int> target(names.size(), -1);
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] != grid::kSecondField) target[i] = ColumnIndex(names[i]);
    const char separator = grid::Settings().DecimalSeparator;
    const int firstNewRow = RowCount();  // rows from here on are added by this load and hold nothing
    int row = FixedRows();
    int rowsRead = row;
    std::string text;
    // The row's cell texts back to back, with each one's column and end offset.
    std::unique_ptr<char[]> rowBytes;
    size_t rowRoom = 0;
    std::vector<int> cols;
    std::vector<uint32_t> ends, fieldEnds;
    std::unique_ptr<bool[]> percents;
    size_t fieldRoom = 0;
    grid::FieldSplitter fields;
    T_StringSparseList::BlockPool pool;  // the rows of one load share their storage chunks
    // Without handlers the write hooks have nothing to do; muting them spares a copy of every text.
    const bool wasMuted = CellWritesMuted();
    SetCellWritesMuted(wasMuted || (!OnBeforeSetcell && !OnAfterCellWrite));
    auto finish = [&](int rows) {
        SetCellWritesMuted(wasMuted);
        for (int r = rows; r < std::min(firstNewRow, RowCount()); ++r) EmptyRow(r);
        SetRowCount(rows);
    };
    // With the hooks muted no code runs that could change a column while rows are read, so the numeric
    // columns are looked up once; otherwise each cell asks its column.
    std::vector<char> numeric;
    if (CellWritesMuted())
        for (int c = 0; c < columns_->Count(); ++c) {
            TEditDataType_ kind = (*columns_)[c].NumericKind();
            numeric.push_back(kind == deFloat || kind == deCurrency);
        }
    auto isNumeric = [&](int col) {
        if (col < static_cast<int>(numeric.size())) return numeric[col] != 0;
        TEditDataType_ kind = (*columns_)[col].NumericKind();
        return kind == deFloat || kind == deCurrency;
    };
    // Fields that go to a column as they were read, when they hold no escape (hooks muted only).
    std::vector<char> plain(target.size());
    if (CellWritesMuted())
        for (size_t i = 0; i < target.size(); ++i)
            plain[i] = target[i] >= 0 && (separator == ',' || !isNumeric(target[i]));
    try {
        while (reader.Next(line)) {
            // Rows are added in growing steps; the count is set exactly at the end.
            if (row >= RowCount()) SetRowCount(std::max(row + 1, RowCount() + RowCount() / 2));
            size_t pos = 0;
            const int n = ColCount();
            // The texts of a line never take more bytes than the line; the splitter's slack lets it
            // copy fields in whole steps.
            if (rowRoom < line.size() + grid::FieldSplitter::kSlack) {
                rowRoom = std::max(line.size() + grid::FieldSplitter::kSlack, 2 * rowRoom);
                rowBytes = std::make_unique_for_overwrite<char[]>(rowRoom);
            }
            fields.Scan(line);
            char* const bytes = rowBytes.get();
            // A field after the row's cells is its second line.
            const size_t cellFields = static_cast<size_t>(n);
            if (fieldRoom < cellFields + 1) {
                fieldRoom = cellFields + 1;
                fieldEnds.resize(fieldRoom);
                percents = std::make_unique<bool[]>(fieldRoom);
            }
            const size_t read =
                fields.Read(line, pos, cellFields + 1, bytes, fieldEnds.data(), percents.get());
            const size_t count = std::min(read, cellFields);
            bool asRead = CellWritesMuted() && count <= plain.size();
            for (size_t k = 0; asRead && k < count; ++k) asRead = plain[k] && !percents[k];
            if (asRead) {
                SetRowPacked(row, target.data(), fieldEnds.data(), count, bytes, &pool);
            } else {
                // Fields without a column are dropped, escapes undone and decimal commas converted,
                // moving the texts together within the row's bytes.
                cols.clear();
                ends.clear();
                size_t used = 0;
                for (size_t k = 0; k < count; ++k) {
                    const int col = k < target.size() ? target[k] : -1;
                    if (col < 0) continue;
                    const size_t begin = k ? fieldEnds[k - 1] : 0;
                    size_t length = fieldEnds[k] - begin;
                    if (used != begin) std::memmove(bytes + used, bytes + begin, length);
                    if (percents[k]) length = grid::UnescapeBytes(bytes + used, length);
                    if (separator != ',' && isNumeric(col))
                        std::replace(bytes + used, bytes + used + length, ',', separator);
                    used += length;
                    cols.push_back(col);
                    ends.push_back(static_cast<uint32_t>(used));
                }
                if (CellWritesMuted()) {
                    SetRowPacked(row, cols.data(), ends.data(), cols.size(), bytes, &pool);
                } else {  // every text passes the write hooks
                    SetRowTexts(row, PackedTexts(cols.data(), ends.data(), cols.size(), bytes));
                }
            }
            if (read > cellFields) {  // its bytes lie after the cells' and stay where they were read
                const size_t begin = cellFields ? fieldEnds[cellFields - 1] : 0;
                size_t length = fieldEnds[cellFields] - begin;
                if (percents[cellFields]) length = grid::UnescapeBytes(bytes + begin, length);
                // A row this load added has no second line and the default height already; with the
                // hooks muted an empty second line changes nothing there.
                if (length || row < firstNewRow || !CellWritesMuted()) {
                    text.assign(bytes + begin, length);
                    SetCellText(-2, row, text);
                }
            }
            rowsRead = ++row;
        }
    } catch (...) {
        if (rowsRead < RowCount()) EmptyRow(rowsRead);  // the line that was being read
        finish(rowsRead);
        throw;
    }
    finish(row);
    return true;
}
