#pragma once
// The one place where the system's 8-bit Windows-1252 texts meet Qt's Unicode strings.
#include <QString>
#include <string>
#include <string_view>

namespace gui {

QString ToQString(std::string_view cp1252);
std::string FromQString(const QString& text);

}  // namespace gui
