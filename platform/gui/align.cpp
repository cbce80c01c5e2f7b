#include "platform/gui/align.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "platform/gui/rect.h"

namespace gui {

namespace {

int AlignOf(const QWidget* w) {
    QVariant v = w->property("Align");
    return v.isValid() ? v.toInt() : alNone;
}

std::vector<QWidget*> ChildrenAligned(QWidget* parent, int align) {
    std::vector<QWidget*> out;
    for (QObject* o : parent->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (w && !w->isWindow() && !w->isHidden() && AlignOf(w) == align) out.push_back(w);
    }
    auto key = [align](const QWidget* w) {
        switch (align) {
            case alBottom:
                return -(w->y() + w->height());
            case alRight:
                return -(w->x() + w->width());
            case alLeft:
                return w->x();
            default:
                return w->y();
        }
    };
    std::stable_sort(out.begin(), out.end(), [&](QWidget* a, QWidget* b) { return key(a) < key(b); });
    return out;
}

}  // namespace

void AlignControls(QWidget* parent) {
    if (!parent) return;
    Rect space = Rect::FromQRect(parent->contentsRect());
    for (QWidget* w : ChildrenAligned(parent, alTop)) {
        w->setGeometry(space.left, space.top, space.Width(), w->height());
        space.top += w->height();
    }
    for (QWidget* w : ChildrenAligned(parent, alBottom)) {
        w->setGeometry(space.left, space.bottom - w->height(), space.Width(), w->height());
        space.bottom -= w->height();
    }
    for (QWidget* w : ChildrenAligned(parent, alLeft)) {
        w->setGeometry(space.left, space.top, w->width(), std::max(0, space.Height()));
        space.left += w->width();
    }
    for (QWidget* w : ChildrenAligned(parent, alRight)) {
        w->setGeometry(space.right - w->width(), space.top, w->width(), std::max(0, space.Height()));
        space.right -= w->width();
    }
    for (QWidget* w : ChildrenAligned(parent, alClient))
        w->setGeometry(space.left, space.top, std::max(0, space.Width()), std::max(0, space.Height()));
}

}  // namespace gui
