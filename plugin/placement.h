#pragma once
// Monitor placement and the window creation hook.
//
// The host names its monitor through the parameter "Screen"; that choice is kept process-wide in the
// preferred monitor and every window of the module is placed on it. The creation hook that every window
// runs sets the help context, places the window when asked, and lets the skin applicator style it; the
// applicator is found by its class name "TColorWrapper" so that no window depends on it.
#include <optional>

#include "platform/gui/rect.h"

class QWidget;

namespace plugin {

// -1 until the host names a monitor; then the last non-zero "Screen" value.
int PreferredMonitor();
void SetPreferredMonitor(int monitor);
void ResetPreferredMonitor();  // back to -1, for tests

struct MonitorChoice {
    std::optional<int> index;  // none: no monitor qualified
    gui::Rect bounds;
    bool isFirst = true;
};

// The preferred monitor when it exists, else the monitor holding more than half of the active window.
MonitorChoice ChooseMonitor();

struct PlacementInput {
    gui::Rect window;  // outer bounds
    bool centred = false;
    gui::Rect monitor;
    bool isFirst = true;
    gui::Rect workArea;  // of monitor 0
};
// Where the window goes. Pure arithmetic: the monitor, the work area and the window come in.
gui::Rect ComputePlacement(const PlacementInput& in);

// Moves the window onto the chosen monitor (centring and clipping a screen-centred one, which then
// keeps its place). Windows without a border are never moved.
void PlaceOnMonitor(QWidget* window);

// Called by every window when it is created.
void FormCreateHook(QWidget* window, bool place);

// True for top-level windows with a frame; false for frameless windows and embedded views.
bool HasBorder(const QWidget* window);

}  // namespace plugin
