#include "platform/gui/application.h"

#include <QApplication>

namespace gui {

QApplication* EnsureApplication() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return app;
    // QApplication keeps references to argc and argv for its whole life.
    static int argc = 1;
    static char name[] = "Vorlux";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return app;
}

}  // namespace gui
