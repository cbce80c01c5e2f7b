#pragma once
// Column definitions of the order-line grid: each grid column is bound to a field name, a number kind,
// masks and a look. The collection is kept as long as the grid has columns.
#include <QMenu>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gridcontrol/grid_types.h"
#include "platform/gui/canvas.h"
#include "platform/gui/color.h"

class TDataGrid;
class TDataGridColumns;
class TColumn;

enum TColumnFormat { cfString, cfNumber, cfDate, cfdblocate, cfcombo, cfcheck };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };

// Caption, alignment and font of a column's title cell; each is stored only once assigned.
class TColumnTitle {
  public:
    explicit TColumnTitle(TColumn& column) : column_(column) {}

    std::string Caption() const { return caption_.value_or(std::string()); }
    void SetCaption(const std::string& caption);
    TAlignment Alignment() const { return alignment_.value_or(taLeftJustify); }
    void SetAlignment(TAlignment alignment);
    gui::Font Font() const;
    void SetFont(const gui::Font& font);
    bool CaptionAssigned() const { return caption_.has_value(); }
    bool AlignmentAssigned() const { return alignment_.has_value(); }
    bool FontAssigned() const { return font_.has_value(); }
    void Assign(const TColumnTitle& source);
    void Reset();

  private:
    TColumn& column_;
    std::optional<std::string> caption_;
    std::optional<TAlignment> alignment_;
    std::optional<gui::Font> font_;
};

class TColumn {
  public:
    TColumn(TDataGridColumns& collection, int creationNumber);
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    int Index() const;
    TDataGrid* Grid() const;

    std::string FieldName() const { return fieldName_; }
    // A blank name stores "TColumn-" and the column's creation number instead.
    void SetFieldName(const std::string& name);
    // The field name without surrounding blanks, or "TColumn" when that is empty.
    std::string DisplayName() const;
    TColumnTitle& Title() { return title_; }
    const TColumnTitle& Title() const { return title_; }

    // Held by the grid; 0..9 become 10, -1 hides the column.
    int Width() const;
    void SetWidth(int width);

    TColumnFormat Format() const { return format_; }
    void SetFormat(TColumnFormat format);  // clears DisplayMask
    TEditDataType_ NumericKind() const { return numericKind_; }
    void SetNumericKind(TEditDataType_ kind) { Set(numericKind_, kind); }
    int NumericDigits() const { return numericDigits_; }
    void SetNumericDigits(int digits) { Set(numericDigits_, digits); }
    int NumericPrecision() const { return numericPrecision_; }
    void SetNumericPrecision(int precision) { Set(numericPrecision_, precision); }
    std::string EditMask() const { return editMask_; }
    void SetEditMask(const std::string& mask) { Set(editMask_, mask); }
    std::string DisplayMask() const { return displayMask_; }
    void SetDisplayMask(const std::string& mask) { Set(displayMask_, mask); }

    // Assigned values; until assigned each follows the grid.
    TAlignment Alignment() const { return alignment_.value_or(taLeftJustify); }
    void SetAlignment(TAlignment a) { SetAssigned(alignment_, a); }
    gui::TColor Color() const;
    void SetColor(gui::TColor c) { SetAssigned(color_, c); }
    gui::Font Font() const;
    void SetFont(const gui::Font& f) { SetAssigned(font_, f); }
    bool ReadOnly() const;
    void SetReadOnly(bool r) { SetAssigned(readOnly_, r); }
    bool AlignmentAssigned() const { return alignment_.has_value(); }
    bool ColorAssigned() const { return color_.has_value(); }
    bool FontAssigned() const { return font_.has_value(); }
    bool ReadOnlyAssigned() const { return readOnly_.has_value(); }

    bool ButtonExists = true;
    std::vector<std::string> PickList;
    QMenu* PopupMenu = nullptr;
    bool LimitToList = true;
    bool Intern = false;
    bool CheckField = false;
    bool Streaming = false;
    int MaxLength = 0;
    int DropDownRows = 7;
    TColumnButtonStyle ButtonStyle = cbsAuto;
    int InternalCol() const { return creationNumber_; }

    // Resets the column, then copies the source's definition inside one collection update.
    void Assign(const TColumn& source);
    void Changed();

  private:
    friend class TDataGridColumns;
    template <typename T>
    void Set(T& field, const T& value) {
        field = value;
        Changed();
    }
    template <typename T>
    void SetAssigned(std::optional<T>& field, const T& value) {
        field = value;
        Changed();
    }
    void Reset();

    TDataGridColumns& collection_;
    int creationNumber_;
    std::string fieldName_;
    TColumnTitle title_;
    TColumnFormat format_ = cfString;
    TEditDataType_ numericKind_ = deCurrency;
    int numericDigits_ = 2;
    int numericPrecision_ = 2;
    std::string editMask_;
    std::string displayMask_;
    std::optional<TAlignment> alignment_;
    std::optional<gui::TColor> color_;
    std::optional<gui::Font> font_;
    std::optional<bool> readOnly_;
};

class TDataGridColumns {
  public:
    explicit TDataGridColumns(TDataGrid& grid);
    ~TDataGridColumns();

    TDataGrid& Grid() const { return grid_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TColumn& operator[](int i) { return *items_.at(i); }
    const TColumn& operator[](int i) const { return *items_.at(i); }
    int IndexOf(const TColumn* column) const;

    // A new column at the end; the grid follows with its column count.
    TColumn& Add();
    // Removes column i; the grid follows with its column count.
    void Delete(int i);
    void Move(int from, int to);
    // Copies the items of another collection.
    void Assign(const TDataGridColumns& source);
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    bool Ready() const { return ready_; }
    void ItemChanged();

  private:
    friend class TDataGrid;
    TColumn& AddItem();  // without notifying the grid
    void RemoveLast();

    TDataGrid& grid_;
    std::vector<std::unique_ptr<TColumn>> items_;
    int updateCount_ = 0;
    bool pendingChange_ = false;
    bool ready_ = false;
};
