#include <gtest/gtest.h>
#include <QLineEdit>

#include "gridcontrol/grid_errors.h"
#include "gridcontrol/string_grid.h"
#include "platform/gui/application.h"
#include "platform/gui/text.h"

namespace {

class StringGrid : public testing::Test {
  protected:
    StringGrid() { gui::EnsureApplication(); }
};

// An in-place editor over a line edit; it shows the cell's edit text when the grid opens it.
class LineEditor : public grid::CellEditor {
  public:
    explicit LineEditor(QWidget* parent) : edit(parent) {}
    QWidget* EditorWidget() override { return &edit; }
    std::string EditorText() const override { return gui::FromQString(edit.text()); }
    void SetTextRect(const QRect&) override {}
    QLineEdit edit;
};

// A string grid that records the write hooks and hosts one line editor.
class RecordingGrid : public T_StringGrid {
  public:
    RecordingGrid() : editor(viewport()) {}
    std::vector<std::string> writes;
    int editorOpenings = 0;
    bool withEditor = false;
    LineEditor editor;
    using T_StringGrid::SetEditText;

  protected:
    void BeforeCellWrite(int col, int row, std::string& text) override {
        writes.push_back("before " + std::to_string(col) + "," + std::to_string(row) + " " + text);
        if (text == "lower") text = "LOWER";
    }
    void AfterCellWrite(int col, int row, const std::string& fieldName) override {
        writes.push_back("after " + std::to_string(col) + "," + std::to_string(row));
        T_StringGrid::AfterCellWrite(col, row, fieldName);
    }
    void GetCellEditor(bool& second, grid::CellEditor*& e, bool& ok) override {
        ok = withEditor;
        e = withEditor ? &editor : nullptr;
        if (!ok) return;
        ++editorOpenings;
        editor.edit.setText(gui::ToQString(GetEditText(second, Col(), Row())));
    }
};

}  // namespace

TEST_F(StringGrid, CellTextsAreKeptByteForByte) {
    T_StringGrid g;
    const std::string marker("\x81", 1), withZero("a\0b", 3), umlauts("\xC4\xD6\xDC\xDF \x80");
    g.SetCellText(0, 1, marker);
    g.SetCellText(1, 1, withZero);
    g.SetCellText(2, 1, umlauts);
    EXPECT_EQ(g.GetCellText(0, 1), marker);
    EXPECT_EQ(g.GetCellText(1, 1), withZero);
    EXPECT_EQ(g.GetCellText(2, 1), umlauts);
    EXPECT_EQ(g.GetCellText(3, 1), "");
    EXPECT_EQ(g.GetCellText(1, 4), "");
}

TEST_F(StringGrid, ColumnMinusOneIsEmptyAndIgnoresWrites) {
    RecordingGrid g;
    g.SetCellText(-1, 1, "x");
    EXPECT_EQ(g.GetCellText(-1, 1), "");
    EXPECT_TRUE(g.writes.empty());
}

TEST_F(StringGrid, WritesPassTheHooksUnlessMuted) {
    RecordingGrid g;
    g.SetCellText(2, 3, "lower");
    EXPECT_EQ(g.GetCellText(2, 3), "LOWER");
    g.SetCellWritesMuted(true);
    g.SetCellText(2, 3, "lower");
    EXPECT_EQ(g.GetCellText(2, 3), "lower");
    EXPECT_EQ(g.writes, (std::vector<std::string>{"before 2,3 lower", "after 2,3", "after 2,3"}));
}

TEST_F(StringGrid, AfterCellWriteEventIsMutedWithTheWrites) {
    T_StringGrid g;
    int fired = 0;
    g.OnAfterCellWrite = [&](T_CustomGrid*, int, int, const std::string&) { ++fired; };
    g.SetCellText(1, 1, "a");
    g.SetCellWritesMuted(true);
    g.SetCellText(1, 1, "b");
    EXPECT_EQ(fired, 1);
}

TEST_F(StringGrid, SecondLineWithoutUseSecondLine) {
    T_StringGrid g;
    g.SetDefaultRowHeight(17);
    g.SetRowHeight(2, 40);
    g.SetCellText(-2, 2, "abc");
    EXPECT_EQ(g.GetCellText(-2, 2), "");
    EXPECT_NE(dynamic_cast<grid::StringList*>(g.GetCellObject(0, 2)), nullptr);
    EXPECT_EQ(g.GetRowHeight(2), 17);
    EXPECT_EQ(g.GetCellText(-2, 3), "");  // no list at all
}

TEST_F(StringGrid, SecondLineTextsAreKeptByteForByte) {
    T_StringGrid g;
    g.SetUseSecondLine(true);
    for (std::string text : {std::string("x"), std::string("a\r\nb\r\n"), std::string("line\nbare LF"),
                             std::string("z\0y", 3)}) {
        g.SetCellText(-2, 1, text);
        EXPECT_EQ(g.GetCellText(-2, 1), text);
    }
    g.SetCellText(0, 1, "t");  // the marker text shares cell 0 with the list
    EXPECT_EQ(g.GetCellText(-2, 1), std::string("z\0y", 3));
    EXPECT_EQ(g.GetCellText(0, 1), "t");
}

TEST_F(StringGrid, SetEditTextReportsUnchanged) {
    RecordingGrid g;
    g.SetCellText(1, 2, "same");
    g.writes.clear();
    EXPECT_TRUE(g.SetEditText(false, 1, 2, "same"));
    EXPECT_TRUE(g.writes.empty());  // nothing stored, no AfterCellWrite
    EXPECT_FALSE(g.SetEditText(false, 1, 2, "new"));
    EXPECT_EQ(g.GetCellText(1, 2), "new");
    g.SetUseSecondLine(true);
    EXPECT_FALSE(g.SetEditText(true, 1, 2, "second"));
    EXPECT_EQ(g.GetCellText(-2, 2), "second");
    EXPECT_TRUE(g.SetEditText(true, 1, 2, "second"));
}

TEST_F(StringGrid, MovingARowCarriesItsCellsAndSecondLine) {
    T_StringGrid g;
    g.SetUseSecondLine(true);
    for (int r = 1; r < 5; ++r) {
        g.SetCellText(1, r, "row" + std::to_string(r));
        g.SetCellText(-2, r, "second" + std::to_string(r));
    }
    g.MoveRow(3, 1);
    const char* expected[] = {"", "row3", "row1", "row2", "row4"};
    for (int r = 1; r < 5; ++r) {
        EXPECT_EQ(g.GetCellText(1, r), expected[r]) << r;
        EXPECT_EQ(g.GetCellText(-2, r), "second" + std::string(expected[r]).substr(3)) << r;
    }
}

TEST_F(StringGrid, MovingAColumnCarriesItsCellsInEveryRow) {
    T_StringGrid g;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) g.SetCellText(c, r, std::to_string(c) + std::to_string(r));
    g.MoveColumn(1, 3);
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(g.GetCellText(3, r), "1" + std::to_string(r));
        EXPECT_EQ(g.GetCellText(1, r), "2" + std::to_string(r));
        EXPECT_EQ(g.GetCellText(4, r), "4" + std::to_string(r));
    }
}

TEST_F(StringGrid, RowsFarBeyondTheFirstMillionStayApart) {
    T_StringGrid g;
    g.SetCellText(1, 0, "first");
    g.SetCellText(1, 1048560, "far");
    g.SetCellText(1, 1048576, "farther");
    EXPECT_EQ(g.GetCellText(1, 0), "first");
    EXPECT_EQ(g.GetCellText(1, 1048560), "far");
    EXPECT_EQ(g.GetCellText(1, 1048576), "farther");
    EXPECT_THROW(g.SetCellText(1, grid::kMaxListSize, "x"), EInvalidGridOperation);
    EXPECT_THROW(g.SetCellText(1, -1, "x"), core::EListError);
}

TEST_F(StringGrid, ViewsBehaveAsStringLists) {
    T_StringGrid g;
    T_StringGridStrings& row = g.RowStrings(2);
    EXPECT_EQ(&row, &g.RowStrings(2));  // stable
    EXPECT_EQ(row.Count(), 5);
    EXPECT_EQ(g.ColStrings(1).Count(), 5);
    row.Put(0, "a");
    row.Put(2, "c");
    EXPECT_EQ(row.Add("b"), 1);
    EXPECT_EQ(g.GetCellText(1, 2), "b");
    EXPECT_EQ(g.ColStrings(1).Get(2), "b");
    row.Add("x");
    row.Add("y");
    EXPECT_EQ(row.Add("full"), -1);
    for (auto op : {0, 1}) {
        try {
            if (op == 0) row.Insert(0, "x");
            if (op == 1) g.ColStrings(0).Delete(0);
            FAIL();
        } catch (const EInvalidGridOperation& e) {
            EXPECT_STREQ(e.what(), grid::kCannotInsertDelete);
        }
    }
    g.ColStrings(3).Assign(g.ColStrings(2));
    EXPECT_EQ(g.GetCellText(3, 2), "c");  // column 2 copied over column 3
    g.RowStrings(4).Assign(std::vector<std::string>{"p", "q"});
    EXPECT_EQ(g.GetCellText(1, 4), "q");
}

TEST_F(StringGrid, ClearFreesOnlyTheGridsOwnSecondLineLists) {
    T_StringGrid g;
    g.SetUseSecondLine(true);
    g.SetCellText(-2, 1, "own");
    g.SetCellText(1, 1, "text");
    grid::StringList foreign;  // attached by other code: the grid must not free it
    g.SetCellObject(0, 2, &foreign);
    g.SetCellText(1, 2, "text");
    EXPECT_EQ(g.SecondLineListCount(), 1u);
    g.RowStrings(1).Clear();
    g.ColStrings(0).Clear();
    EXPECT_EQ(g.SecondLineListCount(), 0u);
    EXPECT_EQ(g.GetCellObject(0, 2), nullptr);
    EXPECT_EQ(g.GetCellText(1, 1), "");
    EXPECT_EQ(g.GetCellText(-2, 1), "");
    EXPECT_EQ(g.GetCellText(1, 2), "text");
}

TEST_F(StringGrid, WritingTheCursorCellFromCodeReopensTheEditor) {
    RecordingGrid g;
    g.withEditor = true;
    g.MoveCursor(false, 2, 2, true, false);
    g.ShowEditor();
    EXPECT_EQ(g.editorOpenings, 1);
    g.SetCellText(2, 2, "from code");
    EXPECT_EQ(g.editorOpenings, 2);
    EXPECT_EQ(g.editor.EditorText(), "from code");
    g.editor.edit.setText("typed");
    EXPECT_FALSE(g.WriteEditorText());  // through the editor: stored, the editor is left alone
    EXPECT_EQ(g.GetCellText(2, 2), "typed");
    EXPECT_EQ(g.editorOpenings, 2);
    g.SetCellText(3, 2, "other cell");
    EXPECT_EQ(g.editorOpenings, 2);
}

TEST_F(StringGrid, HideEditorWritesBackAndReports) {
    RecordingGrid g;
    g.withEditor = true;
    std::vector<bool> reports;
    g.OnAfterCellEdit = [&](T_CustomGrid*, int, int, const std::string&, bool equal) {
        reports.push_back(equal);
    };
    g.MoveCursor(false, 1, 1, true, false);
    g.ShowEditor();
    g.editor.edit.setText("abc");
    g.HideEditor();
    EXPECT_EQ(g.GetCellText(1, 1), "abc");
    EXPECT_FALSE(g.EditorShowing());
    EXPECT_EQ(g.EditCell(), (grid::CellCoord{-1, -1}));
    g.ShowEditor();
    g.HideEditor();
    EXPECT_EQ(reports, (std::vector<bool>{false, true}));
}

TEST_F(StringGrid, RowTextsPassTheHooksOncePerCell) {
    RecordingGrid g;
    g.SetCellText(3, 2, "old");
    g.writes.clear();
    g.SetRowTexts(2, {{1, "lower"}, {3, ""}, {4, "d"}});
    EXPECT_EQ(g.GetCellText(1, 2), "LOWER");
    EXPECT_EQ(g.GetCellText(3, 2), "");
    EXPECT_EQ(g.GetCellText(4, 2), "d");
    EXPECT_EQ(g.writes, (std::vector<std::string>{"before 1,2 lower", "before 3,2 ", "before 4,2 d",
                                                  "after 1,2", "after 3,2", "after 4,2"}));
}
