#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QStyle>

#include "gridcontrol/draw_grid.h"
#include "gridcontrol/grid_errors.h"
#include "platform/gui/application.h"

namespace {

class CustomGrid : public testing::Test {
  protected:
    CustomGrid() { gui::EnsureApplication(); }
};

// A grid whose client is exactly its size.
std::unique_ptr<T_DrawGrid> PlainGrid(int width, int height) {
    auto g = std::make_unique<T_DrawGrid>();
    g->SetBorderStyle(T_CustomGrid::bsNone);
    g->resize(width, height);
    return g;
}

std::string ErrorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const core::Exception& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST_F(CustomGrid, Defaults) {
    T_DrawGrid g;
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.DefaultColWidth(), 64);
    EXPECT_EQ(g.DefaultRowHeight(), 24);
    EXPECT_EQ(g.Options(), kDefaultGridOptions);
    EXPECT_EQ(g.Current(), (TCellPos{1, 1, false}));
    EXPECT_EQ(g.width(), 5 * 64);
    EXPECT_EQ(g.height(), 5 * 24);
    EXPECT_EQ(g.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(CustomGrid, CountsNeverFallBelowTwoAndFixedCountsFollow) {
    struct Case {
        int set, count, fixed;
    };
    for (Case c : {Case{0, 2, 1}, Case{1, 2, 1}, Case{3, 3, 2}, Case{10, 10, 3}}) {
        T_DrawGrid g;
        g.SetColCount(10);
        g.SetRowCount(10);
        g.SetFixedCols(3);
        g.SetFixedRows(3);
        g.SetColCount(c.set);
        g.SetRowCount(c.set);
        EXPECT_EQ(g.ColCount(), c.count) << c.set;
        EXPECT_EQ(g.FixedCols(), c.fixed) << c.set;
        EXPECT_EQ(g.RowCount(), c.count) << c.set;
        EXPECT_EQ(g.FixedRows(), c.fixed) << c.set;
    }
}

TEST_F(CustomGrid, FixedCountErrors) {
    T_DrawGrid g;
    EXPECT_EQ(ErrorText([&] { g.SetFixedCols(-1); }), grid::kIndexOutOfRange);
    EXPECT_EQ(ErrorText([&] { g.SetFixedCols(5); }), grid::kFixedColsTooLarge);
    EXPECT_EQ(ErrorText([&] { g.SetFixedRows(5); }), grid::kFixedRowsTooLarge);
    EXPECT_EQ(g.FixedCols(), 1);
}

TEST_F(CustomGrid, RowHeightsAreClampedAndIndexesChecked) {
    T_DrawGrid g;
    g.SetDefaultRowHeight(17);
    struct Case {
        int set, stored;
    };
    for (Case c : {Case{5, 17}, Case{1000, 300}, Case{40, 40}}) {
        g.SetRowHeight(2, c.set);
        EXPECT_EQ(g.GetRowHeight(2), c.stored) << c.set;
    }
    EXPECT_EQ(ErrorText([&] { g.SetRowHeight(-1, 20); }), grid::kIndexOutOfRange);
    EXPECT_EQ(ErrorText([&] { g.SetColWidth(-1, 20); }), grid::kIndexOutOfRange);
    EXPECT_EQ(ErrorText([&] { g.SetColWidth(5, 20); }), grid::kIndexOutOfRange);
    EXPECT_EQ(g.GetColWidth(-1), 64);
    g.SetColWidth(1, 1000);  // widths have no limit
    EXPECT_EQ(g.GetColWidth(1), 1000);
    g.SetDefaultColWidth(30);  // drops the list
    EXPECT_EQ(g.GetColWidth(1), 30);
    EXPECT_FALSE(g.HasColWidthList());
}

TEST_F(CustomGrid, SecondLineDoublesDataRows) {
    T_DrawGrid g;
    g.SetDefaultRowHeight(17);
    g.SetSecondLine(true);
    EXPECT_EQ(g.GetRowHeight(0), 17);
    for (int r = 1; r < 5; ++r) EXPECT_EQ(g.GetRowHeight(r), 34) << r;
    g.SetSecondLine(false);
    for (int r = 1; r < 5; ++r) EXPECT_EQ(g.GetRowHeight(r), 17) << r;
}

TEST_F(CustomGrid, MoveCursorOutOfRangeRaisesAndLeavesTheCursor) {
    T_DrawGrid g;
    g.MoveCursor(false, 2, 3, true, true);
    EXPECT_EQ(ErrorText([&] { g.MoveCursor(false, g.ColCount(), 0, true, true); }), grid::kIndexOutOfRange);
    EXPECT_EQ(ErrorText([&] { g.MoveCursor(false, 1, -1, true, true); }), grid::kIndexOutOfRange);
    EXPECT_EQ(g.Current(), (TCellPos{2, 3, false}));
    EXPECT_EQ(g.Anchor(), g.Current());
}

TEST_F(CustomGrid, RowChangeNotificationsAndRefusedSelection) {
    T_DrawGrid g;
    std::vector<std::string> log;
    g.OnBeforeRowChange = [&](T_CustomGrid*, int o, int n) {
        log.push_back("before " + std::to_string(o) + std::to_string(n));
    };
    g.OnAfterRowChange = [&](T_CustomGrid*, int o, int n) {
        log.push_back("after " + std::to_string(o) + std::to_string(n));
    };
    g.OnSelectCell = [](T_CustomGrid*, int, int row, bool& can) { can = row != 4; };
    g.MoveCursor(false, 1, 3, true, false);
    g.MoveCursor(false, 1, 4, true, false);  // refused: the cursor stays, the after-notification still fires
    EXPECT_EQ(g.Row(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"before 13", "after 13", "before 34", "after 33"}));
}

TEST_F(CustomGrid, RowSelectRules) {
    T_DrawGrid g;
    g.MoveCursor(false, 3, 2, true, false);
    TGridOptions o = kDefaultGridOptions;
    g.SetOptions(o.Include(goRowSelect).Include(goAlwaysShowEditor));
    EXPECT_FALSE(g.Options().Contains(goAlwaysShowEditor));
    EXPECT_EQ(g.Current().Col, g.FixedCols());
    EXPECT_EQ(g.Anchor().Col, g.ColCount() - 1);
    EXPECT_EQ(g.Selection(), (grid::Rect{1, 2, 4, 2}));
}

TEST_F(CustomGrid, ReadOnlyModeRoundTrip) {
    T_DrawGrid g;
    TGridOptions o = kDefaultGridOptions;
    g.SetOptions(o.Include(goColMoving).Include(goRowMoving).Include(goColSizing).Include(goRowSizing));
    g.SetReadOnlyMode(true);
    EXPECT_TRUE(g.ReadOnlyMode());
    for (TGridOption x : {goColMoving, goRowMoving, goColSizing, goRowSizing})
        EXPECT_FALSE(g.Options().Contains(x));
    g.SetReadOnlyMode(false);
    EXPECT_TRUE(g.Options().Contains(goRowMoving));
    for (TGridOption x : {goColMoving, goColSizing, goRowSizing}) EXPECT_FALSE(g.Options().Contains(x));
}

TEST_F(CustomGrid, FitColumnsFillsA438PixelGrid) {
    auto g = PlainGrid(438, 238);
    const std::vector<int> widths{10, 29, 34, 32, 41, 36, 39, 34, 30, 33, 20, -1, -1, -1, -1, 37};
    g->SetColCount(16);
    g->SetRowCount(2);
    g->SetDefaultRowHeight(17);
    for (int i = 0; i < 16; ++i) g->SetColWidth(i, widths[i]);
    g->FitColumns(0, true);
    const int barWidth = g->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, g.get());
    int sum = 0;
    for (int i = 0; i < 16; ++i) sum += g->GetColWidth(i) < 0 ? 0 : g->GetColWidth(i) + 1;
    EXPECT_EQ(sum, 438 - barWidth);  // no scroll bar shown: room is kept for it
    EXPECT_EQ(g->GetColWidth(0), 10);
    EXPECT_EQ(g->GetColWidth(1), 29);
    EXPECT_EQ(g->GetColWidth(11), -1);
    for (int i = 2; i < 16; ++i) {
        if (widths[i] != -1) {
            EXPECT_GE(g->GetColWidth(i), 15) << i;
        }
    }
}

TEST_F(CustomGrid, MoveColumnAndRowCarryWidthsCursorAndEvents) {
    T_DrawGrid g;
    for (int i = 0; i < 5; ++i) g.SetColWidth(i, 10 + i);
    std::vector<std::pair<int, int>> moved;
    g.OnColumnMoved = [&](T_CustomGrid*, int f, int t) { moved.emplace_back(f, t); };
    g.OnRowMoved = [&](T_CustomGrid*, int f, int t) { moved.emplace_back(-f, -t); };
    g.MoveCursor(false, 3, 2, true, false);
    g.MoveColumn(3, 1);
    EXPECT_EQ(g.GetColWidth(1), 13);
    EXPECT_EQ(g.GetColWidth(2), 11);
    EXPECT_EQ(g.Col(), 1);
    g.MoveRow(1, 4);
    EXPECT_EQ(g.Row(), 1);  // row 2 moved up by one
    EXPECT_EQ(g.Anchor(), g.Current());
    EXPECT_EQ(moved, (std::vector<std::pair<int, int>>{{3, 1}, {-1, -4}}));
}

TEST_F(CustomGrid, ResizeGridClampsTheCursor) {
    T_DrawGrid g;
    g.MoveCursor(false, 4, 4, true, false);
    g.SetRowCount(3);
    EXPECT_EQ(g.Current(), (TCellPos{4, 2, false}));
    g.SetColCount(2);
    EXPECT_EQ(g.Col(), 1);
}

TEST_F(CustomGrid, VerticalScrollBarUsesTheRange0To127) {
    auto g = PlainGrid(300, 200);
    g->SetRowCount(1000);
    QScrollBar* bar = g->verticalScrollBar();
    EXPECT_EQ(bar->maximum(), 127);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(g->TopRow(), 2);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(g->TopRow(), g->Geo().MaxTopRow());
    EXPECT_EQ(bar->value(), 127);
    EXPECT_EQ(g->ComputeMetrics().Vert.LastFullVisible, 999);
    g->SetRowCount(3);  // everything fits again: the bar goes
    EXPECT_EQ(bar->maximum(), 0);
}

TEST_F(CustomGrid, CursorMovesScrollTheCellIntoView) {
    auto g = PlainGrid(300, 200);
    g->SetRowCount(1000);
    g->MoveCursor(false, 1, 500, true, true);
    EXPECT_EQ(g->ComputeMetrics().Vert.LastFullVisible, 500);
    EXPECT_FALSE(g->CellBounds(1, 500).IsEmpty());
    g->MoveCursor(false, 1, 3, true, true);
    EXPECT_EQ(g->TopRow(), 3);
}

TEST_F(CustomGrid, NoExceptionLeavesPainting) {
    auto g = PlainGrid(200, 100);
    g->OnDrawCell = [](T_CustomGrid*, QPainter&, int, int, const QRect&, TGridDrawState) {
        throw core::Exception("drawing failed");
    };
    QImage image(200, 100, QImage::Format_RGB32);
    EXPECT_NO_THROW(g->render(&image));
}

TEST_F(CustomGrid, PropertiesBySystemNames) {
    T_DrawGrid g;
    EXPECT_TRUE(g.setProperty("ColCount", 8));
    EXPECT_TRUE(g.setProperty("DefaultRowHeight", 17));
    EXPECT_TRUE(g.setProperty("UseSecondLine", true));
    EXPECT_TRUE(g.setProperty("RightEndSecond", 2));
    EXPECT_EQ(g.ColCount(), 8);
    EXPECT_EQ(g.DefaultRowHeight(), 17);
    EXPECT_TRUE(g.UseSecondLine());
    EXPECT_EQ(g.RightEndSecond(), 2);
    EXPECT_EQ(g.property("RowCount").toInt(), 5);
    EXPECT_TRUE(g.property("VisibleRowCount").isValid());
    EXPECT_TRUE(g.setProperty("Options", QVariant::fromValue(TGridOptions{goEditing})));
    EXPECT_EQ(g.Options(), TGridOptions{goEditing});
    EXPECT_TRUE(g.property("ColWidths").value<QList<int>>().isEmpty());  // no list yet
    EXPECT_TRUE(g.setProperty("RowHeights", QVariant::fromValue(QList<int>{17, 5, 400})));
    EXPECT_EQ(g.property("RowHeights").value<QList<int>>(), (QList<int>{17, 17, 300, 17, 17}));
}

namespace {

class SizingGrid : public T_DrawGrid {
  public:
    using T_DrawGrid::HitTestSizing;
};

}  // namespace

TEST_F(CustomGrid, HitTestSizingFindsTheLinesOfTheHeaderCells) {
    SizingGrid g;
    g.SetBorderStyle(T_CustomGrid::bsNone);
    g.resize(300, 200);
    EXPECT_EQ(g.HitTestSizing(129, 10).Mode, TGridMode::Normal);  // no sizing options
    TGridOptions o = kDefaultGridOptions;
    g.SetOptions(o.Include(goColSizing).Include(goRowSizing));
    struct Case {
        int x, y;
        TGridMode mode;
        int index, position;
    };
    const Case cases[] = {
        {129, 10, TGridMode::ColSizing, 1, 129},  // the line after column 1
        {126, 10, TGridMode::ColSizing, 1, 129},  // 3 pixels before it still catch it
        {133, 10, TGridMode::Normal, -1, 0},
        {299, 10, TGridMode::ColSizing, 4, 300},  // the cut column at the client edge
        {129, 60, TGridMode::Normal, -1, 0},      // column lines only in the header row
        {10, 49, TGridMode::RowSizing, 1, 49},    // the line after row 1, in the fixed column
        {100, 49, TGridMode::Normal, -1, 0},
    };
    for (const Case& c : cases) {
        grid::SizingHit hit = g.HitTestSizing(c.x, c.y);
        EXPECT_EQ(hit.Mode, c.mode) << c.x << "," << c.y;
        EXPECT_EQ(hit.Index, c.index) << c.x << "," << c.y;
        if (c.mode != TGridMode::Normal) {
            EXPECT_EQ(hit.Position, c.position) << c.x << "," << c.y;
            int along = c.mode == TGridMode::RowSizing ? c.y : c.x;
            EXPECT_EQ(hit.Offset, c.position - along) << c.x << "," << c.y;
        }
    }
}
