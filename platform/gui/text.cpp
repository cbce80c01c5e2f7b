#include "platform/gui/text.h"

#include <QList>

#include "platform/core/cp1252.h"

namespace gui {

QString ToQString(std::string_view cp1252) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (char c : cp1252)
        out.append(QChar(static_cast<char16_t>(core::Cp1252ToUnicode(static_cast<unsigned char>(c)))));
    return out;
}

std::string FromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (uint cp : text.toUcs4()) {
        int b = core::UnicodeToCp1252(cp);
        out.push_back(static_cast<char>(b < 0 ? '?' : b));
    }
    return out;
}

}  // namespace gui
