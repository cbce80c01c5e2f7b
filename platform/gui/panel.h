#pragma once
// A plain container control: face colour, alignment within its parent, optional bevels, and alignment
// of its own children.
#include <QWidget>

#include "platform/gui/color.h"

namespace gui {

enum TBevelCut : int { bvNone = 0, bvLowered = 1, bvRaised = 2, bvSpace = 3 };

class Panel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Align READ Align WRITE SetAlign)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(int BevelInner READ BevelInner WRITE SetBevelInner)
    Q_PROPERTY(int BevelOuter READ BevelOuter WRITE SetBevelOuter)

  public:
    explicit Panel(QWidget* parent = nullptr);

    int Align() const { return align_; }
    void SetAlign(int align);
    TColor Color() const { return color_; }
    void SetColor(TColor c) {
        color_ = c;
        update();
    }
    int BevelInner() const { return bevelInner_; }
    void SetBevelInner(int b) {
        bevelInner_ = b;
        update();
    }
    int BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(int b) {
        bevelOuter_ = b;
        update();
    }
    void Realign();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int align_ = 0;
    TColor color_ = clBtnFace;
    int bevelInner_ = bvNone;
    int bevelOuter_ = bvNone;
};

}  // namespace gui
