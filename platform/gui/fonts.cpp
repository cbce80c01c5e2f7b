#include "platform/gui/fonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

namespace gui {

int RegisterSystemFonts() {
    static bool done = false;
    if (done || !QGuiApplication::instance()) return 0;
    done = true;
    // The package's bold Tahoma draws no heavier than the regular one at dialog sizes; without it the
    // font engine emboldens the regular face, which reads as bold.
    static const char* const kFiles[] = {
        "/usr/share/wine/fonts/tahoma.ttf",
        "/usr/share/wine/fonts/ms_sans_serif.ttf",
        "/usr/share/wine/fonts/symbol.ttf",
    };
    int added = 0;
    for (const char* file : kFiles) {
        if (QFile::exists(QString::fromLatin1(file)) &&
            QFontDatabase::addApplicationFont(QString::fromLatin1(file)) >= 0)
            ++added;
    }
    return added;
}

}  // namespace gui
