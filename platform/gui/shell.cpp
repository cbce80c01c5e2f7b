#include "platform/gui/shell.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace gui {

namespace {

ShellOpenFunction& OpenFn() {
    static ShellOpenFunction fn;
    return fn;
}

PointerFunction& PointerFn() {
    static PointerFunction fn;
    return fn;
}

ShellOpenResult DesktopOpen(const QString& target) {
    QUrl url(target);
    if (url.scheme().isEmpty() || url.scheme().size() == 1)  // a plain or drive-letter path
        url = QUrl::fromLocalFile(target);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return ShellOpenResult::Failed;
    return QDesktopServices::openUrl(url) ? ShellOpenResult::Ok : ShellOpenResult::NoAssociation;
}

}  // namespace

ShellOpenResult ShellOpen(const QString& target) {
    return OpenFn() ? OpenFn()(target) : DesktopOpen(target);
}

void SetShellOpen(ShellOpenFunction fn) {
    OpenFn() = std::move(fn);
}

QPoint PointerPosition() {
    return PointerFn() ? PointerFn()() : QCursor::pos();
}

void SetPointerPosition(PointerFunction fn) {
    PointerFn() = std::move(fn);
}

void Beep() {
    QApplication::beep();
}

}  // namespace gui
