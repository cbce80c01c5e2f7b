#include "ui/flat_speed_button.h"

namespace ui {

TFlatSpeedButton::TFlatSpeedButton(QWidget* parent) : TFlatButton(parent) {
    SetLayout(blGlyphLeft);
    SetTabStop(false);  // with TakesFocusOnClick false this gives Qt::NoFocus
}

}  // namespace ui
