#include "platform/gui/application.h"

#include <QApplication>

#include "platform/gui/fonts.h"

namespace gui {

QApplication* EnsureApplication() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) {
        // QApplication keeps references to argc and argv for its whole life.
        static int argc = 1;
        static char name[] = "Vorlux";
        static char* argv[] = {name, nullptr};
        static QApplication* created = new QApplication(argc, argv);
        app = created;
    }
    RegisterSystemFonts();
    return app;
}

}  // namespace gui
