#include "platform/gui/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>

#include "platform/gui/align.h"

namespace gui {

Form::Form(QWidget* parent) : QDialog(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    ApplyWindowFlags();
}

Form::~Form() {
    if (filterInstalled_ && qApp) qApp->removeEventFilter(this);
}

int Form::ShowModal() {
    modalResult_ = mrNone;
    exec();
    return modalResult_;
}

void Form::SetModalResult(int result) {
    modalResult_ = result;
    if (result != mrNone && isVisible()) done(result);
}

void Form::done(int result) {
    modalResult_ = result;
    QDialog::done(result);
}

void Form::reject() {
    done(mrCancel);
}
void Form::accept() {
    done(mrOk);
}

void Form::SetColor(TColor c) {
    color_ = c;
    update();
}

void Form::SetBorderStyle(int style) {
    borderStyle_ = style;
    ApplyWindowFlags();
}

void Form::SetStayOnTop(bool on) {
    stayOnTop_ = on;
    ApplyWindowFlags();
}

void Form::ApplyWindowFlags() {
    bool visible = isVisible();
    Qt::WindowFlags flags = Qt::Dialog;
    if (borderStyle_ == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin)
            flags |= Qt::WindowMinMaxButtonsHint;
        else
            flags |= Qt::MSWindowsFixedSizeDialogHint;
    }
    if (stayOnTop_) flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    if (visible) show();
}

void Form::Realign() {
    AlignControls(this);
}

void Form::showEvent(QShowEvent* event) {
    if (!filterInstalled_) {
        qApp->installEventFilter(this);
        filterInstalled_ = true;
    }
    QDialog::showEvent(event);
    FormShow();
}

void Form::hideEvent(QHideEvent* event) {
    if (filterInstalled_) {
        qApp->removeEventFilter(this);
        filterInstalled_ = false;
    }
    QDialog::hideEvent(event);
}

void Form::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Realign();
}

void Form::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), ToQColor(color_));
}

void Form::closeEvent(QCloseEvent* event) {
    // The close box cancels, like Escape.
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
    QDialog::closeEvent(event);
    if (event->isAccepted() && result() != modalResult_) setResult(modalResult_);
}

void Form::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        reject();
        return;
    }
    // Enter does not click a default push button here: the system's buttons handle it themselves.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && keyPreview_) {
        QWidget* focus = QApplication::focusWidget();
        QObject* first = focus ? static_cast<QObject*>(focus) : static_cast<QObject*>(this);
        auto* w = qobject_cast<QWidget*>(watched);
        // Key events travel from the focus widget up to its parents; preview each one once, at its start.
        if (watched == first && w && (w == this || isAncestorOf(w)))
            return PreviewKey(static_cast<QKeyEvent*>(event));
    }
    return QDialog::eventFilter(watched, event);
}

bool Form::PreviewKey(QKeyEvent* event) {
    KeyInfo key = TranslateKey(*event);
    if (key.key != 0) {
        FormKeyDown(key);
        if (key.key == 0) return true;
    }
    if (!key.ch.isNull() && key.ch.isPrint() && !(key.shift & (ssCtrl | ssAlt))) {
        QChar ch = key.ch;
        FormKeyPress(ch);
        if (ch.isNull()) return true;
    }
    return false;
}

}  // namespace gui
