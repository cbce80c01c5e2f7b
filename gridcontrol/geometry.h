#pragma once
// The grid's layout as a plain class: counts, size lists, top-left cell and client size in; metrics, cell
// rectangles, hit tests, scroll targets and the column fit out. The control asks it for everything it
// paints or hit-tests; tests use it without a window.
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "gridcontrol/grid_types.h"

// Layout of one axis for the current client size; computed on demand, never stored.
struct TAxisMetrics {
    int LineWidth = 0;
    int FixedEnd = 0;
    int GridEnd = 0;
    int Extent = 0;
    int LastFullVisible = 0;
    int FullVisibleEnd = 0;
    int FixedCount = 0;
    int FirstScrollable = 0;
    int CellCount = 0;
};

struct TGridMetrics {
    TAxisMetrics Horz;
    TAxisMetrics Vert;
};

namespace grid {

// A rectangle with exclusive right and bottom edges.
struct Rect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct CellCoord {
    int Col = -1;
    int Row = -1;
    friend bool operator==(const CellCoord&, const CellCoord&) = default;
};

// Counts and sizes of one axis. The size list is absent until a size is set; an entry of -1 hides the
// column.
class AxisSizes {
  public:
    AxisSizes(int count, int fixed, int defaultSize) : count_(count), fixed_(fixed), default_(defaultSize) {}

    int Count() const { return count_; }
    int Fixed() const { return fixed_; }
    int Default() const { return default_; }
    bool HasList() const { return list_.has_value(); }

    // The size of cell i; the default for an index outside the list (negative ones included).
    int Get(int i) const;
    // Stores a size, creating the list first. An index outside 0..Count-1 raises the grid-index error.
    void Set(int i, int size);
    // Pixels cell i takes along the axis with its trailing line: a hidden cell takes none.
    int Advance(int i, int lineWidth) const {
        int s = Get(i);
        return s < 0 ? 0 : s + lineWidth;
    }

    void SetCount(int count);  // grows or shrinks the list when it exists
    void SetFixed(int fixed) { fixed_ = fixed; }
    void SetDefault(int size);  // drops the list
    void Move(int from, int to);
    const std::optional<std::vector<int32_t>>& List() const { return list_; }

  private:
    void EnsureList();
    int count_;
    int fixed_;
    int default_;
    std::optional<std::vector<int32_t>> list_;
};

class Geometry {
  public:
    Geometry() = default;

    AxisSizes& Cols() { return cols_; }
    AxisSizes& Rows() { return rows_; }
    const AxisSizes& Cols() const { return cols_; }
    const AxisSizes& Rows() const { return rows_; }

    int GridLineWidth = 1;
    TGridOptions Options = kDefaultGridOptions;
    CellCoord TopLeft{1, 1};
    int ClientWidth = 0;
    int ClientHeight = 0;
    bool RightToLeft = false;
    int LeftStartSecond = 0;
    int RightEndSecond = 0;

    int HorzLineWidth() const;
    int VertLineWidth() const;

    TGridMetrics ComputeMetrics() const;
    Rect RangeBounds(int left, int top, int right, int bottom, bool includeLine) const;
    Rect CellBounds(int col, int row) const { return RangeBounds(col, row, col, row, false); }
    CellCoord CellAtPoint(int x, int y) const;
    // Second-line text area of a row; scrollBarWidth is added on the right for the editor.
    Rect SecondLineBounds(int row, bool forEditor, int scrollBarWidth) const;
    std::pair<Rect, Rect> SecondLineSideBounds(int row) const;

    // Largest useful top row (left column): the first cell from which all remaining cells fit.
    int MaxTopRow() const;
    int MaxLeftCol() const;
    // The vertical scroll bar: range 0..127 when rows can scroll, else none.
    bool VertScrollActive() const { return MaxTopRow() > rows_.Fixed(); }
    int VertScrollPos() const;
    // The top-left that shows pos with the least scrolling, or nullopt when pos is already visible.
    std::optional<CellCoord> ScrollIntoViewTarget(int col, int row) const;
    // The new first scrollable cell of one axis for a scroll-bar code.
    int ScrollTarget(bool vertical, TScrollCode code, int position) const;

    // Pixels of the cells the top-left passes when it moves between two first cells (0 when equal).
    int DistanceBetween(bool vertical, int fromFirst, int toFirst) const;

    int VisibleColCount() const;
    int VisibleRowCount() const;

  private:
    TAxisMetrics Axis(bool vertical) const;
    int LinePos(const TAxisMetrics& m, bool vertical, int i) const;
    bool AxisRange(const TAxisMetrics& m, bool vertical, int lo, int hi, bool includeLine, int& start,
                   int& stop) const;
    int CellOnAxis(const TAxisMetrics& m, bool vertical, int coord) const;
    int MaxFirst(bool vertical) const;
    int FirstShowingAsLast(bool vertical, int pos) const;

    AxisSizes cols_{5, 1, 64};
    AxisSizes rows_{5, 1, 24};
};

// The column fit: widths that make the visible columns fill the client width. index is the column whose
// resize triggered the fit, after whether the columns after it (or before it) are adjusted.
struct FitInput {
    std::vector<int> Widths;
    int FixedCols = 1;
    int Index = -1;
    bool After = true;
    int ClientWidth = 0;
    bool ScrollBarActive = false;
    int ScrollBarWidth = 0;
    int LineWidth = 1;
};
inline constexpr int kMinFitWidth = 15;
std::vector<int> FitColumnWidths(const FitInput& in);

// Integer multiply-divide, rounded half away from zero; 0 when the divisor is 0.
int MulDiv(int64_t a, int64_t b, int64_t c);

// New index of a position when one cell moves from `from` to `to`.
int MovedIndex(int pos, int from, int to);

}  // namespace grid
