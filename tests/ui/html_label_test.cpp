#include "ui/html_label.h"

#include <gtest/gtest.h>

#include "platform/gui/align.h"
#include "platform/gui/shell.h"
#include "tests/ui/ui_test_support.h"

namespace {

using ui::TKTHTM;

class HtmlLabel : public ::testing::Test {
  protected:
    void SetUp() override {
        uitest::EnsureApp();
        gui::SetShellOpen([this](const QString& target) {
            opened.push_back(target);
            return openResult;
        });
    }
    void TearDown() override { gui::SetShellOpen({}); }

    // What the renderer reports for a text laid out in a rectangle, in the label's font.
    static ui::HtmlDrawResult Layout(const QString& text, gui::Rect r) {
        QImage scratch(1, 1, QImage::Format_RGB32);
        QPainter p(&scratch);
        gui::Canvas canvas(p);
        return ui::HtmlDraw(canvas, text, r, {});
    }

    std::vector<QString> opened;
    gui::ShellOpenResult openResult = gui::ShellOpenResult::Ok;
};

TEST_F(HtmlLabel, LinesRunTogether) {
    TKTHTM label;
    label.SetHTMLText({QStringLiteral("eins"), QStringLiteral("zwei")});
    EXPECT_EQ(label.RenderingText(), "einszwei");
    EXPECT_EQ(label.HTMLText().size(), 1);
}

TEST_F(HtmlLabel, VerticalAutoSizeWrapsAtTheWidth) {
    QWidget parent;
    parent.resize(120, 300);
    auto* label = new TKTHTM(&parent);
    label->SetAutoSizeType(ui::asVertical);
    label->SetAutoSizing(true);
    label->SetAlign(gui::alTop);
    const QString text = QStringLiteral("Ein etwas laengerer Satz, der in dieser Breite umbrechen muss.");
    label->SetPreparedText(text);
    label->RenderOnce();
    ui::HtmlDrawResult expected = Layout(text, gui::Rect{0, 0, 120, 100000});
    ASSERT_GT(expected.lineCount, 1);
    EXPECT_EQ(label->width(), 120);
    EXPECT_EQ(label->height(), expected.textHeight + 6);
}

TEST_F(HtmlLabel, BothWaysAutoSizeDoesNotWrap) {
    TKTHTM label;
    label.resize(30, 10);
    label.SetAutoSizeType(ui::asBoth);
    label.SetAutoSizing(true);
    const QString text = QStringLiteral("nicht umbrechen bitte");
    label.SetPreparedText(text);
    label.RenderOnce();
    ui::HtmlDrawResult expected = Layout(text, gui::Rect{0, 0, 100000, 100000});
    EXPECT_EQ(expected.lineCount, 1);
    EXPECT_EQ(label.width(), expected.textWidth + 6);
    EXPECT_EQ(label.height(), expected.textHeight + 6);
}

TEST_F(HtmlLabel, AnchorsAreHitWhereTheyAreDrawnInsideBevelsAndBorder) {
    TKTHTM label;
    label.resize(300, 60);
    label.SetColor(gui::clWhite);
    label.SetBevelOuter(gui::bvRaised);
    label.SetBevelInner(gui::bvLowered);
    label.SetBevelWidth(2);
    label.SetBorderWidth(3);
    label.SetPreparedText(QStringLiteral("vorher <A href=\"http://example.test/\">Verweis</A> nachher"));
    QImage image(label.size(), QImage::Format_RGB32);
    {
        QPainter p(&image);
        label.PaintTo(p, {-1, -1});
    }
    QRect blue;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == QColor(0, 0, 255)) blue = blue.united(QRect(x, y, 1, 1));
    ASSERT_FALSE(blue.isNull());
    EXPECT_GE(blue.left(), 2 + 3 + 2 + 2) << "text starts inside bevels and border";
    EXPECT_EQ(label.AnchorAt(blue.center()), "http://example.test/");
    EXPECT_EQ(label.AnchorUnderMouse(), 1);
    EXPECT_EQ(label.AnchorAt(QPoint(blue.center().x(), blue.bottom() + 15)), QString());
    EXPECT_EQ(label.AnchorUnderMouse(), -1);
}

TEST_F(HtmlLabel, ClickOpensOnlyUrlsAndStripsFilePrefix) {
    TKTHTM label;
    label.resize(400, 40);
    int linkOpened = 0;
    label.OnLinkOpened = [&](QObject* sender) {
        EXPECT_EQ(sender, nullptr);
        ++linkOpened;
    };
    struct Case {
        const char* href;
        const char* opened;  // null: nothing opened
    };
    const Case cases[] = {
        {"C:\\Daten\\Plan.pdf", nullptr},
        {"FILE:///tmp/plan.pdf", "/tmp/plan.pdf"},
        {"mailto:info@example.test", "mailto:info@example.test"},
        {"https://example.test/x", "https://example.test/x"},
    };
    for (const Case& c : cases) {
        opened.clear();
        label.SetPreparedText(QStringLiteral("<A href=\"%1\">Verweis</A>").arg(QString::fromLatin1(c.href)));
        QImage scratch(1, 1, QImage::Format_RGB32);
        const int y = gui::CellMetricsOf(label.GetFont()).Height() / 2;
        uitest::Mouse(&label, QEvent::MouseButtonPress, {5, y});
        uitest::Mouse(&label, QEvent::MouseButtonRelease, {5, y});
        if (c.opened) {
            ASSERT_EQ(opened.size(), 1u) << c.href;
            EXPECT_EQ(opened[0], QString::fromLatin1(c.opened));
        } else {
            EXPECT_TRUE(opened.empty()) << c.href;
        }
    }
    EXPECT_EQ(linkOpened, 3);
    openResult = gui::ShellOpenResult::NoAssociation;
    uitest::Mouse(&label, QEvent::MouseButtonPress, {5, 5});
    EXPECT_EQ(linkOpened, 3) << "a failed open is no opened link";
}

}  // namespace

namespace {

TEST(HtmlLabelCursor, HandOverAnchorsOnly) {
    uitest::EnsureApp();
    TKTHTM label;
    label.resize(300, 40);
    label.SetPreparedText(QStringLiteral("<A href=\"http://example.test\">Verweis</A> Text"));
    const int y = gui::CellMetricsOf(label.GetFont()).Height() / 2;
    uitest::Mouse(&label, QEvent::MouseMove, {5, y}, Qt::NoButton);
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(label.AnchorUnderMouse(), 1);
    uitest::Mouse(&label, QEvent::MouseMove, {250, y}, Qt::NoButton);
    EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
