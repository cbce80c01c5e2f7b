#include "platform/gui/monitors.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace gui {

namespace {

std::unique_ptr<Desktop>& Installed() {
    static std::unique_ptr<Desktop> desktop;
    return desktop;
}

QList<QScreen*> OrderedScreens() {
    QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary && screens.removeOne(primary)) screens.prepend(primary);
    return screens;
}

}  // namespace

Desktop& CurrentDesktop() {
    static ScreenDesktop screens;
    return Installed() ? *Installed() : screens;
}

void SetDesktop(std::unique_ptr<Desktop> desktop) {
    Installed() = std::move(desktop);
}

int ScreenDesktop::MonitorCount() const {
    return static_cast<int>(OrderedScreens().size());
}

Rect ScreenDesktop::MonitorBounds(int index) const {
    QList<QScreen*> screens = OrderedScreens();
    if (index < 0 || index >= screens.size()) return {};
    return Rect::FromQRect(screens[index]->geometry());
}

Rect ScreenDesktop::WorkArea() const {
    QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? Rect::FromQRect(primary->availableGeometry()) : Rect{};
}

int ScreenDesktop::MonitorFromRect(const Rect& r) const {
    QList<QScreen*> screens = OrderedScreens();
    QPoint centre((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    int best = 0;
    long long bestArea = -1;
    for (int i = 0; i < screens.size(); ++i) {
        Rect s = Rect::FromQRect(screens[i]->geometry());
        if (s.Contains(centre.x(), centre.y())) return i;
        Rect cut = s.Intersected(r);
        long long area = static_cast<long long>(cut.Width()) * cut.Height();
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    return best;
}

std::optional<Rect> ScreenDesktop::ActiveWindowBounds() const {
    QWidget* w = QApplication::activeWindow();
    if (!w) w = QApplication::activeModalWidget();
    if (!w) return std::nullopt;
    return WindowBounds(*w);
}

Rect WindowBounds(const QWidget& window) {
    QRect frame = window.frameGeometry();
    return Rect::FromQRect(frame);
}

void SetWindowBounds(QWidget& window, const Rect& bounds) {
    QSize extra = window.frameGeometry().size() - window.geometry().size();
    window.move(bounds.left, bounds.top);
    window.resize(std::max(0, bounds.Width() - extra.width()), std::max(0, bounds.Height() - extra.height()));
}

}  // namespace gui
