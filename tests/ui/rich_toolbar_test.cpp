#include "ui/rich_toolbar.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextBlock>
#include <cmath>
#include <memory>

#include "platform/gui/application.h"
#include "platform/gui/registry.h"
#include "ui/flat_speed_button.h"

namespace {

using ui::RichEdit;
using ui::TBxRichToolBar;
using ui::TFlatSpeedButton;

const char* const kDocument =
    R"({\rtf1{\fonttbl{\f0 DejaVu Sans;}{\f1 DejaVu Serif;}}{\colortbl ;\red255\green0\blue0;\red1\green2\blue3;})"
    R"(\f0\fs20 plain \b bold\b0  \i italic\i0  \ul under\ulnone  \cf1 red\cf0  \cf2 odd\cf0  \fs26 thirteen)"
    R"(\fs24  \f1 serif\f0  \protect locked\protect0  free\par\qc centred\par\pard\qr right\par\qj justified\par})";

// A window with the toolbar along the top and the editor below, as the function window has them.
class RichToolbarTest : public testing::Test {
  public:
    static void SetUpTestSuite() { gui::EnsureApplication(); }

    void SetUp() override {
        window = std::make_unique<QWidget>();
        window->resize(566, 200);
        toolbar = new TBxRichToolBar(window.get());
        toolbar->move(0, 0);
        editor = new RichEdit(window.get());
        editor->setGeometry(0, TBxRichToolBar::kHeight, 566, 200 - TBxRichToolBar::kHeight);
        QFont tahoma("Tahoma");
        tahoma.setPixelSize(13);
        editor->setFont(tahoma);
        editor->SetRtfText(kDocument);
        window->show();
    }

    void Select(const QString& text) {
        const int at = editor->toPlainText().indexOf(text);
        ASSERT_GE(at, 0) << text.toStdString();
        QTextCursor cursor = editor->textCursor();
        cursor.setPosition(at);
        cursor.setPosition(at + static_cast<int>(text.size()), QTextCursor::KeepAnchor);
        editor->setTextCursor(cursor);
    }

    void Click(TFlatSpeedButton* button) {
        const QPointF center = QRectF(button->rect()).center();
        QMouseEvent press(QEvent::MouseButtonPress, center, button->mapToGlobal(center), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, center, button->mapToGlobal(center), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &release);
    }

    std::unique_ptr<QWidget> window;
    TBxRichToolBar* toolbar = nullptr;
    RichEdit* editor = nullptr;
};

// --- creation and binding -----------------------------------------------------------------------

TEST_F(RichToolbarTest, CreatedHiddenAndDisabledWithTheDesignedGeometry) {
    EXPECT_FALSE(toolbar->isVisibleTo(window.get()));
    EXPECT_EQ(toolbar->FontName->currentIndex(), -1);
    EXPECT_EQ(toolbar->FontColorButton->currentText(), "Schwarz");
    EXPECT_EQ(toolbar->height(), TBxRichToolBar::kHeight);
    struct Expected {
        const char* name;
        int left, width;
        const char* hint;
    };
    const Expected controls[] = {
        {"scut", 0, 25, "Ausschneiden"},
        {"scopy", 25, 25, "Kopieren"},
        {"spaste", 50, 25, "Einfügen"},
        {"sbold", 75, 25, "Text fett"},
        {"sitalic", 100, 25, "Text kursiv"},
        {"sunderline", 125, 25, "Text unterstrichen"},
        {"sl", 150, 25, "Linksbündig ausrichten"},
        {"sc", 175, 25, "Zentriert ausrichten"},
        {"sr", 200, 25, "Rechts ausrichten"},
        {"sBullet", 225, 25, "Einfache Tabelle oder Bild einfügen"},
        {"sundo", 250, 25, "Rückgängig"},
        {"FontColorButton", 275, 68, "Textfarbe"},
        {"FontName", 343, 95, ""},
        {"FontSizes", 438, 40, ""},
    };
    for (const Expected& c : controls) {
        auto* child = toolbar->findChild<QWidget*>(c.name);
        ASSERT_NE(child, nullptr) << c.name;
        EXPECT_EQ(child->geometry(), QRect(c.left, 0, c.width, TBxRichToolBar::kButtonHeight)) << c.name;
        EXPECT_EQ(child->maximumWidth(), static_cast<int>(std::lround(c.width * 1.2))) << c.name;
        EXPECT_FALSE(child->isEnabled()) << c.name;
        EXPECT_EQ(child->toolTip(), QString::fromUtf8(c.hint)) << c.name;
    }
    for (QWidget* box : {static_cast<QWidget*>(toolbar->FontColorButton),
                         static_cast<QWidget*>(toolbar->FontName), static_cast<QWidget*>(toolbar->FontSizes)})
        EXPECT_FALSE(box->focusPolicy() & Qt::TabFocus) << box->objectName().toStdString();
}

TEST_F(RichToolbarTest, BindingShowsAndEnablesUnbindingHidesAndDisables) {
    toolbar->SetRichEditor(editor);
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_TRUE(toolbar->sbold->isEnabled());
    EXPECT_TRUE(toolbar->FontSizes->isEnabled());
    EXPECT_EQ(toolbar->property("RichEditor").value<RichEdit*>(), editor);

    toolbar->SetRichEditor(nullptr);
    EXPECT_FALSE(toolbar->isVisible());
    EXPECT_FALSE(toolbar->sbold->isEnabled());
    EXPECT_FALSE(toolbar->FontSizes->isEnabled());
    Select("bold");
    EXPECT_FALSE(toolbar->sbold->Down());  // no longer follows the editor
}

TEST_F(RichToolbarTest, DestroyingTheEditorUnbinds) {
    toolbar->SetRichEditor(editor);
    delete editor;
    editor = nullptr;
    EXPECT_EQ(toolbar->RichEditor(), nullptr);
    EXPECT_FALSE(toolbar->isVisible());
    toolbar->sboldClick();  // nothing bound: nothing happens
}

TEST_F(RichToolbarTest, RebindingLeavesNoHandlerOnTheOldEditor) {
    toolbar->SetRichEditor(editor);
    RichEdit other(window.get());
    other.setPlainText("other");
    toolbar->SetRichEditor(&other);
    Select("bold");
    EXPECT_FALSE(toolbar->sbold->Down());
    toolbar->SetRichEditor(editor);
    EXPECT_TRUE(toolbar->sbold->Down());
}

TEST_F(RichToolbarTest, DestroyingTheToolbarLeavesTheEditorWorking) {
    toolbar->SetRichEditor(editor);
    delete toolbar;
    toolbar = nullptr;
    Select("bold");  // would reach a destroyed toolbar if a handler had stayed behind
    Select("italic");
    EXPECT_TRUE(editor->SelAttributes().italic);
}

// --- the selection into the controls -----------------------------------------------------------

struct ShownCase {
    const char* word;
    bool bold, italic, underline;
    const char* sizeText;
    bool sizeItemSelected;
    const char* font;   // "" when no item is expected
    const char* color;  // name of the colour item, "" when none fits
    const char* downAlignment;
};

class RichToolbarShows : public RichToolbarTest, public testing::WithParamInterface<ShownCase> {};

TEST_P(RichToolbarShows, SelectionFormattingWithoutChangingTheDocument) {
    const ShownCase& c = GetParam();
    toolbar->SetRichEditor(editor);
    const int undoSteps = editor->document()->availableUndoSteps();
    const std::string before = editor->RtfText();
    Select("free");  // a plain start, so the colour box shows black
    Select(c.word);

    EXPECT_EQ(toolbar->sbold->Down(), c.bold);
    EXPECT_EQ(toolbar->sitalic->Down(), c.italic);
    EXPECT_EQ(toolbar->sunderline->Down(), c.underline);
    EXPECT_EQ(toolbar->FontSizes->currentText(), c.sizeText);
    EXPECT_EQ(toolbar->FontSizes->currentIndex() >= 0, c.sizeItemSelected);
    EXPECT_EQ(toolbar->CurrentSize(), QString(c.sizeText).toInt());
    if (*c.font) {
        if (toolbar->FontName->IndexOfFont(c.font) < 0) GTEST_SKIP() << c.font << " is not installed";
        EXPECT_EQ(toolbar->FontName->currentText(), c.font);
    }
    if (*c.color) {
        EXPECT_EQ(toolbar->FontColorButton->currentText(), QString::fromUtf8(c.color));
    }
    for (TFlatSpeedButton* b : {toolbar->sl, toolbar->sc, toolbar->sr})
        EXPECT_EQ(b->Down(), b->objectName() == c.downAlignment) << b->objectName().toStdString();

    EXPECT_EQ(editor->document()->availableUndoSteps(), undoSteps);
    EXPECT_EQ(editor->RtfText(), before);
    EXPECT_FALSE(toolbar->Updating());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RichToolbarShows, testing::Values(
    ShownCase{"plain",    false, false, false, "10", true,  "DejaVu Sans",  "Schwarz", "sl"},
    ShownCase{"bold",     true,  false, false, "10", true,  "DejaVu Sans",  "Schwarz", "sl"},
    ShownCase{"italic",   false, true,  false, "10", true,  "",             "",        "sl"},
    ShownCase{"under",    false, false, true,  "10", true,  "",             "",        "sl"},
    ShownCase{"red",      false, false, false, "10", true,  "",             "Rot",     "sl"},
    ShownCase{"thirteen", false, false, false, "13", false, "",             "",        "sl"},
    ShownCase{"serif",    false, false, false, "12", true,  "DejaVu Serif", "",        "sl"},
    ShownCase{"centred",  false, false, false, "12", true,  "",             "",        "sc"},
    ShownCase{"right",    false, false, false, "12", true,  "",             "",        "sr"}),
    [](const testing::TestParamInfo<ShownCase>& info) { return std::string(info.param.word); });
// clang-format on

TEST_F(RichToolbarTest, ColourWithoutItemAndJustifiedParagraphLeaveTheControlsAsTheyWere) {
    toolbar->SetRichEditor(editor);
    Select("red");
    Select("odd");  // RGB(1,2,3) has no item: the box keeps "Rot"
    EXPECT_EQ(toolbar->FontColorButton->currentText(), "Rot");
    Select("centred");
    Select("justified");  // justified changes no alignment button
    EXPECT_TRUE(toolbar->sc->Down());
}

TEST_F(RichToolbarTest, PixelFontShowsItsPoints) {
    editor->setPlainText("typed");
    toolbar->SetRichEditor(editor);
    EXPECT_EQ(toolbar->FontSizes->currentText(), "10");
}

// --- the controls into the selection ------------------------------------------------------------

struct ApplyCase {
    const char* name;
    std::function<void(RichToolbarTest&)> act;
    std::function<bool(const ui::TextAttributes&, const RichEdit&)> check;
};

class RichToolbarApplies : public RichToolbarTest, public testing::WithParamInterface<ApplyCase> {};

TEST_P(RichToolbarApplies, ControlChangesTheSelection) {
    toolbar->SetRichEditor(editor);
    Select("free");
    GetParam().act(*this);
    Select("free");
    EXPECT_TRUE(GetParam().check(editor->SelAttributes(), *editor));
    Select("plain");
    EXPECT_EQ(editor->SelAttributes().size, 10);  // text outside the selection keeps its format
    EXPECT_FALSE(editor->SelAttributes().bold);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RichToolbarApplies, testing::Values(
    ApplyCase{"Bold", [](RichToolbarTest& t) { t.Click(t.toolbar->sbold); },
              [](const ui::TextAttributes& a, const RichEdit&) { return a.bold; }},
    ApplyCase{"Italic", [](RichToolbarTest& t) { t.Click(t.toolbar->sitalic); },
              [](const ui::TextAttributes& a, const RichEdit&) { return a.italic; }},
    ApplyCase{"Underline", [](RichToolbarTest& t) { t.Click(t.toolbar->sunderline); },
              [](const ui::TextAttributes& a, const RichEdit&) { return a.underline; }},
    ApplyCase{"BoldTwiceIsOff", [](RichToolbarTest& t) { t.Click(t.toolbar->sbold); t.Click(t.toolbar->sbold); },
              [](const ui::TextAttributes& a, const RichEdit&) { return !a.bold; }},
    ApplyCase{"Centre", [](RichToolbarTest& t) { t.Click(t.toolbar->sc); },
              [](const ui::TextAttributes&, const RichEdit& e) { return e.SelAlignment() == rtf::Alignment::Center; }},
    ApplyCase{"Right", [](RichToolbarTest& t) { t.Click(t.toolbar->sr); },
              [](const ui::TextAttributes&, const RichEdit& e) { return e.SelAlignment() == rtf::Alignment::Right; }},
    ApplyCase{"Colour", [](RichToolbarTest& t) {
                  const int blue = t.toolbar->FontColorButton->IndexOfColor(QColor(0, 0, 255));
                  t.toolbar->FontColorButton->setCurrentIndex(blue);
                  emit t.toolbar->FontColorButton->activated(blue); },
              [](const ui::TextAttributes& a, const RichEdit&) { return !a.autoColor && a.color == QColor(0, 0, 255); }},
    ApplyCase{"FontName", [](RichToolbarTest& t) {
                  const int serif = t.toolbar->FontName->IndexOfFont("DejaVu Serif");
                  t.toolbar->FontName->setCurrentIndex(serif);
                  emit t.toolbar->FontName->activated(serif); },
              [](const ui::TextAttributes& a, const RichEdit&) { return a.name == "DejaVu Serif"; }},
    ApplyCase{"SizeFromList", [](RichToolbarTest& t) { t.toolbar->FontSizes->setCurrentIndex(5); },
              [](const ui::TextAttributes& a, const RichEdit&) { return a.size == 14; }}),
    [](const testing::TestParamInfo<ApplyCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(RichToolbarTest, AlignmentButtonsFollowTheClick) {
    toolbar->SetRichEditor(editor);
    Select("free");
    Click(toolbar->sr);
    EXPECT_TRUE(toolbar->sr->Down());
    EXPECT_FALSE(toolbar->sl->Down());
    Click(toolbar->sl);
    EXPECT_TRUE(toolbar->sl->Down());
    EXPECT_FALSE(toolbar->sr->Down());
    EXPECT_EQ(editor->SelAlignment(), rtf::Alignment::Left);
}

struct SizeCase {
    const char* typed;
    int applied;
};

class RichToolbarSizes : public RichToolbarTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(RichToolbarSizes, TypedSizesAreClamped) {
    toolbar->SetRichEditor(editor);
    Select("free");
    toolbar->FontSizes->setEditText(GetParam().typed);
    EXPECT_EQ(toolbar->CurrentSize(), GetParam().applied);
    EXPECT_EQ(editor->SelAttributes().size, GetParam().applied);
}

INSTANTIATE_TEST_SUITE_P(Cases, RichToolbarSizes,
                         testing::Values(SizeCase{"100", 72}, SizeCase{"3", 5}, SizeCase{"abc", 8},
                                         SizeCase{"", 8}, SizeCase{"13", 13}, SizeCase{" 72 ", 72},
                                         SizeCase{"-4", 5}, SizeCase{"99999999999", 8}));

// --- protected text and read-only editors -------------------------------------------------------

struct BlockedCase {
    const char* name;
    std::function<void(RichToolbarTest&)> act;
};

enum class Where { ProtectedSelection, ProtectedCaret, ReadOnly };

std::string WhereName(Where where) {
    switch (where) {
        case Where::ProtectedSelection:
            return "ProtectedSelection";
        case Where::ProtectedCaret:
            return "ProtectedCaret";
        case Where::ReadOnly:
            break;
    }
    return "ReadOnly";
}

class RichToolbarBlocked : public RichToolbarTest,
                           public testing::WithParamInterface<std::tuple<BlockedCase, Where>> {};

TEST_P(RichToolbarBlocked, ActionsDoNothing) {
    const auto& [c, where] = GetParam();
    toolbar->SetRichEditor(editor);
    Select("plain");
    editor->SetSelStyle(ui::FontStyle::Italic, true);  // something to undo
    if (where == Where::ReadOnly) {
        editor->SetReadOnly(true);
        Select("free");
    } else {
        Select("locked");
        if (where == Where::ProtectedCaret) {
            QTextCursor caret = editor->textCursor();
            caret.setPosition(caret.position() - 2);  // inside "locked"
            editor->setTextCursor(caret);
        }
    }
    QApplication::clipboard()->setText("clip");
    const std::string before = editor->RtfText();
    const ui::TextAttributes typing = editor->SelAttributes();  // at a caret: what would be typed next
    c.act(*this);
    EXPECT_EQ(editor->RtfText(), before);
    EXPECT_EQ(editor->SelAttributes(), typing);
    EXPECT_EQ(QApplication::clipboard()->text(), "clip");
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RichToolbarBlocked, testing::Combine(testing::Values(
    BlockedCase{"Cut", [](RichToolbarTest& t) { t.Click(t.toolbar->scut); }},
    BlockedCase{"Paste", [](RichToolbarTest& t) { t.Click(t.toolbar->spaste); }},
    BlockedCase{"Bold", [](RichToolbarTest& t) { t.Click(t.toolbar->sbold); }},
    BlockedCase{"Italic", [](RichToolbarTest& t) { t.Click(t.toolbar->sitalic); }},
    BlockedCase{"Underline", [](RichToolbarTest& t) { t.Click(t.toolbar->sunderline); }},
    BlockedCase{"Centre", [](RichToolbarTest& t) { t.Click(t.toolbar->sc); }},
    BlockedCase{"Undo", [](RichToolbarTest& t) { t.Click(t.toolbar->sundo); }},
    BlockedCase{"Colour", [](RichToolbarTest& t) { emit t.toolbar->FontColorButton->activated(9); }},
    BlockedCase{"FontName", [](RichToolbarTest& t) { emit t.toolbar->FontName->activated(0); }},
    BlockedCase{"Size", [](RichToolbarTest& t) { t.toolbar->FontSizes->setEditText("36"); }}),
    testing::Values(Where::ProtectedSelection, Where::ProtectedCaret, Where::ReadOnly)),
    [](const testing::TestParamInfo<std::tuple<BlockedCase, Where>>& info) {
        return std::string(std::get<0>(info.param).name) + WhereName(std::get<1>(info.param));
    });
// clang-format on

TEST_F(RichToolbarTest, BlockedToggleShowsTheTextAgain) {
    toolbar->SetRichEditor(editor);
    Select("locked");
    Click(toolbar->sbold);
    EXPECT_FALSE(toolbar->sbold->Down());
}

TEST_F(RichToolbarTest, CopyWorksWhenBlocked) {
    toolbar->SetRichEditor(editor);
    Select("locked");
    QApplication::clipboard()->clear();
    Click(toolbar->scopy);
    EXPECT_EQ(QApplication::clipboard()->text(), "locked");
    editor->SetReadOnly(true);
    Select("free");
    Click(toolbar->scopy);
    EXPECT_EQ(QApplication::clipboard()->text(), "free");
}

TEST_F(RichToolbarTest, ClipboardAndUndoWhenFree) {
    toolbar->SetRichEditor(editor);
    Select("free");
    Click(toolbar->scut);
    EXPECT_EQ(QApplication::clipboard()->text(), "free");
    EXPECT_FALSE(editor->toPlainText().contains("free"));
    Click(toolbar->spaste);
    EXPECT_TRUE(editor->toPlainText().contains("free"));
    Click(toolbar->sundo);
    EXPECT_FALSE(editor->toPlainText().contains("free"));
}

// --- the boxes and the editor's selection -------------------------------------------------------

TEST_F(RichToolbarTest, BoxesKeepTheSelectionVisibleWhileFocused) {
    toolbar->SetRichEditor(editor);
    Select("bold");
    for (QWidget* box :
         {static_cast<QWidget*>(toolbar->FontColorButton), static_cast<QWidget*>(toolbar->FontName),
          static_cast<QWidget*>(toolbar->FontSizes->lineEdit())}) {
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(box, &in);
        EXPECT_FALSE(editor->HideSelection()) << box->objectName().toStdString();
        EXPECT_TRUE(editor->SelectionShown());
        QFocusEvent out(QEvent::FocusOut, Qt::MouseFocusReason);
        QApplication::sendEvent(box, &out);
        EXPECT_TRUE(editor->HideSelection());
    }
}

// --- the add-on button --------------------------------------------------------------------------

class AddonBase : public QWidget {
    Q_OBJECT
};

class Addon : public AddonBase {
    Q_OBJECT
    Q_PROPERTY(QObject* RichEditor MEMBER editor)

  public:
    Q_INVOKABLE Addon() { ++created; }
    QObject* editor = nullptr;
    static inline int created = 0;
};

TEST_F(RichToolbarTest, AddonButtonWithoutRegisteredFormDoesNothing) {
    toolbar->SetRichEditor(editor);
    const int windows = static_cast<int>(QApplication::topLevelWidgets().size());
    Click(toolbar->sBullet);
    EXPECT_EQ(static_cast<int>(QApplication::topLevelWidgets().size()), windows);

    gui::RegisterClass("TFSimpleRTFAddonClass", &Addon::staticMetaObject);  // but no known base class
    Addon::created = 0;
    Click(toolbar->sBullet);
    EXPECT_EQ(Addon::created, 0);
    gui::UnregisterClass("TFSimpleRTFAddonClass");
}

TEST_F(RichToolbarTest, AddonButtonOpensTheRegisteredFormBelowItself) {
    toolbar->SetRichEditor(editor);
    gui::RegisterClass("TFCalcBasisClass", &AddonBase::staticMetaObject);
    gui::RegisterClass("TFSimpleRTFAddonClass", &Addon::staticMetaObject);
    Addon::created = 0;
    Click(toolbar->sBullet);
    gui::UnregisterClass("TFSimpleRTFAddonClass");
    gui::UnregisterClass("TFCalcBasisClass");
    ASSERT_EQ(Addon::created, 1);
    Addon* form = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* a = qobject_cast<Addon*>(w)) form = a;
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->editor, editor);
    EXPECT_EQ(form->pos(), toolbar->sBullet->mapToGlobal(QPoint(0, toolbar->sBullet->height())));
    form->close();
}

// --- what the user sees -------------------------------------------------------------------------

TEST_F(RichToolbarTest, Screenshot) {
    toolbar->SetRichEditor(editor);
    Select("bold");
    editor->SetHideSelection(false);
    QImage image(window->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    window->render(&image);
    const QString path = QString::fromLocal8Bit(qgetenv("VORLUX_BUILD_DIR"));
    image.save((path.isEmpty() ? QString(".") : path) + "/rich_toolbar.png");

    // Every button shows its glyph: dark pixels inside its face.
    for (TFlatSpeedButton* b :
         {toolbar->scut, toolbar->scopy, toolbar->spaste, toolbar->sbold, toolbar->sitalic,
          toolbar->sunderline, toolbar->sl, toolbar->sc, toolbar->sr, toolbar->sBullet, toolbar->sundo}) {
        int dark = 0;
        const QRect r = b->geometry().translated(toolbar->pos());
        for (int y = r.top() + 2; y < r.bottom() - 1; ++y)
            for (int x = r.left() + 2; x < r.right() - 1; ++x)
                if (qGray(image.pixel(x, y)) < 100) ++dark;
        EXPECT_GT(dark, 5) << b->objectName().toStdString();
    }
    // The pressed bold button looks different from the released italic one.
    const QRect bold = toolbar->sbold->geometry();
    const QRect italic = toolbar->sitalic->geometry();
    EXPECT_NE(image.pixel(bold.left() + 2, bold.top() + 2), image.pixel(italic.left() + 2, italic.top() + 2));
}

}  // namespace

#include "rich_toolbar_test.moc"
