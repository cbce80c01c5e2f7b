#pragma once
// TFlatSpeedButton: the flat speed button of toolbars. It paints and toggles like TFlatButton (glyph
// strip, GroupIndex/Down/AllowAllUp groups, Color/ColorBorder/ColorDown..., Round, Margin, Spacing) but
// never takes the focus: clicking it leaves the focus where it is (in the edited text, say), and it has
// no keyboard walk or accelerator.
//
//   auto* bold = new ui::TFlatSpeedButton(toolbar);
//   bold->setGeometry(75, 0, 25, 21);
//   bold->SetGlyph(QImage(":/glyphs/bold.png"));
//   bold->SetGroupIndex(4);
//   bold->SetAllowAllUp(true);            // a toggle that may be up
//   bold->setToolTip("Text fett");
//   bold->OnClick = [](ui::TFlatButton* b) { ... b->Down() ... };  // Down already toggled on click
//   bold->SetDown(true);                  // from code: no OnClick
#include "ui/flat_button.h"

namespace ui {

class TFlatSpeedButton : public TFlatButton {
    Q_OBJECT

  public:
    explicit TFlatSpeedButton(QWidget* parent = nullptr);

  protected:
    bool TakesFocusOnClick() const override { return false; }
};

}  // namespace ui
