#include "platform/gui/panel.h"

#include <QPainter>

#include "platform/gui/align.h"
#include "platform/gui/canvas.h"

namespace gui {

Panel::Panel(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(false);
}

void Panel::SetAlign(int align) {
    align_ = align;
    if (parentWidget()) AlignControls(parentWidget());
}

void Panel::Realign() {
    AlignControls(this);
}

void Panel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Realign();
}

void Panel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    Canvas canvas(p);
    Rect r = Rect::FromQRect(rect());
    canvas.FillRect(r, color_);
    auto bevel = [&](int cut) {
        if (cut == bvNone) return;
        if (cut == bvSpace) {
            r = r.Inflated(-1, -1);
            return;
        }
        bool raised = cut == bvRaised;
        canvas.Frame3D(r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, 1);
    };
    bevel(bevelOuter_);
    bevel(bevelInner_);
}

}  // namespace gui
