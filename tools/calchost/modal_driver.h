#pragma once
// Drives modal windows from outside the module, as a user at the keyboard would: it watches which window
// is modal and hands each new one to a handler, which typically presses a key on it.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

namespace host {

class ModalDriver : public QObject {
    Q_OBJECT
  public:
    // The handler is called once for each modal window after it has been active for `settleMs`
    // (so that its own start-up has run), and again every second while it stays.
    using Handler = std::function<void(QWidget* modal)>;
    explicit ModalDriver(Handler handler, int settleMs = 150);

    // Queues a press and release of `key` for the window's focused control (or the window itself).
    static void PressKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A message window: a QMessageBox, or any window with a "MessageText" property.
    static bool IsMessage(const QWidget* window);
    static QString MessageText(const QWidget* window);

  private:
    void Poll();
    Handler handler_;
    int settleMs_;
    QTimer timer_;
    QPointer<QWidget> current_;
    int activeMs_ = 0;
    int nextActionMs_ = 0;
};

}  // namespace host
