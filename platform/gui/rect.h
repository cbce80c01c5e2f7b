#pragma once
// A rectangle as the window system describes one: left and top inclusive, right and bottom exclusive,
// so that width = right - left. Arithmetic on layout rectangles reads like the rules it implements.
#include <QRect>

namespace gui {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static Rect FromSize(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Rect Inflated(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    Rect Intersected(const Rect& o) const;
    QRect ToQRect() const { return QRect(left, top, right - left, bottom - top); }
    static Rect FromQRect(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
    bool operator==(const Rect&) const = default;
};

inline Rect Rect::Intersected(const Rect& o) const {
    Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top, right < o.right ? right : o.right,
           bottom < o.bottom ? bottom : o.bottom};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

}  // namespace gui
