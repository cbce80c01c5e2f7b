#include "gridcontrol/geometry.h"

#include <gtest/gtest.h>

#include "gridcontrol/grid_errors.h"

namespace {

// 5 x 5 cells of 64 x 24 pixels, one fixed row and column, 1-pixel lines, a 300 x 200 client.
grid::Geometry SmallGrid() {
    grid::Geometry g;
    g.ClientWidth = 300;
    g.ClientHeight = 200;
    return g;
}

// A grid of 100 rows in the same client.
grid::Geometry TallGrid() {
    grid::Geometry g = SmallGrid();
    g.Rows().SetCount(100);
    return g;
}

int SumOfAdvances(const std::vector<int>& widths, int lineWidth) {
    int sum = 0;
    for (int w : widths) sum += w < 0 ? 0 : w + lineWidth;
    return sum;
}

// The widths of the order-line view's sixteen columns.
const std::vector<int> kViewWidths{10, 29, 34, 32, 41, 36, 39, 34, 30, 33, 20, -1, -1, -1, -1, 37};

}  // namespace

TEST(GridGeometry, MetricsWalkTheVisibleCells) {
    TGridMetrics m = SmallGrid().ComputeMetrics();
    EXPECT_EQ(m.Horz.LineWidth, 1);
    EXPECT_EQ(m.Horz.FixedEnd, 65);
    EXPECT_EQ(m.Horz.LastFullVisible, 3);  // column 4 would end at 325, beyond the client
    EXPECT_EQ(m.Horz.FullVisibleEnd, 260);
    EXPECT_EQ(m.Horz.GridEnd, 300);
    EXPECT_EQ(m.Vert.FixedEnd, 25);
    EXPECT_EQ(m.Vert.LastFullVisible, 4);
    EXPECT_EQ(m.Vert.GridEnd, 125);
}

TEST(GridGeometry, LineWidthFollowsTheLineOptionsOfEachAxis) {
    grid::Geometry g = SmallGrid();
    g.GridLineWidth = 3;
    g.Options = TGridOptions{goVertLine};
    EXPECT_EQ(g.HorzLineWidth(), 3);
    EXPECT_EQ(g.VertLineWidth(), 0);
    g.Options = TGridOptions{goFixedHorzLine};
    EXPECT_EQ(g.HorzLineWidth(), 0);
    EXPECT_EQ(g.VertLineWidth(), 3);
}

TEST(GridGeometry, CellAtPoint) {
    struct Case {
        int x, y, col, row;
    };
    const Case cases[] = {
        {0, 0, 0, 0},       {63, 23, 0, 0},   {64, 24, 0, 0},  // the trailing line belongs to the cell
        {65, 25, 1, 1},     {299, 124, 4, 4},                  // the cut column is still hit
        {150, 125, -1, -1},                                    // below the last row: nothing, both -1
        {-1, 10, -1, -1},
    };
    grid::Geometry g = SmallGrid();
    for (const Case& c : cases) {
        grid::CellCoord at = g.CellAtPoint(c.x, c.y);
        EXPECT_EQ(at, (grid::CellCoord{c.col, c.row})) << c.x << "," << c.y;
    }
}

TEST(GridGeometry, HiddenColumnTakesNoRoomAtAnyLineWidth) {
    for (int lineWidth : {1, 0}) {
        grid::Geometry g = SmallGrid();
        g.GridLineWidth = lineWidth;
        g.Cols().Set(2, -1);
        EXPECT_TRUE(g.CellBounds(2, 1).IsEmpty()) << lineWidth;
        grid::Rect c1 = g.CellBounds(1, 1), c3 = g.CellBounds(3, 1);
        EXPECT_EQ(c3.Left, c1.Right + lineWidth) << lineWidth;
        for (int x = 0; x < g.ClientWidth; ++x) EXPECT_NE(g.CellAtPoint(x, 30).Col, 2) << x;
    }
}

TEST(GridGeometry, CellBoundsOfFixedScrolledAndCutCells) {
    grid::Geometry g = SmallGrid();
    EXPECT_EQ(g.CellBounds(0, 0), (grid::Rect{0, 0, 64, 24}));
    EXPECT_EQ(g.CellBounds(1, 2), (grid::Rect{65, 50, 129, 74}));
    EXPECT_EQ(g.CellBounds(4, 1), (grid::Rect{260, 25, 300, 49}));  // cut at the client edge
    EXPECT_EQ(g.RangeBounds(1, 1, 2, 1, true), (grid::Rect{65, 25, 195, 50}));
    g.TopLeft = {2, 1};
    EXPECT_TRUE(g.CellBounds(1, 1).IsEmpty());  // scrolled away
    EXPECT_EQ(g.CellBounds(2, 1), (grid::Rect{65, 25, 129, 49}));
    EXPECT_EQ(g.RangeBounds(1, 1, 2, 1, false), (grid::Rect{65, 25, 129, 49}));
    EXPECT_TRUE(g.RangeBounds(3, 1, 2, 1, false).IsEmpty());
}

TEST(GridGeometry, RightToLeftMirrorsRectanglesAndPoints) {
    grid::Geometry g = SmallGrid();
    g.RightToLeft = true;
    EXPECT_EQ(g.CellBounds(0, 0), (grid::Rect{236, 0, 300, 24}));
    EXPECT_EQ(g.CellAtPoint(299, 0), (grid::CellCoord{0, 0}));
}

TEST(GridGeometry, SecondLineBounds) {
    grid::Geometry g = SmallGrid();
    g.LeftStartSecond = 1;
    g.RightEndSecond = 2;
    g.Rows().Set(1, 48);
    EXPECT_EQ(g.SecondLineBounds(1, false, 17), (grid::Rect{64, 50, 195, 73}));
    EXPECT_EQ(g.SecondLineBounds(1, true, 17), (grid::Rect{64, 50, 212, 73}));
    auto [left, right] = g.SecondLineSideBounds(1);
    EXPECT_EQ(left, (grid::Rect{65, 49, 129, 73}));
    EXPECT_EQ(right, (grid::Rect{194, 49, 300, 73}));
}

TEST(GridGeometry, SizeListsRefuseNegativeAndTooLargeIndexes) {
    grid::Geometry g = SmallGrid();
    EXPECT_EQ(g.Cols().Get(-1), 64);
    EXPECT_EQ(g.Rows().Get(99), 24);
    EXPECT_THROW(g.Cols().Set(-1, 10), EInvalidGridOperation);
    EXPECT_THROW(g.Cols().Set(5, 10), EInvalidGridOperation);
    EXPECT_FALSE(g.Cols().HasList());
    g.Cols().Set(4, 10);
    EXPECT_EQ(g.Cols().Get(-1), 64);
    EXPECT_THROW(g.Rows().SetCount(grid::kMaxListSize + 1), EInvalidGridOperation);
    try {
        g.Rows().SetCount(-1);
        FAIL();
    } catch (const EInvalidGridOperation& e) {
        EXPECT_STREQ(e.what(), grid::kTooManyDeleted);
    }
}

TEST(GridGeometry, ScrollRangeAndPosition) {
    grid::Geometry small = SmallGrid();
    EXPECT_FALSE(small.VertScrollActive());
    EXPECT_EQ(small.VertScrollPos(), 0);  // no rows to scroll: no division by zero

    grid::Geometry g = TallGrid();
    EXPECT_EQ(g.MaxTopRow(), 93);  // rows 93..99 take 175 of the 176 pixels below the title row
    EXPECT_TRUE(g.VertScrollActive());
    struct Case {
        int top, pos;
    };
    for (Case c : {Case{1, 0}, Case{47, 64}, Case{93, 127}}) {
        g.TopLeft.Row = c.top;
        EXPECT_EQ(g.VertScrollPos(), c.pos) << c.top;
    }
}

TEST(GridGeometry, ScrollTargets) {
    grid::Geometry g = TallGrid();
    g.TopLeft.Row = 10;
    struct Case {
        TScrollCode code;
        int position, expected;
    };
    const Case cases[] = {
        {TScrollCode::LineUp, 0, 9},
        {TScrollCode::LineDown, 0, 11},
        {TScrollCode::PageUp, 0, 3},
        {TScrollCode::PageDown, 0, 17},
        {TScrollCode::Top, 0, 1},
        {TScrollCode::Bottom, 0, 93},
        {TScrollCode::ThumbPosition, 127, 93},
        {TScrollCode::ThumbPosition, 64, 47},
        {TScrollCode::ThumbTrack, 64, 10},  // ignored without goThumbTracking
    };
    for (const Case& c : cases)
        EXPECT_EQ(g.ScrollTarget(true, c.code, c.position), c.expected) << static_cast<int>(c.code);
    g.TopLeft.Row = 1;
    EXPECT_EQ(g.ScrollTarget(true, TScrollCode::PageUp, 0), 1);  // clamped to the fixed rows
    g.TopLeft.Row = 93;
    EXPECT_EQ(g.ScrollTarget(true, TScrollCode::LineDown, 0), 93);
}

TEST(GridGeometry, ScrollingStepsOverHiddenColumns) {
    grid::Geometry g = SmallGrid();
    g.Cols().SetCount(10);
    g.Cols().Set(2, -1);
    g.Cols().Set(3, 0);
    g.TopLeft.Col = 1;
    EXPECT_EQ(g.ScrollTarget(false, TScrollCode::LineDown, 0), 4);
    g.TopLeft.Col = 4;
    EXPECT_EQ(g.ScrollTarget(false, TScrollCode::LineUp, 0), 1);
}

TEST(GridGeometry, ScrollIntoViewTarget) {
    grid::Geometry g = TallGrid();
    EXPECT_FALSE(g.ScrollIntoViewTarget(1, 3).has_value());
    EXPECT_EQ(g.ScrollIntoViewTarget(1, 50), (grid::CellCoord{1, 44}));  // row 50 becomes the last one
    g.TopLeft.Row = 44;
    EXPECT_EQ(g.ScrollIntoViewTarget(1, 20), (grid::CellCoord{1, 20}));
    EXPECT_EQ(g.ScrollIntoViewTarget(1, 0), (grid::CellCoord{1, 1}));  // a fixed row scrolls to the top
}

TEST(FitColumnWidths, ViewColumnsFillTheClientWidth) {
    for (bool barActive : {false, true}) {
        grid::FitInput in{kViewWidths, 1, 0, true, 438, barActive, 17, 1};
        std::vector<int> w = grid::FitColumnWidths(in);
        EXPECT_EQ(w[0], 10);
        EXPECT_EQ(w[1], 29);
        for (int j : {11, 12, 13, 14}) EXPECT_EQ(w[j], -1) << j;
        for (int j = 2; j < 16; ++j) {
            if (w[j] != -1) {
                EXPECT_GE(w[j], grid::kMinFitWidth) << j;
            }
        }
        EXPECT_EQ(SumOfAdvances(w, 1), 438 - (barActive ? 0 : 17)) << barActive;
    }
}

TEST(FitColumnWidths, NarrowColumnsStopAtTheMinimum) {
    grid::FitInput in{{10, 29, 200, 20, 20}, 1, 0, true, 150, true, 17, 1};
    std::vector<int> w = grid::FitColumnWidths(in);
    EXPECT_EQ(w[3], 15);  // 9 by proportion
    EXPECT_GE(w[4], 15);
    EXPECT_EQ(SumOfAdvances(w, 1), 150);
}

TEST(FitColumnWidths, TooWideFixedPartSqueezesIntoTheResizedColumn) {
    struct Case {
        std::vector<int> widths;
        int client;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{10, 400, 50, 50}, 300, {10, 256, 15, 15}},
        // the resized column would get a negative width: it keeps the minimum, the rest is cut off
        {{200, 400, 50}, 100, {200, 15, 15}},
    };
    for (const Case& c : cases) {
        grid::FitInput in{c.widths, 0, 1, true, c.client, true, 17, 1};
        EXPECT_EQ(grid::FitColumnWidths(in), c.expected);
    }
}

TEST(FitColumnWidths, TriggeringColumnAbsorbsWhatOthersCannotTake) {
    struct Case {
        std::vector<int> widths;
        int client;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {{10, 50, -1}, 120, {10, 108, -1}},  // nothing adjustable: column 1 fills the row
        {{10, 50, 300}, 70, {10, 42, 15}},   // column 2 at the minimum overflows: column 1 gives way
    };
    for (const Case& c : cases) {
        grid::FitInput in{c.widths, 1, 1, true, c.client, true, 0, 1};
        std::vector<int> w = grid::FitColumnWidths(in);
        EXPECT_EQ(w, c.expected);
        EXPECT_EQ(SumOfAdvances(w, 1), c.client);
    }
}

TEST(GridGeometryHelpers, MulDivRoundsHalfAwayFromZero) {
    EXPECT_EQ(grid::MulDiv(46, 127, 92), 64);
    EXPECT_EQ(grid::MulDiv(1, 1, 3), 0);
    EXPECT_EQ(grid::MulDiv(-46, 127, 92), -64);
    EXPECT_EQ(grid::MulDiv(5, 5, 0), 0);
}

TEST(GridGeometryHelpers, MovedIndex) {
    struct Case {
        int pos, from, to, expected;
    };
    const Case cases[] = {{3, 3, 1, 1}, {1, 3, 1, 2}, {2, 3, 1, 3}, {4, 3, 1, 4},
                          {1, 1, 3, 3}, {3, 1, 3, 2}, {2, 1, 3, 1}, {0, 1, 3, 0}};
    for (const Case& c : cases) EXPECT_EQ(grid::MovedIndex(c.pos, c.from, c.to), c.expected);
}

TEST(AxisSizes, MoveShiftsTheEntriesBetween) {
    grid::AxisSizes s(5, 1, 10);
    for (int i = 0; i < 5; ++i) s.Set(i, i);
    s.Move(3, 1);
    EXPECT_EQ(*s.List(), (std::vector<int32_t>{0, 3, 1, 2, 4}));
    s.Move(1, 4);
    EXPECT_EQ(*s.List(), (std::vector<int32_t>{0, 1, 2, 4, 3}));
}
