#include "grid/smart_data_grid_view.h"

#include <QVBoxLayout>

namespace {

// One column of the view's grid as designed.
struct ColumnSpec {
    const char* fieldName;
    const char* title;  // nullptr: no caption
    int width;
    TColumnFormat format;
    TEditDataType_ kind;
    int digits, precision;
    const char* editMask;
    const char* displayMask;
    bool rightAligned;
    bool button;
    bool limitToList;
    bool intern;
};

constexpr ColumnSpec kColumns[] = {
    {"TColumn-1", nullptr, 10, cfString, deInteger, 2, 2, "", "", false, true, true, true},
    {"Pos.", "Pos.", 29, cfString, deCurrency, 2, 2, "", "", false, false, false, false},
    {"Stueck",
     "St\xFC"
     "ck",
     34, cfNumber, deCurrency, 3, 10, "0.###", "0.###", true, false, false, false},
    {"Einheit", "Einheit", 32, cfcombo, deInteger, 2, 2, "", "", true, true, false, false},
    {"Bezeichnung1", "Bezeichnung1", 41, cfdblocate, deInteger, 2, 2, "", "", true, true, false, false},
    {"Bezeichnung2", "Bezeichnung2", 36, cfdblocate, deInteger, 2, 2, "", "", true, true, false, false},
    {"BestellNummer", "BestellNummer", 39, cfdblocate, deInteger, 2, 2, "", "", true, true, true, false},
    {"Seriennummer", "Seriennummer", 34, cfString, deCurrency, 2, 2, "", "", true, false, true, false},
    {"Artikelnummer", "Artikelnummer", 30, cfdblocate, deInteger, 2, 2, "", "", true, true, true, false},
    {"Einzelbetrag", "Preis", 33, cfNumber, deCurrency, 2, 20, "#######.00", "#######.00 'DM'", true, false,
     false, false},
    {"Steuer", "Steuer", 20, cfcombo, deFloat, 2, 2, "##.00", "##.00 '%'", true, true, false, false},
    {"SummeBetrag", "Summe", -1, cfNumber, deCurrency, 2, 20, "#######.00", "#######.00 'DM'", true, false,
     false, false},
    {"intern", nullptr, -1, cfString, deInteger, 2, 2, "", "", true, true, false, true},
    {"ID_Artikel", nullptr, -1, cfString, deInteger, 2, 2, "", "", true, true, false, true},
    {"benutzer", nullptr, -1, cfString, deInteger, 20, 20, "", "", false, true, false, false},
    {"Rabatt", "Rabatt", 37, cfcombo, deFloat, 2, 2, "", "##.0 '%'", false, true, true, false},
};

gui::Font Tahoma8Black() {
    gui::Font f;
    f.name = "Tahoma";
    f.size = 8;
    f.color = gui::clBlack;
    return f;
}

}  // namespace

TFSmartDataGridView::TFSmartDataGridView(QWidget* parent) : QWidget(parent) {
    setWindowTitle("Vorschau");
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    resize(438, 238);
    BuildGrid();
    FormCreate();
}

TFSmartDataGridView::~TFSmartDataGridView() = default;

void TFSmartDataGridView::BuildGrid() {
    DataGridOrder = new TDataGrid(this);
    DataGridOrder->setObjectName("DataGridOrder");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(DataGridOrder);
    TDataGrid& g = *DataGridOrder;
    g.SetBorderStyle(T_CustomGrid::bsNone);
    g.Color = gui::clWhite;
    g.GridFont = Tahoma8Black();
    g.setMinimumHeight(30);
    g.SetDefaultRowHeight(17);
    g.SetColCount(16);
    g.SetRowCount(2);
    g.SetDataGridOptions(dgoAppendRow | dgoInsertRow | dgoDeleteRow);
    g.SetRowCountMin(0);
    g.FullColumnsStreaming = false;
    g.SetMaxSecondHeight(50);
    g.SetSecondLine(false);
    g.SetUseSecondLine(false);
    gui::Font second;
    second.name = "Tahoma";
    second.size = 8;
    g.SetSecondFont(second.ToQFont());
    g.SetSecondReadOnly(false);
    g.SetLeftStartSecond(1);
    g.SetRightEndSecond(2);
    for (int i = 0; i < 16; ++i) {
        const ColumnSpec& def = kColumns[i];
        TColumn& c = g.Columns()[i];
        c.SetFieldName(def.fieldName);
        if (def.title) c.Title().SetCaption(def.title);
        c.Title().SetFont(Tahoma8Black());
        c.SetFont(Tahoma8Black());
        c.SetWidth(def.width);
        c.SetFormat(def.format);
        c.SetNumericKind(def.kind);
        c.SetNumericDigits(def.digits);
        c.SetNumericPrecision(def.precision);
        c.SetEditMask(def.editMask);
        c.SetDisplayMask(def.displayMask);
        if (def.rightAligned) c.SetAlignment(taRightJustify);
        c.ButtonExists = def.button;
        c.LimitToList = def.limitToList;
        c.Intern = def.intern;
        c.CheckField = false;
        c.Streaming = false;
    }
    g.Columns()[10].PickList = {"8 %", "16 %"};
    g.Columns()[11].SetReadOnly(true);
    g.Columns()[14].SetColor(gui::RGB(255, 255, 230));
    g.SetRowHeight(0, 17);
    g.SetRowHeight(1, 17);
    g.SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRowSizing,
                              goColSizing, goRowMoving, goColMoving, goEditing});
    g.MoveCursor(false, 1, 1, true, false);  // SelectedIndex 1
    g.OnForceFormatThisCell = [this](int col, int row, bool& force) {
        DataGridOrderForceFormatThisCell(col, row, force);
    };
    g.Loaded();
}

void TFSmartDataGridView::FormCreate() {
    DataGridOrder->SetReadOnlyMode(true);
    // Read-only mode removes the sizing and moving options; the preview keeps them.
    DataGridOrder->SetOptions(TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                           goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing});
}

void TFSmartDataGridView::FormResize() {
    DataGridOrder->FitColumns(0, true);
}

void TFSmartDataGridView::DataGridOrderForceFormatThisCell(int col, int, bool& force) {
    if (col >= 0 && col < DataGridOrder->Columns().Count() && col <= 255)
        force = DataGridOrder->Columns()[col].FieldName() == "SummeBetrag";
}

void TFSmartDataGridView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    try {
        FormResize();
    } catch (...) {
    }
}
