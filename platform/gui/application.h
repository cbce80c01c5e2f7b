#pragma once
// The application object inside a library: created on first use when the host has none, kept for the
// library's life.
class QApplication;

namespace gui {

// Returns the running application, creating one when the process has none. Never null.
QApplication* EnsureApplication();

}  // namespace gui
