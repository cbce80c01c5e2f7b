#include "gridcontrol/string_grid.h"

#include <QPainter>
#include <algorithm>

#include "gridcontrol/grid_errors.h"
#include "platform/core/strings.h"
#include "platform/gui/text.h"

// ---- T_StringGridStrings ---------------------------------------------------------------------------

int T_StringGridStrings::Count() const {
    if (index_ == 0) return 0;
    return IsRow() ? grid_->ColCount() : grid_->RowCount();
}

std::string T_StringGridStrings::Get(int i) const {
    if (index_ == 0) return {};
    return grid_->GetCellText(CellCol(i), CellRow(i));
}

void T_StringGridStrings::Put(int i, const std::string& text) {
    grid_->SetCellText(CellCol(i), CellRow(i), text);
}

grid::CellObject* T_StringGridStrings::GetObject(int i) const {
    if (index_ == 0) return nullptr;
    return grid_->GetCellObject(CellCol(i), CellRow(i));
}

void T_StringGridStrings::PutObject(int i, grid::CellObject* object) {
    grid_->SetCellObject(CellCol(i), CellRow(i), object);
}

int T_StringGridStrings::Add(const std::string& text) {
    for (int i = 0; i < Count(); ++i) {
        if (Get(i).empty()) {
            Put(i, text);
            return i;
        }
    }
    return -1;
}

void T_StringGridStrings::Insert(int, const std::string&) {
    grid::RaiseGridError(grid::kCannotInsertDelete);
}
void T_StringGridStrings::Delete(int) {
    grid::RaiseGridError(grid::kCannotInsertDelete);
}

void T_StringGridStrings::BeginUpdate() {
    grid_->BeginBulkUpdate();
}
void T_StringGridStrings::EndUpdate() {
    grid_->EndBulkUpdate();
}

void T_StringGridStrings::Assign(const T_StringGridStrings& source) {
    BeginUpdate();
    try {
        int n = std::min(source.Count(), Count());
        for (int i = 0; i < n; ++i) {
            Put(i, source.Get(i));
            PutObject(i, source.GetObject(i));
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void T_StringGridStrings::Assign(const std::vector<std::string>& source) {
    BeginUpdate();
    try {
        Clear();
        for (const std::string& s : source) Add(s);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void T_StringGridStrings::ClearCell(int col, int row) {
    grid::CellObject* object = grid_->GetCellObject(col, row);
    if (object) grid_->FreeSecondLineList(object);
    if (object) grid_->SetCellObject(col, row, nullptr);
    if (!grid_->CellTextView(col, row).empty()) grid_->SetCellText(col, row, std::string());
}

void T_StringGridStrings::Clear() {
    if (index_ == 0) return;
    BeginUpdate();
    try {
        if (IsRow()) {
            for (int i = 0; i < Count(); ++i) ClearCell(i, Line());
        } else {
            for (int r = Count() - 1; r >= 0; --r) ClearCell(Line(), r);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- T_StringGrid ----------------------------------------------------------------------------------

namespace {

grid::SectionSize SectionFor(int count, int threshold) {
    return count > threshold ? grid::SectionSize::Large : grid::SectionSize::Small;
}

template <typename T>
void DeleteItems(T_SparseList& list) {
    list.ForEach([](int, void* item) {
        delete static_cast<T*>(item);
        return 0;
    });
}

}  // namespace

T_StringGrid::T_StringGrid(QWidget* parent) : T_DrawGrid(parent) {
    secondLines_.reserve(100);
    data_ = std::make_unique<T_SparseList>(SectionFor(RowCount(), 256));
    rowViews_ = std::make_unique<T_SparseList>(SectionFor(RowCount(), 256));
    colViews_ = std::make_unique<T_SparseList>(SectionFor(ColCount(), 512));
}

T_StringGrid::~T_StringGrid() {
    SetDestroying();
    for (grid::StringList* list : secondLines_) delete list;
    secondLines_.clear();
    DeleteItems<T_StringGridStrings>(*rowViews_);
    DeleteItems<T_StringGridStrings>(*colViews_);
    DeleteItems<T_StringSparseList>(*data_);
}

T_StringSparseList* T_StringGrid::RowList(int row) const {
    return static_cast<T_StringSparseList*>(data_->Get(row));
}

T_StringSparseList& T_StringGrid::EnsureRowList(int row) {
    if (T_StringSparseList* list = RowList(row)) return *list;
    auto list = std::make_unique<T_StringSparseList>();
    data_->Put(row, list.get());
    return *list.release();
}

std::string_view T_StringGrid::CellTextView(int col, int row) const {
    if (col == -1) return {};
    const T_StringSparseList* list = RowList(row);
    if (col == -2) return SecondLineOf(list);
    return list ? list->Get(col) : std::string_view();
}

std::string_view T_StringGrid::SecondLineOf(const T_StringSparseList* cells) {
    auto* list = cells ? dynamic_cast<grid::StringList*>(cells->GetObject(0)) : nullptr;
    return list ? std::string_view(list->Text()) : std::string_view();
}

grid::CellObject* T_StringGrid::GetCellObject(int col, int row) const {
    const T_StringSparseList* list = RowList(row);
    return list ? list->GetObject(col) : nullptr;
}

void T_StringGrid::SetCellObject(int col, int row, grid::CellObject* object) {
    if (T_StringSparseList* list = RowList(row)) {
        list->PutObject(col, object);
    } else if (object) {
        EnsureRowList(row).PutObject(col, object);
    }
    CellChanged(col, row);
}

void T_StringGrid::SetSecondLineText(int row, const std::string& text) {
    auto* list = dynamic_cast<grid::StringList*>(GetCellObject(0, row));
    // An empty text on a row without a list needs none: the second line reads as empty either way.
    if (!list && !text.empty()) {
        auto owned = std::make_unique<grid::StringList>();
        owned->RegistrySlot = static_cast<int>(secondLines_.size());
        secondLines_.push_back(owned.get());
        list = owned.release();
    }
    if (list && UseSecondLine()) list->SetText(text);
    if ((text.empty() || !UseSecondLine()) && row >= 0 && row < RowCount())
        SetRowHeight(row, DefaultRowHeight());
    if (list) SetCellObject(0, row, list);
}

void T_StringGrid::SetCellText(int col, int row, const std::string& text) {
    if (col == -1) return;
    if (col == -2) {
        SetSecondLineText(row, text);
    } else {
        std::string value = text;
        if (!CellWritesMuted()) BeforeCellWrite(col, row, value);
        if (T_StringSparseList* list = RowList(row)) {
            list->Put(col, value);
        } else if (!value.empty()) {
            if (col < 0) throw core::EListError(core::Format(grid::kListIndexError, col));
            EnsureRowList(row).Put(col, value);
        }
        CellChanged(col, row);
    }
    AfterCellWrite(col, row, std::string());
}

void T_StringGrid::SetRowTexts(int row, const std::vector<std::pair<int, std::string_view>>& texts) {
    for (auto& [col, text] : texts)
        if (col < 0) throw core::EListError(core::Format(grid::kListIndexError, col));
    std::vector<std::string> changed;  // texts as BeforeCellWrite leaves them
    std::vector<std::pair<int, std::string_view>> hooked;
    if (!CellWritesMuted()) {
        changed.reserve(texts.size());
        hooked = texts;
        for (auto& [col, text] : hooked) {
            BeforeCellWrite(col, row, changed.emplace_back(text));
            text = changed.back();
        }
    }
    const auto& values = CellWritesMuted() ? texts : hooked;
    if (T_StringSparseList* list = RowList(row)) {
        list->PutMany(values);
    } else if (std::any_of(values.begin(), values.end(), [](auto& v) { return !v.second.empty(); })) {
        EnsureRowList(row).PutMany(values);
    }
    for (auto& [col, text] : values) {
        CellChanged(col, row);
        AfterCellWrite(col, row, std::string());
    }
}

void T_StringGrid::SetRowPacked(int row, const int* cols, const uint32_t* ends, size_t n, const char* bytes,
                                T_StringSparseList::BlockPool* pool) {
    if (n == 0) return;
    bool ascending = cols[0] >= 0;  // and then none is negative
    for (size_t k = 1; k < n; ++k) ascending &= cols[k] > cols[k - 1];
    if (!ascending)
        for (size_t k = 0; k < n; ++k)
            if (cols[k] < 0) throw core::EListError(core::Format(grid::kListIndexError, cols[k]));
    if (T_StringSparseList* list = RowList(row); list || !ascending) {
        const auto texts = PackedTexts(cols, ends, n, bytes);
        if (list)
            list->PutMany(texts);
        else if (ends[n - 1] != 0)
            EnsureRowList(row).PutMany(texts);
    } else if (ends[n - 1] != 0) {
        auto fresh = std::make_unique<T_StringSparseList>();
        fresh->AssignPacked(cols, ends, n, bytes, pool);
        data_->Put(row, fresh.get());
        fresh.release();
    }
    if (Constructed())  // otherwise there is nothing to repaint or to forget
        for (size_t k = 0; k < n; ++k) CellChanged(cols[k], row);
}

std::vector<std::pair<int, std::string_view>> T_StringGrid::PackedTexts(const int* cols, const uint32_t* ends,
                                                                        size_t n, const char* bytes) {
    std::vector<std::pair<int, std::string_view>> texts(n);
    for (size_t k = 0; k < n; ++k) {
        const uint32_t begin = k ? ends[k - 1] : 0;
        texts[k] = {cols[k], std::string_view(bytes + begin, ends[k] - begin)};
    }
    return texts;
}

bool T_StringGrid::FreeSecondLineList(grid::CellObject* object) {
    auto* list = dynamic_cast<grid::StringList*>(object);
    if (!list || list->RegistrySlot < 0 || list->RegistrySlot >= static_cast<int>(secondLines_.size()) ||
        secondLines_[list->RegistrySlot] != list)
        return false;
    grid::StringList* last = secondLines_.back();
    secondLines_[list->RegistrySlot] = last;
    last->RegistrySlot = list->RegistrySlot;
    secondLines_.pop_back();
    delete list;
    return true;
}

T_StringGridStrings& T_StringGrid::View(T_SparseList& views, int line, int viewIndex) {
    if (auto* view = static_cast<T_StringGridStrings*>(views.Get(line))) return *view;
    auto view = std::make_unique<T_StringGridStrings>(this, viewIndex);
    views.Put(line, view.get());
    return *view.release();
}

T_StringGridStrings& T_StringGrid::RowStrings(int row) {
    return View(*rowViews_, row, row + 1);
}
T_StringGridStrings& T_StringGrid::ColStrings(int col) {
    return View(*colViews_, col, -(col + 1));
}

void T_StringGrid::EndBulkUpdate() {
    updating_ = false;
    if (repaintPending_) {
        repaintPending_ = false;
        InvalidateGrid();
    }
}

void T_StringGrid::CellChanged(int col, int row) {
    if (!Constructed()) return;
    if (updating_)
        repaintPending_ = true;
    else
        InvalidateCell(false, col, row);
    if (col == Col() && row == Row() && editWriteDepth_ == 0) {
        // The editor is rebuilt from the new text instead of writing its old text back.
        ForgetEditCell();
        ShowEditor();
    }
}

std::string T_StringGrid::GetEditText(bool second, int col, int row) {
    std::string value = GetCellText(second ? -2 : col, row);
    if (OnGetEditText) OnGetEditText(this, col, row, value);
    return value;
}

bool T_StringGrid::SetEditText(bool second, int col, int row, const std::string& text) {
    const int target = second ? -2 : col;
    bool unchanged = true;
    ++editWriteDepth_;
    try {
        if (CellTextView(target, row) != text) {
            SetCellText(target, row, text);
            unchanged = false;
        }
    } catch (...) {
        --editWriteDepth_;
        throw;
    }
    --editWriteDepth_;
    if (OnSetEditText) OnSetEditText(this, col, row, text);
    return unchanged;
}

void T_StringGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) {
    if (DefaultDrawing()) {
        canvas.save();
        canvas.setClipRect(rect);
        canvas.setFont(col == -2 ? SecondFont() : font());
        bool selected = (state & gdSelected) && !(state & gdFixed);
        canvas.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
        canvas.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                        gui::ToQString(GetCellText(col, row)));
        canvas.restore();
    }
    T_DrawGrid::DrawCell(canvas, col, row, rect, state);
}

void T_StringGrid::ColumnMoved(int from, int to) {
    data_->ForEach([&](int, void* item) {
        static_cast<T_StringSparseList*>(item)->Move(from, to);
        return 0;
    });
    InvalidateGrid();
    T_DrawGrid::ColumnMoved(from, to);
}

void T_StringGrid::RowMoved(int from, int to) {
    data_->Move(from, to);
    InvalidateGrid();
    T_DrawGrid::RowMoved(from, to);
}
