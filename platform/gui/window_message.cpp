#include "platform/gui/window_message.h"

#include <QCoreApplication>

namespace gui {

WindowMessage::WindowMessage(int message, intptr_t wParam, intptr_t lParam)
    : QEvent(TypeOf(message)), message_(message), wParam_(wParam), lParam_(lParam) {}

int WindowMessage::NumberOf(const QEvent* event) {
    if (auto* m = dynamic_cast<const WindowMessage*>(event)) return m->Message();
    return -1;
}

void PostWindowMessage(QObject* target, int message, intptr_t wParam, intptr_t lParam) {
    QCoreApplication::postEvent(target, new WindowMessage(message, wParam, lParam));
}

}  // namespace gui
