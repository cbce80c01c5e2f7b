#include "platform/gui/plain_message.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/gui/application.h"
#include "platform/gui/text.h"

namespace gui {

void ShowPlainMessage(const std::string& cp1252Text) {
    EnsureApplication();
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), ToQString(cp1252Text),
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace gui
