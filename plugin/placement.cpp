#include "plugin/placement.h"

#include <QVariant>
#include <QWidget>
#include <cstdlib>

#include "platform/gui/form.h"
#include "platform/gui/monitors.h"
#include "platform/gui/registry.h"

namespace plugin {

namespace {

int& Preferred() {
    static int monitor = -1;
    return monitor;
}

bool CoversMoreThanHalf(const gui::Rect& monitor, const gui::Rect& r) {
    gui::Rect cut = monitor.Intersected(r);
    if (cut.IsEmpty()) return false;
    return cut.Width() > std::abs(r.Width()) / 2 && cut.Height() > std::abs(r.Height()) / 2;
}

gui::Rect Centre(const gui::Rect& area, gui::Rect w) {
    int width = w.Width();
    int height = w.Height();
    int x = area.left + (area.Width() - width) / 2;
    int y = area.top + (area.Height() - height) / 2;
    // A window larger than the area starts at the area's edge (its caption stays reachable) and is cut.
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    if (area.bottom < y + height) height = area.bottom - y;
    if (area.right < x + width) width = area.right - x;
    return gui::Rect::FromSize(x, y, width, height);
}

}  // namespace

int PreferredMonitor() {
    return Preferred();
}
void SetPreferredMonitor(int monitor) {
    Preferred() = monitor;
}
void ResetPreferredMonitor() {
    Preferred() = -1;
}

MonitorChoice ChooseMonitor() {
    const gui::Desktop& desktop = gui::CurrentDesktop();
    const int count = desktop.MonitorCount();
    const int preferred = Preferred();
    if (preferred != -1 && preferred >= 0 && preferred < count && preferred <= 255)
        return {preferred, desktop.MonitorBounds(preferred), preferred == 0};
    std::optional<gui::Rect> window = desktop.ActiveWindowBounds();
    if (!window) return {};
    for (int i = 0; i < count; ++i) {
        gui::Rect m = desktop.MonitorBounds(i);
        if (CoversMoreThanHalf(m, *window)) return {i, m, i == 0};
    }
    return {};
}

gui::Rect ComputePlacement(const PlacementInput& in) {
    const gui::Rect& w = in.window;
    const gui::Rect& m = in.monitor;
    const int width = w.Width();
    const int height = w.Height();
    if (in.centred) return Centre(in.isFirst ? in.workArea : m, w);
    int x = w.left;
    int y = w.top;
    if (m.right < w.left + width) x = w.left + m.left;
    if (m.left > w.left) x = m.left + w.left;
    if (x < m.left) x = m.left;
    if (m.bottom < w.top + height) y = m.bottom - height;
    if (m.top > w.top) y = m.top;
    if (in.isFirst) {
        const gui::Rect& a = in.workArea;
        if (x < a.left) x = a.left;
        if (y < 0) y = 0;
        if (x + width > a.right) x = std::max(0, a.right - width);
        if (y + height > a.bottom) y = std::max(0, a.bottom - height);
    }
    return gui::Rect::FromSize(x, y, width, height);
}

bool HasBorder(const QWidget* window) {
    if (!window || !window->isWindow()) return false;
    if (window->windowFlags() & Qt::FramelessWindowHint) return false;
    QVariant style = window->property("BorderStyle");
    return !style.isValid() || style.toInt() != gui::bsNone;
}

void PlaceOnMonitor(QWidget* window) {
    if (!HasBorder(window)) return;
    const bool centred = window->property("Position").toInt() == gui::poScreenCenter;
    const gui::Desktop& desktop = gui::CurrentDesktop();
    PlacementInput in;
    in.window = gui::WindowBounds(*window);
    in.centred = centred;
    MonitorChoice choice = ChooseMonitor();
    if (!choice.index) {
        choice.bounds = desktop.MonitorBounds(desktop.MonitorFromRect(in.window));
        choice.isFirst = true;
    }
    in.monitor = choice.bounds;
    in.isFirst = choice.isFirst;
    in.workArea = desktop.WorkArea();
    if (centred) gui::SetPublishedProperty(window, "Position", gui::poDesigned);
    gui::SetWindowBounds(*window, ComputePlacement(in));
}

void FormCreateHook(QWidget* window, bool place) {
    if (!window) return;
    if (qobject_cast<gui::Form*>(window)) gui::SetPublishedProperty(window, "HelpContext", 1);
    if (place && HasBorder(window)) PlaceOnMonitor(window);
    gui::InvokeRegisteredOperation("TColorWrapper", "SetProperties", window);
}

}  // namespace plugin
