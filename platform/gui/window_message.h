#pragma once
// Private window messages as Qt events: the event type carries the message number (QEvent::User + number),
// the event carries the two message parameters.
#include <QEvent>
#include <cstdint>

class QObject;

namespace gui {

class WindowMessage : public QEvent {
  public:
    WindowMessage(int message, intptr_t wParam = 0, intptr_t lParam = 0);
    int Message() const { return message_; }
    intptr_t WParam() const { return wParam_; }
    intptr_t LParam() const { return lParam_; }

    static QEvent::Type TypeOf(int message) { return static_cast<QEvent::Type>(QEvent::User + message); }
    // The message number of an event, or -1 when it is no window message.
    static int NumberOf(const QEvent* event);

  private:
    int message_;
    intptr_t wParam_;
    intptr_t lParam_;
};

// Queue the message for `target`; it is handled from the event loop, after what is already queued.
void PostWindowMessage(QObject* target, int message, intptr_t wParam = 0, intptr_t lParam = 0);

}  // namespace gui
