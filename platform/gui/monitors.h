#pragma once
// Monitors, the desktop work area and the windows that placement asks about, behind an interface that
// tests replace with their own layouts. Monitors are numbered from 0 in the order the system lists them
// (the primary monitor first).
#include <memory>
#include <optional>

#include "platform/gui/rect.h"

class QWidget;

namespace gui {

class Desktop {
  public:
    virtual ~Desktop() = default;
    virtual int MonitorCount() const = 0;
    virtual Rect MonitorBounds(int index) const = 0;  // virtual-screen coordinates
    virtual Rect WorkArea() const = 0;                // usable area of the primary monitor
    // The monitor the platform considers a rectangle to be on (nearest when on none).
    virtual int MonitorFromRect(const Rect& r) const = 0;
    // Bounds of the library's active window or, without one, of the application's main window.
    virtual std::optional<Rect> ActiveWindowBounds() const = 0;
};

// The desktop in force: the real screens unless a test installed its own.
Desktop& CurrentDesktop();
// Installs a replacement (null restores the real screens).
void SetDesktop(std::unique_ptr<Desktop> desktop);

// The real screens, from QGuiApplication.
class ScreenDesktop : public Desktop {
  public:
    int MonitorCount() const override;
    Rect MonitorBounds(int index) const override;
    Rect WorkArea() const override;
    int MonitorFromRect(const Rect& r) const override;
    std::optional<Rect> ActiveWindowBounds() const override;
};

// A window's outer bounds (frame included) and setting them.
Rect WindowBounds(const QWidget& window);
void SetWindowBounds(QWidget& window, const Rect& bounds);

}  // namespace gui
