#include "grid/column.h"

#include <algorithm>

#include "grid/data_grid.h"

// ---- TColumnTitle ----------------------------------------------------------------------------------

void TColumnTitle::SetCaption(const std::string& caption) {
    caption_ = caption;
    column_.Changed();
}

void TColumnTitle::SetAlignment(TAlignment alignment) {
    alignment_ = alignment;
    column_.Changed();
}

gui::Font TColumnTitle::Font() const {
    if (font_) return *font_;
    TDataGrid* grid = column_.Grid();
    return grid ? grid->GridFont : gui::Font{};
}

void TColumnTitle::SetFont(const gui::Font& font) {
    font_ = font;
    column_.Changed();
}

void TColumnTitle::Assign(const TColumnTitle& source) {
    caption_ = source.caption_;
    alignment_ = source.alignment_;
    font_ = source.font_;
    column_.Changed();
}

void TColumnTitle::Reset() {
    caption_.reset();
    alignment_.reset();
    font_.reset();
}

// ---- TColumn ---------------------------------------------------------------------------------------

TColumn::TColumn(TDataGridColumns& collection, int creationNumber)
    : collection_(collection), creationNumber_(creationNumber), title_(*this) {}

int TColumn::Index() const {
    return collection_.IndexOf(this);
}
TDataGrid* TColumn::Grid() const {
    return &collection_.Grid();
}

void TColumn::SetFieldName(const std::string& name) {
    bool blank = std::all_of(name.begin(), name.end(), [](char c) { return c == ' '; });
    fieldName_ = blank ? "TColumn-" + std::to_string(creationNumber_) : name;
    Changed();
}

std::string TColumn::DisplayName() const {
    size_t b = fieldName_.find_first_not_of(' ');
    if (b == std::string::npos) return "TColumn";
    size_t e = fieldName_.find_last_not_of(' ');
    return fieldName_.substr(b, e - b + 1);
}

int TColumn::Width() const {
    int i = Index();
    TDataGrid* grid = Grid();
    return i >= 0 && i < grid->ColCount() ? grid->GetColWidth(i) : 10;
}

void TColumn::SetWidth(int width) {
    if (width >= 0 && width < 10) width = 10;
    int i = Index();
    if (i >= 0 && i < Grid()->ColCount()) Grid()->SetColWidth(i, width);
    Changed();
}

void TColumn::SetFormat(TColumnFormat format) {
    if (format != format_) displayMask_.clear();
    format_ = format;
    Changed();
}

gui::TColor TColumn::Color() const {
    return color_.value_or(Grid()->Color);
}

gui::Font TColumn::Font() const {
    return font_.value_or(Grid()->GridFont);
}

bool TColumn::ReadOnly() const {
    if (readOnly_) return *readOnly_;
    return !Grid()->Options().Contains(goEditing);
}

void TColumn::Changed() {
    collection_.ItemChanged();
}

void TColumn::Reset() {
    alignment_.reset();
    color_.reset();
    font_.reset();
    readOnly_.reset();
    PickList.clear();
    ButtonStyle = cbsAuto;
    fieldName_.clear();
    CheckField = LimitToList = Streaming = false;
    title_.Reset();
}

void TColumn::Assign(const TColumn& source) {
    if (&source == this) return;
    collection_.BeginUpdate();
    try {
        Reset();
        SetWidth(20);
        alignment_ = source.alignment_;
        color_ = source.color_;
        font_ = source.font_;
        readOnly_ = source.readOnly_;
        title_.Assign(source.title_);
        DropDownRows = source.DropDownRows;
        ButtonStyle = source.ButtonStyle;
        PickList = source.PickList;
        PopupMenu = source.PopupMenu;
        SetWidth(source.Width());
        fieldName_ = source.fieldName_;
        numericDigits_ = source.numericDigits_;
        numericKind_ = source.numericKind_;
        numericPrecision_ = source.numericPrecision_;
        ButtonExists = source.ButtonExists;
        CheckField = source.CheckField;
        Intern = source.Intern;
        Streaming = source.Streaming;
        LimitToList = source.LimitToList;
        editMask_ = source.editMask_;
        MaxLength = source.MaxLength;
        format_ = source.format_;
        displayMask_ = source.displayMask_;
    } catch (...) {
        collection_.EndUpdate();
        throw;
    }
    collection_.EndUpdate();
}

// ---- TDataGridColumns ------------------------------------------------------------------------------

TDataGridColumns::TDataGridColumns(TDataGrid& grid) : grid_(grid) {
    ready_ = true;
}

TDataGridColumns::~TDataGridColumns() = default;

int TDataGridColumns::IndexOf(const TColumn* column) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == column) return static_cast<int>(i);
    return -1;
}

TColumn& TDataGridColumns::AddItem() {
    int number = Count() + 1;
    items_.push_back(std::make_unique<TColumn>(*this, number - 1));
    TColumn& c = *items_.back();
    c.fieldName_ = "TColumn-" + std::to_string(number);
    return c;
}

TColumn& TDataGridColumns::Add() {
    TColumn& c = AddItem();
    grid_.ColumnAdded();
    return c;
}

void TDataGridColumns::RemoveLast() {
    items_.pop_back();
}

void TDataGridColumns::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    items_.erase(items_.begin() + i);
    grid_.ColumnRemoved();
}

void TDataGridColumns::Move(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= Count() || to >= Count()) return;
    auto item = std::move(items_[from]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
}

void TDataGridColumns::Assign(const TDataGridColumns& source) {
    if (&source == this) return;
    BeginUpdate();
    try {
        while (Count() > source.Count()) Delete(Count() - 1);
        while (Count() < source.Count()) Add();
        for (int i = 0; i < Count(); ++i) (*this)[i].Assign(source[i]);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TDataGridColumns::EndUpdate() {
    if (updateCount_ > 0) --updateCount_;
    if (updateCount_ == 0 && pendingChange_) {
        pendingChange_ = false;
        ItemChanged();
    }
}

void TDataGridColumns::ItemChanged() {
    if (updateCount_ > 0) {
        pendingChange_ = true;
        return;
    }
    // The current column shows the change.
    grid_.InvalidateRect(grid_.RangeBounds(grid_.Col(), 0, grid_.Col(), grid_.RowCount() - 1, true));
}
