#pragma once
// Helpers for widget tests: the application, keys and mouse clicks sent as the window system would,
// and images to look at.
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/gui/application.h"

namespace uitest {

inline void EnsureApp() {
    gui::EnsureApplication();
}

// Shows a top-level window and makes it the active one, so that focus and hover work offscreen.
inline void ShowActive(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    window->activateWindow();
    QApplication::processEvents();
}

// Presses and releases a key on the focused widget (or `target` when given), through the application
// so that event filters see it.
inline void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
                     QWidget* target = nullptr) {
    QWidget* w = target ? target : QApplication::focusWidget();
    if (!w) return;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(w, &release);
}

inline void Mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::LeftButton) {
    Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

inline QImage Grab(QWidget* w) {
    QImage image(w->size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    w->render(&image);
    return image;
}

// Bounding box of the pixels that differ between two images of the same size (null when none).
inline QRect DiffBox(const QImage& a, const QImage& b) {
    QRect box;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) box = box.united(QRect(x, y, 1, 1));
    return box;
}

// Bounding box of the pixels whose colour is not `background`.
inline QRect InkBox(const QImage& image, QRgb background, QRect within = {}) {
    QRect area = within.isNull() ? image.rect() : within;
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != background) box = box.united(QRect(x, y, 1, 1));
    return box;
}

}  // namespace uitest
