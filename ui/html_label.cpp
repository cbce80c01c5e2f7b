#include "ui/html_label.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/gui/align.h"
#include "platform/gui/shell.h"

namespace ui {

namespace {

constexpr int kUnbounded = 65535;
constexpr int kAutoSizeExtra = 6;

}  // namespace

TKTHTM::TKTHTM(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_NoSystemBackground);
}

void TKTHTM::SetAlign(int align) {
    align_ = align;
    if (parentWidget()) gui::AlignControls(parentWidget());
}

void TKTHTM::SetAutoSizing(bool on) {
    autoSizing_ = on;
    if (on) {
        if (align_ == gui::alLeft || align_ == gui::alRight) resize(6, height());
        if (align_ == gui::alTop || align_ == gui::alBottom) resize(width(), 6);
    }
    update();
}

void TKTHTM::SetAutoSizeType(int type) {
    autoSizeType_ = type;
    SetAutoSizing(autoSizing_);
}

void TKTHTM::SetBevelInner(int cut) {
    bevelInner_ = cut;
    update();
}
void TKTHTM::SetBevelOuter(int cut) {
    bevelOuter_ = cut;
    update();
}
void TKTHTM::SetBevelWidth(int w) {
    bevelWidth_ = w;
    update();
}
void TKTHTM::SetBorderWidth(int w) {
    borderWidth_ = w;
    update();
}
void TKTHTM::SetColor(gui::TColor c) {
    color_ = c;
    update();
}
void TKTHTM::SetFont(const gui::Font& font) {
    font_ = font;
    update();
}

void TKTHTM::SetHTMLText(const QStringList& lines) {
    lines_ = QStringList{ConvertLineBreaks(lines.join(QStringLiteral("\r\n")), false)};
    update();
}

void TKTHTM::SetPreparedText(const QString& text) {
    lines_ = QStringList{text};
    update();
}

gui::Rect TKTHTM::TextRect() const {
    gui::Rect r = gui::Rect::FromQRect(rect());
    int inset = borderWidth_;
    if (bevelOuter_ != gui::bvNone) inset += bevelWidth_;
    if (bevelInner_ != gui::bvNone) inset += bevelWidth_;
    if (bevelOuter_ != gui::bvNone || bevelInner_ != gui::bvNone) inset += bevelWidth_;
    return r.Inflated(-inset, -inset);
}

gui::Rect TKTHTM::LayoutRect() const {
    gui::Rect text = TextRect();
    const bool noneOrHorizontal = align_ == gui::alNone || align_ == gui::alLeft || align_ == gui::alRight;
    const bool noneOrVertical = align_ == gui::alNone || align_ == gui::alTop || align_ == gui::alBottom;
    // An auto-sizing label lays its text out without a limit in the direction it grows.
    if (autoSizing_ && noneOrHorizontal && autoSizeType_ != asVertical) text.right += kUnbounded;
    if (autoSizing_ && noneOrVertical && autoSizeType_ != asHorizontal) text.bottom += kUnbounded;
    return text;
}

void TKTHTM::PaintBevel(gui::Canvas& canvas, gui::Rect& r, int cut) {
    if (cut == gui::bvNone) return;
    gui::TColor light = gui::clBtnHighlight;
    gui::TColor dark = gui::clBtnShadow;
    if (cut == gui::bvLowered) std::swap(light, dark);
    canvas.Frame3D(r, light, dark, bevelWidth_);
}

void TKTHTM::PaintTo(QPainter& painter, QPoint mouse) {
    gui::Canvas canvas(painter);
    gui::Rect r = gui::Rect::FromQRect(rect());
    if (color_ != gui::clNone) canvas.FillRect(r, color_);
    PaintBevel(canvas, r, bevelOuter_);
    gui::TColor frame = color_ == gui::clNone ? gui::clBtnFace : color_;
    if (borderWidth_ > 0) canvas.Frame3D(r, frame, frame, borderWidth_);
    PaintBevel(canvas, r, bevelInner_);
    canvas.SetBrushColor(color_);
    canvas.SetFont(font_);
    const gui::Rect text = LayoutRect();
    HtmlDrawParams params;
    params.hitX = mouse.x();
    params.hitY = mouse.y();
    params.shadowOffset = kShadowOffset;
    params.shadowColor = kShadowColor;
    params.anchorColor = kAnchorColor;
    ApplyAutoSize(HtmlDraw(canvas, RenderingText(), text, params));
}

void TKTHTM::ApplyAutoSize(const HtmlDrawResult& result) {
    if (!autoSizing_) return;
    const bool noneOrHorizontal = align_ == gui::alNone || align_ == gui::alLeft || align_ == gui::alRight;
    const bool noneOrVertical = align_ == gui::alNone || align_ == gui::alTop || align_ == gui::alBottom;
    QSize size = this->size();
    if (noneOrVertical && autoSizeType_ != asHorizontal) size.setHeight(result.textHeight + kAutoSizeExtra);
    if (noneOrHorizontal && autoSizeType_ != asVertical) size.setWidth(result.textWidth + kAutoSizeExtra);
    if (size != this->size()) {
        resize(size);
        if (align_ != gui::alNone && parentWidget()) gui::AlignControls(parentWidget());
    }
}

void TKTHTM::RenderOnce() {
    QImage scratch(std::max(1, width()), std::max(1, height()), QImage::Format_RGB32);
    QPainter p(&scratch);
    PaintTo(p, QPoint(-1, -1));
}

void TKTHTM::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QPoint mouse = underMouse() ? mapFromGlobal(gui::PointerPosition()) : QPoint(-1, -1);
    PaintTo(p, mouse);
}

QString TKTHTM::AnchorAt(QPoint p) {
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter painter(&scratch);
    gui::Canvas canvas(painter);
    canvas.SetFont(font_);
    canvas.SetBrushColor(color_);
    HtmlDrawParams params;
    params.hitX = p.x();
    params.hitY = p.y();
    params.noDraw = true;
    params.anchorColor = kAnchorColor;
    HtmlDrawResult result = HtmlDraw(canvas, RenderingText(), LayoutRect(), params);
    anchorUnderMouse_ = result.mouseAnchor;
    if (result.overAnchor) return result.anchorHref;
    anchorUnderMouse_ = -1;
    return {};
}

void TKTHTM::mouseMoveEvent(QMouseEvent* e) {
    QString href = AnchorAt(e->position().toPoint());
    if (!href.isEmpty() || anchorUnderMouse_ != -1) {
        if (!handCursor_ || href != lastHref_ || anchorUnderMouse_ != lastAnchor_) {
            setCursor(Qt::PointingHandCursor);
            handCursor_ = true;
        }
        lastHref_ = href;
        lastAnchor_ = anchorUnderMouse_;
    } else if (handCursor_) {
        unsetCursor();
        handCursor_ = false;
    }
    QWidget::mouseMoveEvent(e);
}

void TKTHTM::mousePressEvent(QMouseEvent* e) {
    QWidget::mousePressEvent(e);
    QString target = AnchorAt(e->position().toPoint());
    if (!target.contains(QStringLiteral("://")) && !target.contains(QStringLiteral("mailto:"))) return;
    qsizetype file = target.indexOf(QStringLiteral("file://"), 0, Qt::CaseInsensitive);
    if (file >= 0) target.remove(file, 7);
    if (gui::ShellOpen(target) != gui::ShellOpenResult::Ok) {
        gui::Beep();
        return;
    }
    if (OnLinkOpened) OnLinkOpened(nullptr);
}

void TKTHTM::leaveEvent(QEvent* e) {
    anchorUnderMouse_ = -1;
    QWidget::leaveEvent(e);
}

}  // namespace ui
