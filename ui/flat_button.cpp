#include "ui/flat_button.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QTimer>

#include "platform/gui/keys.h"
#include "platform/gui/registry.h"
#include "platform/gui/shell.h"

namespace ui {

// One hover timer for all buttons: created with the first button, destroyed with the last. It corrects
// the hover of the tracked button when the pointer left it without a move event reaching it.
class HoverTracker {
  public:
    static HoverTracker& Get() {
        static HoverTracker tracker;
        return tracker;
    }
    void AddButton() {
        if (count_++ == 0) {
            timer_ = new QTimer();
            timer_->setInterval(100);
            QObject::connect(timer_, &QTimer::timeout, [this] { Tick(); });
        }
    }
    void RemoveButton(TFlatButton* b) {
        if (tracked_ == b) tracked_ = nullptr;
        if (--count_ == 0) {
            delete timer_;
            timer_ = nullptr;
        }
    }
    TFlatButton* Tracked() const { return tracked_; }
    void Track(TFlatButton* b) {
        timer_->stop();
        tracked_ = b;
        timer_->start();
    }
    void Untrack(TFlatButton* b) {
        if (tracked_ != b) return;
        if (timer_) timer_->stop();
        tracked_ = nullptr;
    }

  private:
    void Tick() {
        if (!tracked_) return;
        QWidget* under = QApplication::widgetAt(gui::PointerPosition());
        if (under != tracked_) tracked_->LoseHover();
    }
    int count_ = 0;
    QTimer* timer_ = nullptr;
    QPointer<TFlatButton> tracked_;
};

TFlatButton* HoverTrackedButton() {
    return HoverTracker::Get().Tracked();
}

TFlatButton::TFlatButton(QWidget* parent) : QAbstractButton(parent) {
    HoverTracker::Get().AddButton();
    resize(25, 25);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetTabStop(false);
    connect(this, &QAbstractButton::clicked, this, [this] { Click(); });
}

TFlatButton::~TFlatButton() {
    HoverTracker::Get().RemoveButton(this);
}

void TFlatButton::Click() {
    if (!isEnabled() || !isVisible()) return;
    if (OnBeforeClick) {
        bool clicked = true;
        OnBeforeClick(this, clicked);
        if (!clicked) return;
    }
    if (parentWidget() && window() != this) gui::SetPublishedProperty(window(), "ModalResult", modalResult_);
    if (OnClick) OnClick(this);
    if (popupMenu_) popupMenu_->popup(mapToGlobal(QPoint(0, height())));
}

FlatButtonLook TFlatButton::Look() const {
    FlatButtonLook look = look_;
    bool transparent =
        look.transparentMode == tmAlways || (look.transparentMode == tmNotFocused && !hovered_);
    if (transparent && parentWidget()) {
        QImage background(size(), QImage::Format_RGB32);
        background.fill(Qt::white);
        parentWidget()->render(&background, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
        look.parentBackground = background;
    }
    return look;
}

void TFlatButton::paintEvent(QPaintEvent*) {
    if (isEnabled()) {
        if (state_ == ButtonState::Disabled)
            state_ = (down_ && groupIndex_ != 0) ? ButtonState::Exclusive : ButtonState::Up;
    } else {
        state_ = ButtonState::Disabled;
        mousePressed_ = false;
    }
    QImage buffer(size(), QImage::Format_RGB32);
    buffer.fill(Qt::white);
    {
        QPainter p(&buffer);
        gui::Canvas canvas(p);
        PaintFlatButton(canvas, gui::Rect::FromQRect(rect()), Look(), PaintState());
    }
    QPainter p(this);
    p.drawImage(0, 0, buffer);
}

bool TFlatButton::Inside(const QPoint& p) const {
    // The last row and column belong to the neighbour: a release one pixel below does not click.
    return p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() < height();
}

void TFlatButton::StartHover() {
    HoverTracker& tracker = HoverTracker::Get();
    if (TFlatButton* previous = tracker.Tracked(); previous && previous != this) previous->LoseHover();
    if (!QApplication::activeWindow()) return;
    tracker.Track(this);
    if (isEnabled() && !hovered_) {
        hovered_ = true;
        update();
        if (OnMouseEnter) OnMouseEnter(this);
    }
}

void TFlatButton::LoseHover() {
    if (!isEnabled() || !hovered_ || mousePressed_) return;
    if (!hasFocus()) hovered_ = false;
    HoverTracker::Get().Untrack(this);
    update();
    if (OnMouseLeave) OnMouseLeave(this);
}

void TFlatButton::SetHoverFromPointer() {
    bool over = isVisible() && rect().contains(mapFromGlobal(gui::PointerPosition()));
    if (over != hovered_) {
        hovered_ = over;
        update();
    }
}

void TFlatButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !isEnabled()) {
        e->ignore();
        return;
    }
    if (!down_) {
        state_ = ButtonState::Pressed;
        update();
    }
    mousePressed_ = true;
    if (TakesFocusOnClick()) setFocus(Qt::MouseFocusReason);
}

void TFlatButton::mouseMoveEvent(QMouseEvent* e) {
    QPoint p = e->position().toPoint();
    if (rect().contains(p) && HoverTrackedButton() != this) StartHover();
    if (mousePressed_) {
        ButtonState next =
            down_ ? ButtonState::Exclusive : (Inside(p) ? ButtonState::Pressed : ButtonState::Up);
        if (next != state_) {
            state_ = next;
            update();
        }
    }
}

void TFlatButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || !mousePressed_) return;
    mousePressed_ = false;
    const bool inside = Inside(e->position().toPoint());
    if (groupIndex_ == 0) {
        state_ = ButtonState::Up;
        hovered_ = false;
        if (inside) update();
    } else if (inside) {
        SetDown(!down_);
    } else {
        state_ = down_ ? ButtonState::Exclusive : ButtonState::Up;
        update();
    }
    if (inside)
        Click();
    else
        LoseHover();
    SetHoverFromPointer();
}

void TFlatButton::mouseDoubleClickEvent(QMouseEvent* e) {
    if (down_ && OnDblClick) OnDblClick(this);
    mousePressEvent(e);
}

void TFlatButton::enterEvent(QEnterEvent* e) {
    QAbstractButton::enterEvent(e);
    if (HoverTrackedButton() != this) StartHover();
}

void TFlatButton::leaveEvent(QEvent* e) {
    QAbstractButton::leaveEvent(e);
    LoseHover();
}

bool TFlatButton::PreviewKey(QKeyEvent* e) {
    gui::KeyInfo k = gui::TranslateKey(*e);
    if (k.key == gui::VK_LEFT || k.key == gui::VK_RIGHT) {
        if (OnLeftRightKeyPressed) OnLeftRightKeyPressed(this, k.key == gui::VK_RIGHT);
        return true;
    }
    if (k.key == gui::VK_UP || k.key == gui::VK_DOWN) {
        auto& handler = k.key == gui::VK_UP ? OnUp : OnDown;
        if (!handler) return false;
        bool accept = true;
        handler(this, accept);
        return !accept;
    }
    if (k.key >= 48 && k.key <= 90 && OnAlpha) OnAlpha(this, k.key);
    return false;
}

bool TFlatButton::event(QEvent* e) {
    switch (e->type()) {
        case QEvent::KeyPress:
            if (PreviewKey(static_cast<QKeyEvent*>(e))) {
                e->accept();
                return true;
            }
            break;
        case QEvent::Shortcut:
            // The caption's accelerator (Alt + the letter after "&").
            if (focusPolicy() != Qt::NoFocus && isEnabled() && isVisible()) {
                if (groupIndex_ != 0) SetDown(true);
                Click();
            }
            return true;
        default:
            break;
    }
    return QAbstractButton::event(e);
}

void TFlatButton::keyPressEvent(QKeyEvent* e) {
    gui::KeyInfo k = gui::TranslateKey(*e);
    switch (k.key) {
        case gui::VK_SPACE:
            if (!e->isAutoRepeat()) {
                if (groupIndex_ != 0)
                    SetDown(!down_);
                else
                    state_ = ButtonState::Pressed;
                update();
            }
            e->accept();
            return;
        case gui::VK_RETURN:
            SelectNext(!(k.shift & gui::ssShift), k.key);
            e->accept();
            return;
        case gui::VK_ESCAPE:
            e->ignore();
            return;
        case gui::VK_BACK:
            SelectNext(false, k.key);
            break;
        default:
            break;
    }
    if (OnSelectNext) {
        QWidget* source = nullptr;
        QWidget* dest = nullptr;
        bool accept = true;
        OnSelectNext(source, dest, k.key, accept);
        if (accept && dest && dest->focusPolicy() != Qt::NoFocus) dest->setFocus(Qt::OtherFocusReason);
    }
    e->ignore();
}

void TFlatButton::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
        if (groupIndex_ == 0) state_ = ButtonState::Up;
        Click();
        update();
        e->accept();
        return;
    }
    e->ignore();
}

void TFlatButton::SelectNext(bool forward, int charCode) {
    QWidget* owner = window();
    if (!owner || owner == this) return;
    std::vector<QWidget*> order;
    for (QWidget* w = owner->nextInFocusChain(); w && w != owner; w = w->nextInFocusChain()) {
        if (owner->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible())
            order.push_back(w);
    }
    if (order.empty()) return;
    const int n = static_cast<int>(order.size());
    auto it = std::find(order.begin(), order.end(), this);
    const int start = it != order.end() ? static_cast<int>(it - order.begin()) : (forward ? n - 1 : 0);
    // Wrapping around, the button itself is the destination when it is the only tab stop.
    QWidget* dest = order[((start + (forward ? 1 : -1)) % n + n) % n];
    if (!dest) return;
    QWidget* source = this;
    bool accept = true;
    if (OnSelectNext) OnSelectNext(source, dest, charCode, accept);
    if (accept && dest) dest->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void TFlatButton::focusInEvent(QFocusEvent* e) {
    QAbstractButton::focusInEvent(e);
    if (isEnabled()) {
        focused_ = true;
        hovered_ = true;
        update();
    }
}

void TFlatButton::focusOutEvent(QFocusEvent* e) {
    QAbstractButton::focusOutEvent(e);
    focused_ = false;
    LoseHover();
}

void TFlatButton::changeEvent(QEvent* e) {
    QAbstractButton::changeEvent(e);
    if (e->type() == QEvent::EnabledChange && !isEnabled()) {
        hovered_ = false;
        state_ = ButtonState::Disabled;
        HoverTracker::Get().Untrack(this);
        SetHoverFromPointer();
        update();
    } else if (e->type() == QEvent::PaletteChange && useAdvColors_) {
        RecalcAdvColors();
    }
}

void TFlatButton::resizeEvent(QResizeEvent* e) {
    QAbstractButton::resizeEvent(e);
    UpdateRegion();
    if (look_.transparentMode != tmNone) update();
}

void TFlatButton::moveEvent(QMoveEvent* e) {
    QAbstractButton::moveEvent(e);
    if (look_.transparentMode != tmNone) update();
}

void TFlatButton::UpdateRegion() {
    if (look_.round <= 0) {
        clearMask();
        return;
    }
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, width(), height()), look_.round / 2.0, look_.round / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
}

void TFlatButton::RecalcAdvColors() {
    DerivedColors now = DeriveColors(look_.color, advFocused_, advDown_, advBorder_,
                                     {look_.colorFocused, look_.colorDown, look_.colorBorder});
    look_.colorFocused = now.focused;
    look_.colorDown = now.down;
    look_.colorBorder = now.border;
    update();
}

void TFlatButton::SetCaption(const QString& caption) {
    look_.caption = caption;
    setText(caption);  // registers the accelerator
    update();
}

void TFlatButton::SetGlyph(const QImage& strip) {
    look_.glyph = strip;
    look_.numGlyphs = NumGlyphsForStrip(strip.size(), look_.numGlyphs);
    update();
}

void TFlatButton::SetNumGlyphs(int n) {
    look_.numGlyphs = std::clamp(n, 1, 4);
    update();
}

void TFlatButton::SetLayout(int layout) {
    look_.layout = static_cast<TButtonLayout>(std::clamp(layout, 0, 3));
    update();
}

void TFlatButton::SetMargin(int margin) {
    look_.margin = std::max(-1, margin);
    update();
}

void TFlatButton::SetSpacing(int spacing) {
    look_.spacing = spacing;
    update();
}

void TFlatButton::SetColor(gui::TColor c) {
    look_.color = c;
    if (useAdvColors_) RecalcAdvColors();
    update();
}

void TFlatButton::SetColorFocused(gui::TColor c) {
    look_.colorFocused = c;
    update();
}
void TFlatButton::SetColorDown(gui::TColor c) {
    look_.colorDown = c;
    update();
}
void TFlatButton::SetColorBorder(gui::TColor c) {
    look_.colorBorder = c;
    update();
}
void TFlatButton::SetColorHighLight(gui::TColor c) {
    look_.colorHighLight = c;
    update();
}
void TFlatButton::SetColorShadow(gui::TColor c) {
    look_.colorShadow = c;
    update();
}

void TFlatButton::SetUseAdvColors(bool on) {
    useAdvColors_ = on;
    parentColor_ = on;
    if (on) RecalcAdvColors();
}

void TFlatButton::SetAdvColorFocused(int step) {
    advFocused_ = std::clamp(step, 0, 100);
    if (useAdvColors_) RecalcAdvColors();
}
void TFlatButton::SetAdvColorDown(int step) {
    advDown_ = std::clamp(step, 0, 100);
    if (useAdvColors_) RecalcAdvColors();
}
void TFlatButton::SetAdvColorBorder(int step) {
    advBorder_ = std::clamp(step, 0, 100);
    if (useAdvColors_) RecalcAdvColors();
}

void TFlatButton::SetTransparentMode(int mode) {
    look_.transparentMode = static_cast<TTransparentMode>(std::clamp(mode, 0, 2));
    update();
}

void TFlatButton::SetGroupIndex(int index) {
    groupIndex_ = index;
    if (index == 0 && down_) {
        down_ = false;
        state_ = ButtonState::Up;
    }
    update();
}

void TFlatButton::SetDown(bool value) {
    if (groupIndex_ == 0) value = false;
    if (value == down_ || (down_ && !allowAllUp_)) return;
    down_ = value;
    if (value) {
        ButtonState old = state_;
        state_ = ButtonState::Exclusive;
        if (old == ButtonState::Up) update();
        if (!parentWidget()) return;
        for (TFlatButton* other : parentWidget()->findChildren<TFlatButton*>(Qt::FindDirectChildrenOnly)) {
            if (other == this || other->groupIndex_ != groupIndex_ || !other->down_) continue;
            other->down_ = false;
            other->state_ = ButtonState::Up;
            other->allowAllUp_ = allowAllUp_;
            other->update();
        }
    } else {
        state_ = ButtonState::Up;
        update();
    }
}

void TFlatButton::SetDefault(bool on) {
    look_.isDefault = on;
    update();
}

void TFlatButton::SetVKKey(const QString& key) {
    look_.vkKey = key;
    update();
}

void TFlatButton::SetRound(int diameter) {
    look_.round = std::max(0, diameter);
    UpdateRegion();
    update();
}

void TFlatButton::SetTabStop(bool on) {
    tabStop_ = on;
    if (TakesFocusOnClick())
        setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
    else
        setFocusPolicy(Qt::NoFocus);
}

void TFlatButton::SetFont(const gui::Font& font) {
    look_.font = font;
    update();
}

}  // namespace ui
