// The platform layer the presentation controls stand on: text output flags, frames, colours, the form
// base, alignment, keys and published properties.
#include <gtest/gtest.h>

#include <QLineEdit>

#include "platform/gui/align.h"
#include "platform/gui/canvas.h"
#include "platform/gui/color.h"
#include "platform/gui/form.h"
#include "platform/gui/keys.h"
#include "platform/gui/panel.h"
#include "platform/gui/registry.h"
#include "tests/ui/ui_test_support.h"

namespace {

struct Surface {
    QImage image{200, 60, QImage::Format_RGB32};
    QPainter painter;
    std::unique_ptr<gui::Canvas> canvas;
    Surface() {
        uitest::EnsureApp();
        image.fill(Qt::white);
        painter.begin(&image);
        canvas = std::make_unique<gui::Canvas>(painter);
        canvas->SetBrushColor(gui::clNone);
    }
    QImage Done() {
        canvas.reset();
        painter.end();
        return image;
    }
};

TEST(Canvas, MeasuresWithCalcRect) {
    Surface s;
    const int lineHeight = s.canvas->LineHeight();
    gui::Rect r{0, 0, 200, 0};
    EXPECT_EQ(s.canvas->DrawText("eins zwei", r, gui::DT_CALCRECT | gui::DT_SINGLELINE | gui::DT_NOPREFIX),
              lineHeight);
    EXPECT_EQ(r.Width(), s.canvas->TextWidth("eins zwei"));
    gui::Rect narrow{0, 0, s.canvas->TextWidth("eins") + 2, 0};
    s.canvas->DrawText("eins zwei", narrow, gui::DT_CALCRECT | gui::DT_WORDBREAK);
    EXPECT_EQ(narrow.Height(), 2 * lineHeight);
    gui::Rect prefixed{0, 0, 200, 0};
    s.canvas->DrawText("&Datei && mehr", prefixed, gui::DT_CALCRECT | gui::DT_SINGLELINE);
    EXPECT_EQ(prefixed.Width(), s.canvas->TextWidth("Datei & mehr"));
    EXPECT_EQ(gui::StripAccelerator("&&a&bc"), "&abc");
    EXPECT_EQ(gui::AcceleratorChar(QString::fromUtf8("&Übernehmen")), QChar(u'Ü'));
}

TEST(Canvas, AlignsAndElides) {
    Surface s;
    gui::Rect right{0, 0, 200, 30};
    s.canvas->DrawText("Rechts", right, gui::DT_RIGHT | gui::DT_SINGLELINE | gui::DT_NOPREFIX);
    gui::Rect cut{0, 30, 60, 60};
    s.canvas->DrawText("ein viel zu langer Text", cut,
                       gui::DT_SINGLELINE | gui::DT_END_ELLIPSIS | gui::DT_NOPREFIX);
    QImage image = s.Done();
    QRect rightInk = uitest::InkBox(image, qRgb(255, 255, 255), QRect(0, 0, 200, 30));
    EXPECT_GE(rightInk.right(), 200 - 3);
    QRect cutInk = uitest::InkBox(image, qRgb(255, 255, 255), QRect(0, 30, 200, 30));
    EXPECT_LT(cutInk.right(), 60);
}

TEST(Canvas, Frame3DPaintsEdgesAndShrinks) {
    Surface s;
    gui::Rect r{10, 10, 50, 40};
    s.canvas->Frame3D(r, gui::clWhite, gui::RGB(0, 0, 255), 2);
    EXPECT_EQ(r, (gui::Rect{12, 12, 48, 38}));
    s.canvas->Frame3D(r, gui::RGB(255, 0, 0), gui::RGB(255, 0, 0), 1);
    QImage image = s.Done();
    EXPECT_EQ(image.pixelColor(49, 20), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(20, 39), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(12, 20), QColor(255, 0, 0));
}

TEST(Color, ValuesAndSystemColours) {
    EXPECT_EQ(gui::ToQColor(0x0000FF), QColor(255, 0, 0));  // red in the low byte
    EXPECT_EQ(gui::FromQColor(QColor(0, 255, 0)), 0x00FF00u);
    EXPECT_EQ(gui::ColorToRGB(gui::clBtnFace), gui::RGB(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(gui::ColorToRGB(gui::clWindowText), 0u);
    EXPECT_EQ(gui::ColorToRGB(gui::clNone), gui::clWhite);
}

TEST(Keys, TranslatesToVirtualKeyCodes) {
    struct Case {
        int qtKey;
        Qt::KeyboardModifiers mods;
        int vk;
        unsigned shift;
    };
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, gui::VK_RETURN, 0},
        {Qt::Key_Enter, Qt::KeypadModifier, gui::VK_RETURN, 0},
        {Qt::Key_Return, Qt::ShiftModifier, gui::VK_RETURN, gui::ssShift},
        {Qt::Key_5, Qt::KeypadModifier, gui::VK_NUMPAD0 + 5, 0},
        {Qt::Key_A, Qt::ControlModifier | Qt::AltModifier, 'A', gui::ssCtrl | gui::ssAlt},
        {Qt::Key_F3, Qt::NoModifier, gui::VK_F3, 0},
        {Qt::Key_Minus, Qt::NoModifier, 189, 0},
    };
    for (const Case& c : cases) {
        QKeyEvent e(QEvent::KeyPress, c.qtKey, c.mods);
        gui::KeyInfo k = gui::TranslateKey(e);
        EXPECT_EQ(k.key, c.vk) << c.qtKey;
        EXPECT_EQ(k.shift, c.shift) << c.qtKey;
    }
}

TEST(Registry, SetsOnlyPublishedProperties) {
    uitest::EnsureApp();
    gui::Form form;
    EXPECT_TRUE(gui::SetPublishedProperty(&form, "HelpContext", 7));
    EXPECT_EQ(form.HelpContext(), 7);
    EXPECT_FALSE(gui::SetPublishedProperty(&form, "NoSuchProperty", 1));
    EXPECT_FALSE(form.property("NoSuchProperty").isValid()) << "no dynamic property is created";
    EXPECT_FALSE(gui::SetPublishedProperty(&form, "HelpContext", QStringLiteral("zehn")));
    EXPECT_EQ(form.HelpContext(), 7);
    EXPECT_FALSE(gui::InvokeRegisteredOperation("Unbekannt", "SetProperties", &form));
}

class KeyProbe : public gui::Form {
  public:
    std::vector<int> seen;
    bool consume = false;

  protected:
    void FormKeyDown(gui::KeyInfo& key) override {
        seen.push_back(key.key);
        if (consume) key.key = 0;
    }
};

TEST(Form, KeyPreviewSeesKeysFirstAndMayConsumeThem) {
    uitest::EnsureApp();
    KeyProbe form;
    form.SetKeyPreview(true);
    auto* edit = new QLineEdit(&form);
    uitest::ShowActive(&form);
    edit->setFocus();
    uitest::PressKey(Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(form.seen, std::vector<int>{'A'});
    EXPECT_EQ(edit->text(), "a");
    form.consume = true;
    uitest::PressKey(Qt::Key_B, Qt::NoModifier, "b");
    EXPECT_EQ(edit->text(), "a") << "a consumed key never reaches the control";
}

TEST(Form, EscapeAndCloseBoxCancelAndAResultCloses) {
    uitest::EnsureApp();
    gui::Form form;
    uitest::ShowActive(&form);
    uitest::PressKey(Qt::Key_Escape, Qt::NoModifier, {}, &form);
    EXPECT_EQ(form.ModalResult(), gui::mrCancel);
    EXPECT_FALSE(form.isVisible());
    uitest::ShowActive(&form);
    form.SetModalResult(gui::mrNone);
    form.close();
    EXPECT_EQ(form.ModalResult(), gui::mrCancel);
    uitest::ShowActive(&form);
    form.SetModalResult(gui::mrOk);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), gui::mrOk);
}

TEST(Align, DocksChildrenToTheEdges) {
    uitest::EnsureApp();
    QWidget parent;
    parent.resize(300, 200);
    auto make = [&](int align, QRect geometry) {
        auto* p = new gui::Panel(&parent);
        p->setGeometry(geometry);
        p->SetAlign(align);
        return p;
    };
    gui::Panel* top = make(gui::alTop, {0, 0, 10, 30});
    gui::Panel* lower = make(gui::alBottom, {0, 170, 10, 30});
    gui::Panel* lowest = make(gui::alBottom, {0, 190, 10, 20});
    gui::Panel* client = make(gui::alClient, {0, 0, 1, 1});
    gui::AlignControls(&parent);
    EXPECT_EQ(top->geometry(), QRect(0, 0, 300, 30));
    EXPECT_EQ(lowest->geometry(), QRect(0, 180, 300, 20)) << "the one lower down stays at the edge";
    EXPECT_EQ(lower->geometry(), QRect(0, 150, 300, 30));
    EXPECT_EQ(client->geometry(), QRect(0, 30, 300, 120));
    lower->hide();
    gui::AlignControls(&parent);
    EXPECT_EQ(client->geometry(), QRect(0, 30, 300, 150));
}

}  // namespace
