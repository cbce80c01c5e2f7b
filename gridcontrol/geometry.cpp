#include "gridcontrol/geometry.h"

#include <algorithm>

#include "gridcontrol/grid_errors.h"

namespace grid {

// ---- AxisSizes -------------------------------------------------------------------------------------

int AxisSizes::Get(int i) const {
    if (list_ && i >= 0 && i < static_cast<int>(list_->size())) return (*list_)[i];
    return default_;
}

void AxisSizes::EnsureList() {
    if (!list_) list_.emplace(static_cast<size_t>(count_), default_);
}

void AxisSizes::Set(int i, int size) {
    if (i < 0 || i >= count_) RaiseGridError(kIndexOutOfRange);
    EnsureList();
    (*list_)[i] = size;
}

void AxisSizes::SetCount(int count) {
    if (count < 0) RaiseGridError(kTooManyDeleted);
    if (count > kMaxListSize) RaiseGridError(kGridTooLarge);
    count_ = count;
    if (list_) list_->resize(static_cast<size_t>(count), default_);
}

void AxisSizes::SetDefault(int size) {
    default_ = size;
    list_.reset();
}

void AxisSizes::Move(int from, int to) {
    if (!list_ || from == to) return;
    if (from < 0 || to < 0 || from >= count_ || to >= count_) RaiseGridError(kIndexOutOfRange);
    auto& v = *list_;
    if (from < to)
        std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else
        std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

// ---- Geometry --------------------------------------------------------------------------------------

int Geometry::HorzLineWidth() const {
    return Options.Contains(goFixedVertLine) || Options.Contains(goVertLine) ? GridLineWidth : 0;
}

int Geometry::VertLineWidth() const {
    return Options.Contains(goFixedHorzLine) || Options.Contains(goHorzLine) ? GridLineWidth : 0;
}

TAxisMetrics Geometry::Axis(bool vertical) const {
    const AxisSizes& s = vertical ? rows_ : cols_;
    TAxisMetrics m;
    m.LineWidth = vertical ? VertLineWidth() : HorzLineWidth();
    m.Extent = vertical ? ClientHeight : ClientWidth;
    m.FixedCount = s.Fixed();
    m.CellCount = s.Count();
    m.FirstScrollable = vertical ? TopLeft.Row : TopLeft.Col;
    for (int i = 0; i < m.FixedCount; ++i) m.FixedEnd += s.Advance(i, m.LineWidth);
    m.LastFullVisible = m.FirstScrollable;
    m.GridEnd = m.FullVisibleEnd = m.FixedEnd;
    for (int i = m.FirstScrollable; i < m.CellCount; ++i) {
        m.GridEnd += s.Advance(i, m.LineWidth);
        if (m.GridEnd > m.Extent + m.LineWidth) {
            m.GridEnd = m.Extent;
            break;
        }
        m.LastFullVisible = i;
        m.FullVisibleEnd = m.GridEnd;
    }
    return m;
}

TGridMetrics Geometry::ComputeMetrics() const {
    return {Axis(false), Axis(true)};
}

// Pixel start of cell i: fixed cells from 0, scrollable ones from the end of the fixed cells. A cell in
// the scrolled-away part starts where the first visible scrollable cell does.
int Geometry::LinePos(const TAxisMetrics& m, bool vertical, int i) const {
    const AxisSizes& s = vertical ? rows_ : cols_;
    int pos = 0;
    if (i < m.FixedCount) {
        for (int k = 0; k < i; ++k) pos += s.Advance(k, m.LineWidth);
        return pos;
    }
    pos = m.FixedEnd;
    for (int k = m.FirstScrollable; k < i; ++k) pos += s.Advance(k, m.LineWidth);
    return pos;
}

bool Geometry::AxisRange(const TAxisMetrics& m, bool vertical, int lo, int hi, bool includeLine, int& start,
                         int& stop) const {
    const AxisSizes& s = vertical ? rows_ : cols_;
    if (lo < 0 || lo >= m.CellCount) return false;
    if (lo >= m.FixedCount && lo < m.FirstScrollable) {
        if (hi < m.FirstScrollable) return false;
        lo = m.FirstScrollable;
    }
    if (hi >= m.FixedCount && hi < m.FirstScrollable) hi = m.FixedCount - 1;
    hi = std::min({hi, m.LastFullVisible + 1, m.CellCount - 1});
    if (hi < lo) return false;
    start = LinePos(m, vertical, lo);
    stop = LinePos(m, vertical, hi) + std::max(s.Get(hi), 0);
    if (includeLine) stop += m.LineWidth;
    stop = std::min(stop, m.Extent);
    return start < stop;
}

Rect Geometry::RangeBounds(int left, int top, int right, int bottom, bool includeLine) const {
    if (right < left || bottom < top) return {};
    TGridMetrics m = ComputeMetrics();
    if (left > m.Horz.LastFullVisible + 1 || top > m.Vert.LastFullVisible + 1) return {};
    Rect r;
    if (!AxisRange(m.Horz, false, left, right, includeLine, r.Left, r.Right)) return {};
    if (!AxisRange(m.Vert, true, top, bottom, includeLine, r.Top, r.Bottom)) return {};
    if (RightToLeft) {
        int l = m.Horz.Extent - r.Right;
        r.Right = m.Horz.Extent - r.Left;
        r.Left = l;
    }
    return r;
}

int Geometry::CellOnAxis(const TAxisMetrics& m, bool vertical, int coord) const {
    if (coord < 0) return -1;
    const AxisSizes& s = vertical ? rows_ : cols_;
    int first = 0, end = m.FixedCount, pos = 0;
    if (coord >= m.FixedEnd) {
        first = m.FirstScrollable;
        end = m.CellCount;
        pos = m.FixedEnd;
    }
    for (int i = first; i < end; ++i) {
        pos += s.Advance(i, m.LineWidth);
        if (pos > coord) return i;
    }
    return -1;
}

CellCoord Geometry::CellAtPoint(int x, int y) const {
    TGridMetrics m = ComputeMetrics();
    if (RightToLeft) x = m.Horz.Extent - x - 1;
    CellCoord c{CellOnAxis(m.Horz, false, x), CellOnAxis(m.Vert, true, y)};
    if (c.Col < 0 || c.Row < 0) return {};
    return c;
}

Rect Geometry::SecondLineBounds(int row, bool forEditor, int scrollBarWidth) const {
    Rect a = CellBounds(LeftStartSecond, row);
    Rect b = CellBounds(RightEndSecond, row);
    if (a.IsEmpty()) return {};
    return {a.Left - 1, a.Top + rows_.Default() + 1, b.Right + 1 + (forEditor ? scrollBarWidth : 0),
            a.Bottom};
}

std::pair<Rect, Rect> Geometry::SecondLineSideBounds(int row) const {
    Rect a = CellBounds(LeftStartSecond, row);
    Rect b = CellBounds(RightEndSecond, row);
    Rect first = CellBounds(1, row);
    Rect last = CellBounds(cols_.Count() - 1, row);
    int top = a.Top + rows_.Default();
    Rect left{first.Left, top, a.Right, a.Bottom};
    Rect right{b.Right, top, last.Right, a.Bottom};
    return {left, right};
}

int Geometry::MaxFirst(bool vertical) const {
    const AxisSizes& s = vertical ? rows_ : cols_;
    TAxisMetrics m = Axis(vertical);
    int room = m.Extent - m.FixedEnd + m.LineWidth;
    int i = s.Count() - 1;
    int used = s.Advance(i, m.LineWidth);
    while (i - 1 >= s.Fixed() && used + s.Advance(i - 1, m.LineWidth) <= room) {
        used += s.Advance(i - 1, m.LineWidth);
        --i;
    }
    return std::max(i, s.Fixed());
}

int Geometry::MaxTopRow() const {
    return MaxFirst(true);
}
int Geometry::MaxLeftCol() const {
    return MaxFirst(false);
}

int Geometry::VertScrollPos() const {
    int fixed = rows_.Fixed();
    int span = MaxTopRow() - fixed;
    if (span <= 0) return 0;
    return std::clamp(MulDiv(TopLeft.Row - fixed, 127, span), 0, 127);
}

// The first cell from which pos is the last fully visible one; zero-size cells are not made first.
int Geometry::FirstShowingAsLast(bool vertical, int pos) const {
    const AxisSizes& s = vertical ? rows_ : cols_;
    TAxisMetrics m = Axis(vertical);
    int room = m.Extent - m.FixedEnd + m.LineWidth;
    int i = pos;
    int used = s.Advance(pos, m.LineWidth);
    while (i - 1 >= s.Fixed() && used + s.Advance(i - 1, m.LineWidth) <= room) {
        used += s.Advance(i - 1, m.LineWidth);
        --i;
    }
    while (i < pos && s.Get(i) <= 0) ++i;
    return i;
}

std::optional<CellCoord> Geometry::ScrollIntoViewTarget(int col, int row) const {
    TGridMetrics m = ComputeMetrics();
    auto axis = [&](const TAxisMetrics& a, bool vertical, int pos) {
        if (pos < a.FirstScrollable) return std::max(pos, a.FixedCount);
        if (pos > a.LastFullVisible) return FirstShowingAsLast(vertical, pos);
        return a.FirstScrollable;
    };
    CellCoord t{axis(m.Horz, false, col), axis(m.Vert, true, row)};
    if (t == TopLeft) return std::nullopt;
    return t;
}

int Geometry::ScrollTarget(bool vertical, TScrollCode code, int position) const {
    const AxisSizes& s = vertical ? rows_ : cols_;
    TAxisMetrics m = Axis(vertical);
    int old = m.FirstScrollable, fixed = s.Fixed(), max = MaxFirst(vertical);
    int page = std::max(1, m.LastFullVisible - m.FirstScrollable + (m.FullVisibleEnd > m.FixedEnd ? 1 : 0));
    int target = old;
    switch (code) {
        case TScrollCode::LineUp:
            target = old - 1;
            break;
        case TScrollCode::LineDown:
            target = old + 1;
            break;
        case TScrollCode::PageUp:
            target = old - page;
            break;
        case TScrollCode::PageDown:
            target = old + page;
            break;
        case TScrollCode::ThumbTrack:
            if (!Options.Contains(goThumbTracking)) return old;
            [[fallthrough]];
        case TScrollCode::ThumbPosition:
            target = fixed + MulDiv(position, max - fixed, 127);
            break;
        case TScrollCode::Top:
            target = fixed;
            break;
        case TScrollCode::Bottom:
            target = max;
            break;
        case TScrollCode::EndScroll:
            return old;
    }
    int step = target >= old ? 1 : -1;
    while (target >= fixed && target < s.Count() && target != old && s.Get(target) <= 0) target += step;
    return std::clamp(target, fixed, std::max(fixed, max));
}

int Geometry::DistanceBetween(bool vertical, int fromFirst, int toFirst) const {
    const AxisSizes& s = vertical ? rows_ : cols_;
    int lw = vertical ? VertLineWidth() : HorzLineWidth();
    int lo = std::min(fromFirst, toFirst), hi = std::max(fromFirst, toFirst), sum = 0;
    int limit = (vertical ? ClientHeight : ClientWidth) + 1;
    for (int i = lo; i < hi && sum <= limit; ++i) sum += s.Advance(i, lw);
    return sum;
}

int Geometry::VisibleColCount() const {
    TAxisMetrics m = Axis(false);
    return m.LastFullVisible - m.FirstScrollable + 1;
}

int Geometry::VisibleRowCount() const {
    TAxisMetrics m = Axis(true);
    return m.LastFullVisible - m.FirstScrollable + 1;
}

// ---- helpers ---------------------------------------------------------------------------------------

int MulDiv(int64_t a, int64_t b, int64_t c) {
    if (c == 0) return 0;
    int64_t n = a * b;
    bool negative = (n < 0) != (c < 0);
    int64_t an = n < 0 ? -n : n, ac = c < 0 ? -c : c;
    int64_t q = (an + ac / 2) / ac;
    return static_cast<int>(negative ? -q : q);
}

int MovedIndex(int pos, int from, int to) {
    if (pos == from) return to;
    if (from < to && pos > from && pos <= to) return pos - 1;
    if (to < from && pos >= to && pos < from) return pos + 1;
    return pos;
}

// ---- column fit ------------------------------------------------------------------------------------

namespace {

struct FitState {
    const FitInput& in;
    std::vector<int> work;
    std::vector<bool> adjustable;
    std::vector<bool> changed;

    int Advance(int w) const { return w < 0 ? 0 : w + in.LineWidth; }
    int Base() const { return in.ClientWidth - (in.ScrollBarActive ? 0 : in.ScrollBarWidth); }

    // Room left for the adjustable columns: the base less every other column and every line.
    int Target() const {
        int t = Base();
        for (size_t j = 0; j < work.size(); ++j) t -= adjustable[j] ? in.LineWidth : Advance(work[j]);
        return t;
    }
    int AdjustableSum() const {
        int s = 0;
        for (size_t j = 0; j < work.size(); ++j)
            if (adjustable[j]) s += work[j];
        return s;
    }

    // The non-adjustable columns alone are too wide: every adjustable column gets the minimum and the
    // triggering column what is left, never less than the minimum (the rest is cut off at the edge).
    void SqueezeIntoIndex() {
        int t = Base();
        for (size_t j = 0; j < work.size(); ++j) {
            if (static_cast<int>(j) == in.Index) {
                t -= in.LineWidth;
            } else if (adjustable[j]) {
                work[j] = kMinFitWidth;
                changed[j] = true;
                t -= kMinFitWidth + in.LineWidth;
            } else {
                t -= Advance(work[j]);
            }
        }
        work[in.Index] = std::max(t, kMinFitWidth);
        changed[in.Index] = true;
    }

    // One proportional pass; false when a column fell below the minimum and the pass must restart.
    bool ScalePass(int target, int sum) {
        int r = target, q = sum;
        for (size_t j = 0; j < work.size(); ++j) {
            if (!adjustable[j]) continue;
            int old = work[j];
            int w = MulDiv(old, r, q);
            if (w < kMinFitWidth) {
                work[j] = kMinFitWidth;
                adjustable[j] = false;
                changed[j] = true;
                return false;
            }
            work[j] = w;
            r -= w;
            q -= old;
        }
        return true;
    }
};

}  // namespace

std::vector<int> FitColumnWidths(const FitInput& in) {
    const int n = static_cast<int>(in.Widths.size());
    FitState st{in, in.Widths, std::vector<bool>(n), std::vector<bool>(n)};
    for (int j = 0; j < n; ++j)
        st.adjustable[j] = (in.After ? j > in.Index : j < in.Index) && j > in.FixedCols && in.Widths[j] != -1;
    bool indexUsable = in.Index >= 0 && in.Index < n && in.Widths[in.Index] >= 0;
    for (;;) {
        int t = st.Target();
        if (t < 0 && indexUsable) {
            st.SqueezeIntoIndex();
            return st.work;
        }
        int s = st.AdjustableSum();
        if (s == 0 || s == t) break;
        st.ScalePass(t, s);
    }
    // Whatever the adjustable columns could not take goes to the triggering column, which never becomes
    // hiding or negative from it.
    int rest = st.Target() - st.AdjustableSum();
    if (rest != 0 && indexUsable) {
        int old = st.work[in.Index];
        st.work[in.Index] = std::max(old + rest, std::min(old, kMinFitWidth));
    }
    return st.work;
}

}  // namespace grid
