#pragma once
// TFlatButton: the flat, owner-painted push button of the system's windows.
//
// The click machinery and focus come from QAbstractButton; this class changes the looks (painted by
// PaintFlatButton from one state value) and the keys: Enter and Shift+Enter walk the focus through the
// form's tab-stop order (OnSelectNext may redirect or refuse the move), Backspace walks backwards,
// Space clicks, arrows and letters are reported through events. A click first asks OnBeforeClick, then
// copies ModalResult to the owning form. Grouped buttons (GroupIndex != 0) toggle Down.
#include <QAbstractButton>
#include <QPointer>
#include <functional>

#include "platform/gui/color.h"
#include "ui/flat_button_painter.h"

#include <QMenu>

namespace ui {

class TFlatButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(uint ColorFocused READ ColorFocused WRITE SetColorFocused)
    Q_PROPERTY(uint ColorDown READ ColorDown WRITE SetColorDown)
    Q_PROPERTY(uint ColorBorder READ ColorBorder WRITE SetColorBorder)
    Q_PROPERTY(uint ColorHighLight READ ColorHighLight WRITE SetColorHighLight)
    Q_PROPERTY(uint ColorShadow READ ColorShadow WRITE SetColorShadow)
    Q_PROPERTY(bool UseAdvColors READ UseAdvColors WRITE SetUseAdvColors)
    Q_PROPERTY(int AdvColorFocused READ AdvColorFocused WRITE SetAdvColorFocused)
    Q_PROPERTY(int AdvColorDown READ AdvColorDown WRITE SetAdvColorDown)
    Q_PROPERTY(int AdvColorBorder READ AdvColorBorder WRITE SetAdvColorBorder)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(int TransparentMode READ TransparentMode WRITE SetTransparentMode)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
    Q_PROPERTY(bool Default READ Default WRITE SetDefault)
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(QString VKKey READ VKKey WRITE SetVKKey)
    Q_PROPERTY(int Round READ Round WRITE SetRound)
    Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
    Q_PROPERTY(bool Visible READ isVisible WRITE setVisible)

  public:
    explicit TFlatButton(QWidget* parent = nullptr);
    ~TFlatButton() override;

    // The button's click: does nothing when disabled or hidden; asks OnBeforeClick, sets the owning
    // form's modal result, fires OnClick, opens the popup menu.
    void Click();

    QString Caption() const { return look_.caption; }
    void SetCaption(const QString& caption);
    const QImage& Glyph() const { return look_.glyph; }
    void SetGlyph(const QImage& strip);
    int NumGlyphs() const { return look_.numGlyphs; }
    void SetNumGlyphs(int n);
    int Layout() const { return look_.layout; }
    void SetLayout(int layout);
    int Margin() const { return look_.margin; }
    void SetMargin(int margin);
    int Spacing() const { return look_.spacing; }
    void SetSpacing(int spacing);
    gui::TColor Color() const { return look_.color; }
    void SetColor(gui::TColor c);
    gui::TColor ColorFocused() const { return look_.colorFocused; }
    void SetColorFocused(gui::TColor c);
    gui::TColor ColorDown() const { return look_.colorDown; }
    void SetColorDown(gui::TColor c);
    gui::TColor ColorBorder() const { return look_.colorBorder; }
    void SetColorBorder(gui::TColor c);
    gui::TColor ColorHighLight() const { return look_.colorHighLight; }
    void SetColorHighLight(gui::TColor c);
    gui::TColor ColorShadow() const { return look_.colorShadow; }
    void SetColorShadow(gui::TColor c);
    bool UseAdvColors() const { return useAdvColors_; }
    void SetUseAdvColors(bool on);
    int AdvColorFocused() const { return advFocused_; }
    void SetAdvColorFocused(int step);
    int AdvColorDown() const { return advDown_; }
    void SetAdvColorDown(int step);
    int AdvColorBorder() const { return advBorder_; }
    void SetAdvColorBorder(int step);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool on) { parentColor_ = on; }
    int TransparentMode() const { return look_.transparentMode; }
    void SetTransparentMode(int mode);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool on) { allowAllUp_ = on; }
    bool Default() const { return look_.isDefault; }
    void SetDefault(bool on);
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    QString VKKey() const { return look_.vkKey; }
    void SetVKKey(const QString& key);
    int Round() const { return look_.round; }
    void SetRound(int diameter);
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on);
    void SetFont(const gui::Font& font);
    const gui::Font& GetFont() const { return look_.font; }
    void SetPopupMenu(QMenu* menu) { popupMenu_ = menu; }

    ButtonState State() const { return state_; }
    bool Hovered() const { return hovered_; }
    // Everything that decides the painted picture, as the painter receives it.
    FlatButtonLook Look() const;
    FlatButtonPaintState PaintState() const { return {state_, hovered_}; }

    // Events. Var parameters are references; an unassigned event does nothing.
    std::function<void(TFlatButton* sender)> OnClick;
    std::function<void(TFlatButton* sender)> OnDblClick;
    std::function<void(TFlatButton* sender)> OnMouseEnter;
    std::function<void(TFlatButton* sender)> OnMouseLeave;
    std::function<void(TFlatButton* sender, bool& clicked)> OnBeforeClick;
    std::function<void(QWidget*& source, QWidget*& dest, int charCode, bool& accept)> OnSelectNext;
    std::function<void(TFlatButton* sender, bool right)> OnLeftRightKeyPressed;
    std::function<void(TFlatButton* sender, int key)> OnAlpha;
    std::function<void(TFlatButton* sender, bool& accept)> OnUp;
    std::function<void(TFlatButton* sender, bool& accept)> OnDown;

    // Moves the focus to the next (or previous) focusable tab stop of the form, through OnSelectNext.
    void SelectNext(bool forward, int charCode);

  protected:
    // Speed buttons never take the focus and have no keyboard walk.
    virtual bool TakesFocusOnClick() const { return true; }

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

  private:
    friend class HoverTracker;
    bool Inside(const QPoint& p) const;
    void StartHover();
    void LoseHover();
    void SetHoverFromPointer();
    void UpdateRegion();
    void RecalcAdvColors();
    bool PreviewKey(QKeyEvent* e);  // arrows and letters; true = swallowed

    FlatButtonLook look_;
    ButtonState state_ = ButtonState::Up;
    bool hovered_ = false;
    bool focused_ = false;
    bool mousePressed_ = false;
    bool useAdvColors_ = false;
    bool parentColor_ = false;
    int advFocused_ = 10;
    int advDown_ = 10;
    int advBorder_ = 50;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    int modalResult_ = 0;
    bool tabStop_ = false;
    QPointer<QMenu> popupMenu_;
};

// The button the shared hover timer tracks (null when none); for tests.
TFlatButton* HoverTrackedButton();

}  // namespace ui
