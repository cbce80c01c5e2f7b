#pragma once
// Services of the desktop shell that tests replace: opening a target with the "open" verb, the pointer
// position, the warning beep.
#include <QPoint>
#include <QString>
#include <functional>

namespace gui {

enum class ShellOpenResult { Ok, Failed, NoAssociation };

using ShellOpenFunction = std::function<ShellOpenResult(const QString& target)>;
using PointerFunction = std::function<QPoint()>;

// Opens a URL or a path with the program the desktop associates with it.
ShellOpenResult ShellOpen(const QString& target);
void SetShellOpen(ShellOpenFunction fn);  // empty: the desktop's own

QPoint PointerPosition();                     // global coordinates
void SetPointerPosition(PointerFunction fn);  // empty: the real pointer

void Beep();

}  // namespace gui
