#include "grid/data_grid.h"

#include <gtest/gtest.h>

#include "grid/smart_data_grid_view.h"
#include "platform/core/errors.h"
#include "platform/gui/application.h"

namespace {

class DataGrid : public testing::Test {
  protected:
    DataGrid() { gui::EnsureApplication(); }
};

}  // namespace

TEST_F(DataGrid, NewGridHasFiveNamedColumnsAndItsDefaults) {
    TDataGrid g;
    ASSERT_EQ(g.Columns().Count(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(g.Columns()[i].FieldName(), "TColumn-" + std::to_string(i + 1));
        EXPECT_EQ(g.Columns()[i].InternalCol(), i);
    }
    EXPECT_EQ(g.DefaultRowHeight(), 17);
    EXPECT_EQ(g.Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                         goColSizing, goEditing}));
    EXPECT_EQ(g.MaxSecondHeight(), 100);
    EXPECT_EQ(g.DataGridOptions(), 0);
    const TColumn& c = g.Columns()[2];
    EXPECT_EQ(c.Format(), cfString);
    EXPECT_EQ(c.NumericKind(), deCurrency);
    EXPECT_EQ(c.NumericDigits(), 2);
    EXPECT_EQ(c.Alignment(), taLeftJustify);
    EXPECT_FALSE(c.ReadOnly());  // the grid has goEditing
    EXPECT_TRUE(c.ButtonExists);
    EXPECT_EQ(c.DropDownRows, 7);
}

TEST_F(DataGrid, ColumnsAndCountFollowEachOther) {
    TDataGrid g;
    g.SetColCount(8);
    EXPECT_EQ(g.Columns().Count(), 8);
    EXPECT_EQ(g.Columns()[7].FieldName(), "TColumn-8");
    g.SetColCount(3);
    EXPECT_EQ(g.Columns().Count(), 3);
    g.Columns().Add();
    EXPECT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Columns()[3].FieldName(), "TColumn-4");
    g.Columns().Delete(0);
    EXPECT_EQ(g.ColCount(), 3);
}

TEST_F(DataGrid, ColumnPropertySetters) {
    TDataGrid g;
    TColumn& c = g.Columns()[2];
    c.SetWidth(5);
    EXPECT_EQ(c.Width(), 10);
    EXPECT_EQ(g.GetColWidth(2), 10);
    c.SetWidth(-1);
    EXPECT_EQ(g.GetColWidth(2), -1);
    EXPECT_EQ(c.FieldName(), "TColumn-3");
    c.SetFieldName("   ");
    EXPECT_EQ(c.FieldName(), "TColumn-2");  // its creation number
    c.SetFieldName("  Pos.  ");
    EXPECT_EQ(c.DisplayName(), "Pos.");
    c.SetDisplayMask("0.00");
    c.SetFormat(cfNumber);
    EXPECT_EQ(c.DisplayMask(), "");
    g.SetMaxSecondHeight(20);
    EXPECT_EQ(g.MaxSecondHeight(), 50);
    g.SetMaxSecondHeight(500);
    EXPECT_EQ(g.MaxSecondHeight(), 100);
    g.SetRowCount(3);
    g.SetRowCountMin(-5);
    EXPECT_EQ(g.RowCountMin(), 0);
    g.SetRowCountMin(10);
    EXPECT_EQ(g.RowCount(), 10);
}

TEST_F(DataGrid, UnassignedLooksFollowTheGrid) {
    TDataGrid g;
    TColumn& c = g.Columns()[1];
    g.Color = gui::RGB(1, 2, 3);
    EXPECT_EQ(c.Color(), gui::RGB(1, 2, 3));
    EXPECT_FALSE(c.ColorAssigned());
    c.SetColor(gui::clWhite);
    g.Color = gui::clBlack;
    EXPECT_EQ(c.Color(), gui::clWhite);
    g.SetOptions(kDefaultGridOptions);
    EXPECT_TRUE(c.ReadOnly());  // without goEditing
    g.GridFont.size = 12;
    EXPECT_EQ(c.Font().size, 12);
    EXPECT_EQ(c.Title().Font().size, 12);
}

TEST_F(DataGrid, AssignCopiesTheDefinition) {
    TDataGrid g;
    TColumn& source = g.Columns()[1];
    source.SetFieldName("Einzelbetrag");
    source.SetNumericKind(deFloat);
    source.SetEditMask("##.00");
    source.SetAlignment(taRightJustify);
    source.Title().SetCaption("Preis");
    source.PickList = {"a"};
    source.SetWidth(33);
    TColumn& target = g.Columns()[3];
    target.SetColor(gui::clRed);
    target.Assign(source);
    EXPECT_EQ(target.FieldName(), "Einzelbetrag");
    EXPECT_EQ(target.NumericKind(), deFloat);
    EXPECT_EQ(target.EditMask(), "##.00");
    EXPECT_EQ(target.Alignment(), taRightJustify);
    EXPECT_EQ(target.Title().Caption(), "Preis");
    EXPECT_EQ(target.PickList, std::vector<std::string>{"a"});
    EXPECT_EQ(target.Width(), 33);
    EXPECT_FALSE(target.ColorAssigned());  // reset first: the source has no colour
}

TEST_F(DataGrid, ColumnIndexIgnoresLetterCaseAndTakesTheFirst) {
    TFSmartDataGridView view;
    TDataGrid& g = *view.DataGridOrder;
    EXPECT_EQ(g.ColumnIndex("steuer"), 10);
    EXPECT_EQ(g.ColumnIndex("STEUER"), 10);
    EXPECT_EQ(g.ColumnIndex("Nichts"), -1);
    g.Columns()[12].SetFieldName("Steuer");
    EXPECT_EQ(g.ColumnIndex("Steuer"), 10);
    g.Columns()[1].SetFieldName("\xC4nderung");
    EXPECT_EQ(g.ColumnIndex("\xE4NDERUNG"), 1);
}

TEST_F(DataGrid, RowKinds) {
    TDataGrid g;
    struct Case {
        std::string marker, kind;
        bool nonArticle;
    };
    const Case cases[] = {
        {"", "", false},   {" t", "", false},  // the first character is taken before blanks go
        {"d", "d", false}, {"*h", "*", false}, {"t", "t", true},       {"thp", "t", true},
        {"a", "a", true},  {"-", "-", true},   {"\x81", "\x81", true}, {"x", "x", false},
    };
    g.SetRowCount(static_cast<int>(std::size(cases)) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) g.SetCellText(0, static_cast<int>(i) + 1, cases[i].marker);
    for (size_t i = 0; i < std::size(cases); ++i) {
        int row = static_cast<int>(i) + 1;
        EXPECT_EQ(g.RowKind(row), cases[i].kind) << cases[i].marker;
        EXPECT_EQ(g.IsNonArticleRow(row), cases[i].nonArticle) << cases[i].marker;
    }
    EXPECT_FALSE(g.IsNonArticleRow(-1));
    g.SetCellText(0, 0, "t");
    EXPECT_TRUE(g.IsNonArticleRow(0));  // the title row follows its marker like any other
}

TEST_F(DataGrid, UpdateModeDoesNotNest) {
    TDataGrid g;
    g.BeginUpdate();
    g.BeginUpdate();
    EXPECT_TRUE(g.Updating());
    EXPECT_FALSE(g.updatesEnabled());
    g.EndUpdate(false);
    EXPECT_FALSE(g.Updating());
    EXPECT_TRUE(g.updatesEnabled());
}

TEST_F(DataGrid, EndUpdateResetsThePositionOnlyInUpdateMode) {
    TDataGrid g;
    g.MoveCursor(false, 3, 4, true, false);
    g.EndUpdate(true);
    EXPECT_EQ(g.Current(), (TCellPos{3, 4, false}));
    g.BeginUpdate();
    g.EndUpdate(true);
    EXPECT_EQ(g.Current(), (TCellPos{1, 1, false}));
}

TEST_F(DataGrid, FieldNamesReachTheWriteEventOutsideUpdateMode) {
    TDataGrid g;
    std::vector<std::string> names;
    g.OnAfterCellWrite = [&](T_CustomGrid*, int, int, const std::string& name) {
        names.push_back(name);
        throw core::Exception("handler failure");  // swallowed by the grid
    };
    g.SetCellText(2, 1, "x");
    g.SetCellText(0, 1, "t");
    g.BeginUpdate();
    g.SetCellText(2, 1, "y");
    g.EndUpdate(false);
    EXPECT_EQ(names, (std::vector<std::string>{"TColumn-3", "", ""}));
}

TEST_F(DataGrid, BeforeSetcellOnlyForFloatAndCurrencyColumns) {
    TDataGrid g;
    g.Columns()[1].SetNumericKind(deInteger);
    g.Columns()[2].SetNumericKind(deFloat);
    g.OnBeforeSetcell = [](TDataGrid*, int, int, std::string& value, const std::string& name) {
        value = name + ":" + value;
    };
    g.SetCellText(1, 1, "5");
    g.SetCellText(2, 1, "5");
    EXPECT_EQ(g.GetCellText(1, 1), "5");
    EXPECT_EQ(g.GetCellText(2, 1), "TColumn-3:5");
}

TEST_F(DataGrid, MovingAColumnMovesItsDefinition) {
    TFSmartDataGridView view;
    TDataGrid& g = *view.DataGridOrder;
    g.SetCellText(9, 1, "9,99");
    g.MoveColumn(9, 2);
    EXPECT_EQ(g.Columns()[2].FieldName(), "Einzelbetrag");
    EXPECT_EQ(g.ColumnIndex("Einzelbetrag"), 2);
    EXPECT_EQ(g.GetCellText(2, 1), "9,99");
    EXPECT_EQ(g.GetColWidth(2), view.DataGridOrder->Columns()[2].Width());
}

TEST_F(DataGrid, PreviewViewGrid) {
    TFSmartDataGridView view;
    TDataGrid& g = *view.DataGridOrder;
    EXPECT_EQ(g.ColCount(), 16);
    EXPECT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.DefaultRowHeight(), 17);
    EXPECT_TRUE(g.ReadOnlyMode());
    EXPECT_TRUE(g.Options().Contains(goRowMoving));
    EXPECT_TRUE(g.Options().Contains(goColSizing));
    EXPECT_EQ(g.MaxSecondHeight(), 50);
    EXPECT_EQ(g.LeftStartSecond(), 1);
    EXPECT_EQ(g.RightEndSecond(), 2);
    const char* names[] = {"TColumn-1",     "Pos.",         "Stueck",        "Einheit",
                           "Bezeichnung1",  "Bezeichnung2", "BestellNummer", "Seriennummer",
                           "Artikelnummer", "Einzelbetrag", "Steuer",        "SummeBetrag",
                           "intern",        "ID_Artikel",   "benutzer",      "Rabatt"};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(g.Columns()[i].FieldName(), names[i]);
    EXPECT_EQ(g.Columns()[11].Width(), -1);
    EXPECT_TRUE(g.Columns()[11].ReadOnly());
    EXPECT_EQ(g.Columns()[9].Title().Caption(), "Preis");
    EXPECT_EQ(g.Columns()[9].DisplayMask(), "#######.00 'DM'");
    EXPECT_EQ(g.Columns()[10].PickList, (std::vector<std::string>{"8 %", "16 %"}));
    EXPECT_EQ(g.Columns()[2].Title().Caption(),
              "St\xFC"
              "ck");
}

TEST_F(DataGrid, ForceFormatOnlyForTheSumColumn) {
    TFSmartDataGridView view;
    struct Case {
        int col;
        bool expected;
    };
    for (Case c : {Case{11, true}, Case{9, false}, Case{300, false}}) {
        bool force = false;
        view.DataGridOrder->OnForceFormatThisCell(c.col, 1, force);
        EXPECT_EQ(force, c.expected) << c.col;
    }
}
