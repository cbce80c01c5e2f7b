#include "plugin/function1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include "platform/gui/text.h"

namespace plugin {

namespace {
const char kRefusal[] = "<B>Der Auftrag muss im Bearbeitungsmodus sein, und in Netto vorliegen.";
}

TFFunction1::TFFunction1(QWidget* parent) : TFCalcBasisClass(parent) {
    QFont f("MS Sans Serif");
    f.setPixelSize(11);
    setFont(f);
    setFixedWidth(566);
    fca_abort = new QPushButton(gui::ToQString("&Abbrechen"), this);
    fca_abort->setGeometry(296, 130 - 38 + 5, 135, 25);
    fca = new QPushButton(gui::ToQString("&\xDC"
                                         "bernehmen"),
                          this);
    fca->setGeometry(434, 130 - 38 + 5, 127, 25);
    connect(fca, &QPushButton::clicked, this, &TFFunction1::fcaClick);
    connect(fca_abort, &QPushButton::clicked, this, &TFFunction1::fca_abortClick);
    // The window sees keys before its controls do.
    qApp->installEventFilter(this);
}

TFFunction1::~TFFunction1() {
    qApp->removeEventFilter(this);
}

void TFFunction1::FormCreate() {
    TFCalcBasisClass::FormCreate();
    RunExtraLoadStep = false;
    setFixedHeight(130);
}

void TFFunction1::FormShow() {
    TFCalcBasisClass::FormShow();
    raise();
    activateWindow();
}

void TFFunction1::AfterLoad() {
    if (Browse || !Netto) {
        ShowMessage(kRefusal);
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    setWindowTitle(gui::ToQString(AdressName));
}

void TFFunction1::fcaClick() {
    WriteBack();
    accept();
}

void TFFunction1::fca_abortClick() {
    close();
}

bool TFFunction1::FormKeyDown(int key) {
    if (key == Qt::Key_Escape) {
        QCoreApplication::processEvents();
        close();
        return true;
    }
    if (key == Qt::Key_F3) {
        QCoreApplication::processEvents();
        fca->click();
        return true;
    }
    return false;
}

bool TFFunction1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this || QApplication::activeModalWidget() != this)
        return false;
    return FormKeyDown(static_cast<QKeyEvent*>(event)->key());
}

}  // namespace plugin
