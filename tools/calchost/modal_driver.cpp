#include "tools/calchost/modal_driver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QVariant>
#include <QWidget>

namespace host {

namespace {
constexpr int kTickMs = 25;
}

ModalDriver::ModalDriver(Handler handler, int settleMs) : handler_(std::move(handler)), settleMs_(settleMs) {
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::Poll);
    timer_.start(kTickMs);
}

void ModalDriver::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != current_) {
        current_ = modal;
        activeMs_ = 0;
        nextActionMs_ = settleMs_;
        return;
    }
    if (modal == nullptr || !modal->isVisible()) return;
    activeMs_ += kTickMs;
    if (activeMs_ >= nextActionMs_) {
        nextActionMs_ = activeMs_ + 1000;
        handler_(modal);
    }
}

void ModalDriver::PressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers));
}

bool ModalDriver::IsMessage(const QWidget* window) {
    return qobject_cast<const QMessageBox*>(window) != nullptr || window->property("MessageText").isValid();
}

QString ModalDriver::MessageText(const QWidget* window) {
    if (auto* box = qobject_cast<const QMessageBox*>(window)) return box->text();
    return window->property("MessageText").toString();
}

}  // namespace host
