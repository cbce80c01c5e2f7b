#include <gtest/gtest.h>

#include <QFontMetrics>

#include "platform/gui/form.h"
#include "platform/gui/shell.h"
#include "tests/ui/ui_test_support.h"
#include "ui/flat_button.h"
#include "ui/flat_speed_button.h"

namespace {

using ui::ButtonState;
using ui::TFlatButton;

struct LayoutCase {
    const char* name;
    ui::TButtonLayout layout;
    int margin, spacing;
    QPoint glyph, caption;
};

TEST(FlatButtonLayout, PlacesGlyphAndCaptionByLayoutMarginAndSpacing) {
    // Client 127 x 25, glyph 16 x 16, caption 60 x 13.
    const LayoutCase cases[] = {
        {"left centred", ui::blGlyphLeft, -1, 4, {24, 5}, {44, 6}},         // margin (127-16-4-60+1)/2
        {"left spread", ui::blGlyphLeft, -1, -1, {17, 5}, {50, 6}},         // margin = spacing = 51/3
        {"left margin 3 spread", ui::blGlyphLeft, 3, -1, {3, 5}, {43, 6}},  // spacing (127-3-16-60)/2
        {"right margin 5", ui::blGlyphRight, 5, 4, {106, 5}, {42, 6}},
        {"top centred", ui::blGlyphTop, -1, 0, {56, -1}, {34, 15}},  // margin (25-16-0-13+1)/2
        {"bottom margin 2", ui::blGlyphBottom, 2, 1, {56, 7}, {34, -7}},
    };
    for (const LayoutCase& c : cases) {
        ui::ButtonLayoutInput in{{127, 25}, {16, 16},  {60, 13},       c.layout,
                                 c.margin,  c.spacing, ButtonState::Up};
        ui::ButtonLayoutResult r = ui::LayoutButton(in);
        EXPECT_EQ(r.glyphPos, c.glyph) << c.name;
        EXPECT_EQ(QPoint(r.textRect.left, r.textRect.top), c.caption) << c.name;
        in.state = ButtonState::Pressed;
        EXPECT_EQ(ui::LayoutButton(in).glyphPos, c.glyph + QPoint(1, 1)) << c.name << " pressed";
    }
}

TEST(FlatButtonLayout, NoSpacingWithoutGlyphOrCaption) {
    ui::ButtonLayoutInput in{{100, 25}, {0, 0}, {40, 13}, ui::blGlyphLeft, -1, 4, ButtonState::Up};
    EXPECT_EQ(ui::LayoutButton(in).textRect.left, (100 - 40 + 1) / 2);
}

TEST(FlatButtonLayout, GlyphStripCountAndStateImage) {
    EXPECT_EQ(ui::NumGlyphsForStrip({96, 24}, 1), 4);
    EXPECT_EQ(ui::NumGlyphsForStrip({120, 24}, 1), 1);  // five images are not supported
    EXPECT_EQ(ui::NumGlyphsForStrip({48, 24}, 1), 2);
    EXPECT_EQ(ui::NumGlyphsForStrip({50, 24}, 3), 3);  // no multiple: unchanged
    EXPECT_EQ(ui::GlyphImageIndex(1, ButtonState::Disabled), -1);
    EXPECT_EQ(ui::GlyphImageIndex(2, ButtonState::Disabled), 1);
    EXPECT_EQ(ui::GlyphImageIndex(2, ButtonState::Pressed), 0);
    EXPECT_EQ(ui::GlyphImageIndex(3, ButtonState::Exclusive), 2);
    EXPECT_EQ(ui::GlyphImageIndex(4, ButtonState::Exclusive), 3);
}

TEST(FlatButtonColors, DerivedColoursMoveOnlyLightness) {
    const gui::TColor base = gui::RGB(40, 80, 160);
    ui::DerivedColors d = ui::DeriveColors(base, 10, 10, 50, {1, 2, 3});
    QColor b = gui::ToQColor(base), f = gui::ToQColor(d.focused), down = gui::ToQColor(d.down);
    EXPECT_GT(f.lightness(), b.lightness());
    EXPECT_NEAR(f.hslHue(), b.hslHue(), 2);
    EXPECT_LT(gui::ToQColor(d.border).lightness(), b.lightness());
    EXPECT_NEAR(down.lightness(), b.lightness(), 3);  // -10 + 10: same lightness
    ui::DerivedColors kept = ui::DeriveColors(base, 0, 10, 0, {1, 2, 3});
    EXPECT_EQ(kept.focused, 1u);
    EXPECT_EQ(kept.border, 3u);
}

class FlatButtonWidget : public ::testing::Test {
  protected:
    void SetUp() override {
        uitest::EnsureApp();
        form = std::make_unique<gui::Form>();
        form->resize(400, 200);
        for (int i = 0; i < 3; ++i) {
            auto* b = new TFlatButton(form.get());
            b->setGeometry(10 + i * 100, 10, 90, 25);
            b->SetCaption(QStringLiteral("B%1").arg(i));
            b->SetTabStop(true);
            b->OnClick = [this, i](TFlatButton*) { clicks.push_back(i); };
            buttons.push_back(b);
        }
        uitest::ShowActive(form.get());
        buttons[0]->setFocus();
        QApplication::processEvents();
    }
    std::unique_ptr<gui::Form> form;
    std::vector<TFlatButton*> buttons;
    std::vector<int> clicks;
};

TEST_F(FlatButtonWidget, EnterWalksTabStopsAndSpaceClicks) {
    ASSERT_EQ(QApplication::focusWidget(), buttons[0]);
    uitest::PressKey(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), buttons[1]);
    uitest::PressKey(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), buttons[0]);
    uitest::PressKey(Qt::Key_Return, Qt::ShiftModifier);  // wraps around backwards
    EXPECT_EQ(QApplication::focusWidget(), buttons[2]);
    EXPECT_TRUE(clicks.empty());
    uitest::PressKey(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_EQ(clicks, std::vector<int>{2});
}

TEST_F(FlatButtonWidget, WalkSkipsControlsWithoutTabStop) {
    buttons[1]->SetTabStop(false);
    uitest::PressKey(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), buttons[2]);
}

TEST_F(FlatButtonWidget, SelectNextHandlerMayRefuseOrRedirect) {
    buttons[0]->OnSelectNext = [](QWidget*&, QWidget*&, int, bool& accept) { accept = false; };
    uitest::PressKey(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), buttons[0]);
    buttons[0]->OnSelectNext = [this](QWidget*&, QWidget*& dest, int, bool&) { dest = buttons[2]; };
    uitest::PressKey(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), buttons[2]);
}

TEST_F(FlatButtonWidget, UpCallsOnUpAndDownPassesOn) {
    int ups = 0;
    buttons[0]->OnUp = [&](TFlatButton*, bool& accept) {
        ++ups;
        accept = false;
    };
    std::vector<int> seen;
    buttons[0]->OnSelectNext = [&](QWidget*&, QWidget*&, int key, bool&) { seen.push_back(key); };
    uitest::PressKey(Qt::Key_Up);
    uitest::PressKey(Qt::Key_Down);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(seen, std::vector<int>{gui::VK_DOWN});  // Up was swallowed, Down went on
}

TEST_F(FlatButtonWidget, ReleaseOnePixelBelowDoesNotClick) {
    TFlatButton* b = buttons[1];
    uitest::Mouse(b, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(b->State(), ButtonState::Pressed);
    uitest::Mouse(b, QEvent::MouseButtonRelease, {5, b->height()});
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(b->State(), ButtonState::Up);
    uitest::Mouse(b, QEvent::MouseButtonPress, {5, 5});
    uitest::Mouse(b, QEvent::MouseButtonRelease, {5, b->height() - 1});
    EXPECT_EQ(clicks, std::vector<int>{1});
}

TEST_F(FlatButtonWidget, BeforeClickMayCancelAndClickSetsModalResult) {
    buttons[0]->SetModalResult(gui::mrOk);
    buttons[0]->OnBeforeClick = [](TFlatButton*, bool& clicked) { clicked = false; };
    buttons[0]->Click();
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(form->ModalResult(), gui::mrNone);
    buttons[0]->OnBeforeClick = nullptr;
    buttons[0]->Click();
    EXPECT_EQ(clicks, std::vector<int>{0});
    EXPECT_EQ(form->ModalResult(), gui::mrOk);
}

TEST_F(FlatButtonWidget, GroupKeepsOneDownUnlessAllUpAllowed) {
    for (TFlatButton* b : buttons) b->SetGroupIndex(7);
    buttons[0]->SetDown(true);
    buttons[1]->SetDown(true);
    EXPECT_FALSE(buttons[0]->Down());
    EXPECT_TRUE(buttons[1]->Down());
    uitest::Mouse(buttons[1], QEvent::MouseButtonPress, {5, 5});
    uitest::Mouse(buttons[1], QEvent::MouseButtonRelease, {5, 5});
    EXPECT_TRUE(buttons[1]->Down()) << "a down button of a group without all-up stays down";
    EXPECT_EQ(clicks, std::vector<int>{1});
    buttons[1]->SetAllowAllUp(true);
    buttons[1]->SetDown(false);
    EXPECT_FALSE(buttons[1]->Down());
}

TEST_F(FlatButtonWidget, DisabledButtonDoesNotClick) {
    buttons[0]->setEnabled(false);
    buttons[0]->Click();
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(buttons[0]->State(), ButtonState::Disabled);
}

TEST(FlatSpeedButton, ClickLeavesFocusAndToggles) {
    uitest::EnsureApp();
    gui::Form form;
    form.resize(200, 50);
    auto* other = new TFlatButton(&form);
    other->SetTabStop(true);
    other->setGeometry(100, 0, 50, 25);
    auto* speed = new ui::TFlatSpeedButton(&form);
    speed->setGeometry(0, 0, 25, 21);
    speed->SetGroupIndex(4);
    speed->SetAllowAllUp(true);
    int clicked = 0;
    speed->OnClick = [&](TFlatButton* b) { clicked += b->Down() ? 1 : 10; };
    uitest::ShowActive(&form);
    other->setFocus();
    uitest::Mouse(speed, QEvent::MouseButtonPress, {3, 3});
    uitest::Mouse(speed, QEvent::MouseButtonRelease, {3, 3});
    EXPECT_EQ(QApplication::focusWidget(), other);
    EXPECT_TRUE(speed->Down());
    uitest::Mouse(speed, QEvent::MouseButtonPress, {3, 3});
    uitest::Mouse(speed, QEvent::MouseButtonRelease, {3, 3});
    EXPECT_FALSE(speed->Down());
    EXPECT_EQ(clicked, 11);
}

// Renders a button's look at a size, off any widget.
QImage Paint(const ui::FlatButtonLook& look, QSize size, ui::FlatButtonPaintState state = {}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    gui::Canvas canvas(p);
    ui::PaintFlatButton(canvas, gui::Rect::FromQRect(image.rect()), look, state);
    return image;
}

TEST(FlatButtonPainting, KeyLabelSitsNearTheLeftEdgeInTheTopPart) {
    uitest::EnsureApp();
    ui::FlatButtonLook look;
    look.caption = QStringLiteral("&Übernehmen");
    look.layout = ui::blGlyphLeft;
    QImage without = Paint(look, {127, 25});
    look.vkKey = QStringLiteral("F3");
    QImage with = Paint(look, {127, 25});
    QRect label = uitest::DiffBox(without, with);
    ASSERT_FALSE(label.isNull());
    gui::Font f;
    f.name = QStringLiteral("TAHOMA");
    QFontMetrics fm(f.ToQFont());
    const int textWidth = fm.horizontalAdvance(QStringLiteral("F3"));
    const int left = -(127 / 2) + 10 + (127 - textWidth) / 2;  // shifted rectangle, text centred in it
    EXPECT_GE(label.left(), left);
    EXPECT_LE(label.right(), left + textWidth);
    EXPECT_NEAR((label.left() + label.right()) / 2.0, 10.5, 2.0);
    EXPECT_GE(label.top(), 1);
    EXPECT_LE(label.bottom(), 1 + gui::CellMetricsOf(f).Height());
    EXPECT_LT(label.bottom(), 25 / 2 + 4) << "the label stays in the top part of the face";
}

TEST(FlatButtonPainting, BrTagBreaksTheCaptionInAnyCase) {
    uitest::EnsureApp();
    QImage image(10, 10, QImage::Format_RGB32);
    QPainter p(&image);
    gui::Canvas canvas(p);
    ui::FlatButtonLook look;
    QFontMetrics fm(look.font.ToQFont());
    for (const char* caption : {"Zwei<br>Zeilen", "Zwei<BR>Zeilen", "Zwei<Br>Zeilen"}) {
        look.caption = QString::fromLatin1(caption);
        QSize size = ui::MeasureCaption(canvas, look, 200);
        EXPECT_EQ(size.height(), 2 * gui::CellMetricsOf(look.font).Height()) << caption;
        EXPECT_EQ(size.width(), std::max(fm.horizontalAdvance("Zwei"), fm.horizontalAdvance("Zeilen")));
    }
}

TEST(FlatButtonPainting, FaceAndFrameFollowTheState) {
    uitest::EnsureApp();
    ui::FlatButtonLook look;
    const QSize size(60, 25);
    auto at = [&](ui::FlatButtonPaintState s, QPoint p) { return Paint(look, size, s).pixelColor(p); };
    EXPECT_EQ(at({ButtonState::Up, false}, {30, 12}), gui::ToQColor(look.color));
    EXPECT_EQ(at({ButtonState::Up, false}, {0, 12}), gui::ToQColor(look.colorBorder));
    EXPECT_EQ(at({ButtonState::Up, true}, {0, 12}), gui::ToQColor(look.colorHighLight));
    EXPECT_EQ(at({ButtonState::Pressed, false}, {30, 12}), gui::ToQColor(look.colorDown));
    EXPECT_EQ(at({ButtonState::Pressed, false}, {0, 12}), gui::ToQColor(look.colorShadow));
    look.isDefault = true;
    EXPECT_EQ(at({ButtonState::Up, false}, {1, 12}), gui::ToQColor(look.colorBorder)) << "2-pixel border";
    look.round = 10;
    EXPECT_EQ(at({ButtonState::Up, false}, {30, 0}), gui::ToQColor(look.color)) << "rounded: no frame";
}

TEST(FlatButtonPainting, RoundGivesRoundedCorners) {
    uitest::EnsureApp();
    TFlatButton b;
    b.resize(60, 25);
    b.SetRound(10);
    EXPECT_FALSE(b.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(b.mask().contains(QPoint(30, 12)));
    b.SetRound(0);
    EXPECT_TRUE(b.mask().isEmpty());
}

TEST(FlatButtonPainting, SingleGlyphIsGreyedWhenDisabled) {
    uitest::EnsureApp();
    ui::FlatButtonLook look;
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(Qt::magenta);  // transparent (bottom-left pixel)
    for (int y = 2; y < 14; ++y)
        for (int x = 2; x < 14; ++x) glyph.setPixelColor(x, y, Qt::red);
    look.glyph = glyph;
    QImage up = Paint(look, {40, 40}, {ButtonState::Up, false});
    QImage off = Paint(look, {40, 40}, {ButtonState::Disabled, false});
    QPoint centre((40 - 16 + 1) / 2 + 8, 0);
    centre.setY(
        ui::LayoutButton({{40, 40}, {16, 16}, {0, 0}, ui::blGlyphTop, -1, 4, ButtonState::Up}).glyphPos.y() +
        8);
    EXPECT_EQ(up.pixelColor(centre), QColor(Qt::red));
    QColor grey = off.pixelColor(centre);
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_GT(grey.lightness(), 128);
    EXPECT_EQ(off.pixelColor(centre.x() - 7, centre.y() - 7), gui::ToQColor(look.color))
        << "transparent kept";
}

}  // namespace

namespace {

TEST_F(FlatButtonWidget, HoverFollowsThePointerFromButtonToButton) {
    QPoint pointer;
    gui::SetPointerPosition([&] { return pointer; });
    auto moveTo = [&](TFlatButton* b, QPoint local) {
        pointer = b->mapToGlobal(local);
        uitest::Mouse(b, QEvent::MouseMove, local, Qt::NoButton);
    };
    buttons[2]->setFocus();
    moveTo(buttons[0], {5, 5});
    EXPECT_TRUE(buttons[0]->Hovered());
    EXPECT_EQ(ui::HoverTrackedButton(), buttons[0]);
    moveTo(buttons[1], {5, 5});
    EXPECT_FALSE(buttons[0]->Hovered());
    EXPECT_TRUE(buttons[1]->Hovered());
    EXPECT_EQ(ui::HoverTrackedButton(), buttons[1]);
    QImage hovered = uitest::Grab(buttons[1]);
    EXPECT_EQ(hovered.pixelColor(0, 12), gui::ToQColor(buttons[1]->ColorHighLight())) << "hover frame";
    gui::SetPointerPosition({});
}

}  // namespace
