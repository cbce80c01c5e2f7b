#include "ui/html_draw.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

#include "tests/ui/ui_test_support.h"

namespace {

using gui::Rect;

struct Rendered {
    QImage image;
    ui::HtmlDrawResult result;
};

// Renders markup into a white image in the default font (Tahoma 8, black), the layout rectangle
// being the whole image unless given.
Rendered Render(const QString& markup, QSize size, ui::HtmlDrawParams params = {}, Rect rect = {}) {
    uitest::EnsureApp();
    Rendered out;
    out.image = QImage(size, QImage::Format_RGB32);
    out.image.fill(Qt::white);
    QPainter p(&out.image);
    gui::Canvas canvas(p);
    canvas.SetBrushColor(gui::clWhite);
    if (rect.IsEmpty()) rect = Rect::FromSize(0, 0, size.width(), size.height());
    out.result = ui::HtmlDraw(canvas, markup, rect, params);
    return out;
}

int LineHeight(int points = 8) {
    uitest::EnsureApp();
    gui::Font f;
    f.size = points;
    gui::CellMetrics m = gui::CellMetricsOf(f);
    return m.Height() + m.externalLeading;
}

// Width of a text as the canvas measures it in the default font (the metrics the renderer uses).
int Width(const QString& s, unsigned style = 0, int points = 8) {
    uitest::EnsureApp();
    QImage scratch(1, 1, QImage::Format_RGB32);
    QPainter p(&scratch);
    gui::Canvas canvas(p);
    gui::Font f;
    f.size = points;
    f.style = style;
    canvas.SetFont(f);
    return canvas.TextWidth(s);
}

bool HasColour(const QImage& image, QColor colour, QRect area = {}) {
    if (area.isNull()) area = image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour) return true;
    return false;
}

struct MeasureCase {
    const char* markup;
    int rectWidth;
    int lines;
    QString sameWidthAs;  // plain text whose width the markup must measure; empty = not checked
};

TEST(HtmlDraw, LineBreakingAndMeasuring) {
    const int wide = 400;
    const int narrow = Width("eins zwei") - 2;  // too narrow for two short words
    const MeasureCase cases[] = {
        {"", wide, 0, ""},
        {"A&amp;B", wide, 1, "A&B"},
        {"A&AMP;B", wide, 1, "A&B"},                 // entity names ignore case
        {"&amp;lt;", wide, 1, "<"},                  // "&amp;" first, then "&lt;" in the chunk
        {"eins&nbsp;zwei", narrow, 1, "eins zwei"},  // a non-breaking space never breaks
        {"eins zwei", narrow, 2, ""},
        {"eins<BR>zwei", wide, 2, ""},
        {"eins<br>zwei", wide, 2, ""},
        {"eins\r\nzwei", wide, 2, ""},                         // CR LF starts a line like <BR>
        {"eins\nzwei", wide, 1, "einszwei"},                   // a bare line feed is dropped
        {"eins<Z>versteckt </Z>zwei", wide, 1, "einszwei"},    // hidden text is not measured
        {"<B>eins</B>zwei", narrow, 1, ""},                    // a word split by tags stays whole
        {"eins <B>zwei</B>", narrow, 2, ""},                   // a word after a tag still wraps
        {"Riesenwortohnepause kurz", Width("Riesen"), 2, ""},  // too wide: alone on its line
        {"eins<HR>zwei", wide, 2, ""},
        {"<P>eins</P>zwei", wide, 2, ""},
        {"<", wide, 1, ""},  // malformed tags: one empty line, no error, no loop
        {"<FONT", wide, 1, ""},
        {"<A href=\">", wide, 1, ""},
        {"#zz", wide, 1, "#zz"},
        {"x<FONT color=\"#zz\" size=\"\">y", wide, 1, ""},
        {"<UL><LI>a<LI>b</UL>", wide, 2, ""},  // a second list item does not fit the line
    };
    for (const MeasureCase& c : cases) {
        Rendered r = Render(QString::fromUtf8(c.markup), {c.rectWidth, 200});
        EXPECT_EQ(r.result.lineCount, c.lines) << c.markup;
        if (!c.sameWidthAs.isEmpty()) {
            EXPECT_EQ(r.result.textWidth, Width(c.sameWidthAs)) << c.markup;
        }
        if (c.lines > 0) {
            EXPECT_EQ(r.result.textHeight, c.lines * LineHeight()) << c.markup;
        }
    }
}

TEST(HtmlDraw, EmptyTextReportsTheHeightOfOneLine) {
    Rendered r = Render(QString(), {100, 50});
    EXPECT_EQ(r.result.textWidth, 0);
    EXPECT_EQ(r.result.textHeight, LineHeight());
    EXPECT_EQ(uitest::InkBox(r.image, qRgb(255, 255, 255)), QRect());
}

TEST(HtmlDraw, TrailingSpaceIsNotCounted) {
    EXPECT_EQ(Render("eins zwei ", {400, 50}).result.textWidth, Width("eins zwei"));
}

TEST(HtmlDraw, StopsWhenTheNextLineWouldLeaveTheRectangle) {
    const int h = LineHeight();
    Rendered r = Render("1<BR>2<BR>3<BR>4<BR>5", {100, h * 5 / 2});
    EXPECT_EQ(r.result.lineCount, 2);
    EXPECT_EQ(r.result.textHeight, 2 * h);
    EXPECT_EQ(Render("1<BR>2<BR>3", {100, h / 2}).result.lineCount, 1) << "the first line always counts";
}

TEST(HtmlDraw, FontSizesAndEndTagReturnToTheStartingFont) {
    EXPECT_EQ(Render("<FONT size=\"3\">X</FONT>", {200, 100}).result.textHeight, LineHeight(12));
    EXPECT_EQ(Render("<FONT size=10>X</FONT>", {200, 100}).result.textHeight, LineHeight(10));
    EXPECT_EQ(Render("<FONT size=\"1\"><FONT size=\"5\">X</FONT>X", {200, 100}).result.textWidth,
              Width("X", 0, 16) + Width("X"));
}

TEST(HtmlDraw, FontColourAppliesUntilTheEndTag) {
    Rendered r = Render("<FONT color=\"#808080\">MMMM</Font>MMMM", {300, 40});
    const int split = Width("MMMM");
    const QRect first(0, 0, split, 40), second(split + 1, 0, 300 - split - 1, 40);
    EXPECT_TRUE(HasColour(r.image, QColor(0x80, 0x80, 0x80), first));
    EXPECT_FALSE(HasColour(r.image, Qt::black, first));
    EXPECT_TRUE(HasColour(r.image, Qt::black, second));
    EXPECT_FALSE(HasColour(r.image, QColor(0x80, 0x80, 0x80), second));
}

TEST(HtmlDraw, BoldTagWidensTheText) {
    EXPECT_EQ(Render("<B>Fett</B>", {300, 40}).result.textWidth, Width("Fett", gui::fsBold));
}

TEST(HtmlDraw, RightAlignedLineShowsEveryWordUpToTheRightEdge) {
    // The last word ("i") is narrower than a "W": it must be drawn all the same.
    Rendered r = Render("<P align=\"right\">ab cd i", {200, 30});
    QRect ink = uitest::InkBox(r.image, qRgb(255, 255, 255));
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.right(), 200 - 3);
    EXPECT_LE(ink.left(), 200 - Width("ab cd i") + 2);
    QRect lastWord = uitest::InkBox(r.image, qRgb(255, 255, 255), QRect(200 - Width("i"), 0, Width("i"), 30));
    EXPECT_FALSE(lastWord.isNull());
}

TEST(HtmlDraw, CentredLine) {
    Rendered r = Render("<P align=\"center\">Mitte", {201, 30});
    QRect ink = uitest::InkBox(r.image, qRgb(255, 255, 255));
    const int expectedLeft = 1 + (200 - Width("Mitte")) / 2;
    EXPECT_NEAR(ink.left(), expectedLeft, 2);
}

TEST(HtmlDraw, AnchorIsHitOnlyInsideItsLine) {
    const QString markup = "<A href=\"http://example.test/a\">Verweis</A> Text<BR>zweite Zeile";
    const int h = LineHeight();
    ui::HtmlDrawParams params;
    params.hitX = 1 + Width("Verweis") / 2;
    params.hitY = h / 2;
    Rendered on = Render(markup, {300, 60}, params);
    EXPECT_TRUE(on.result.overAnchor);
    EXPECT_EQ(on.result.anchorHref, "http://example.test/a");
    EXPECT_EQ(on.result.mouseAnchor, 1);
    params.hitY = h + h / 2;  // same x, second line
    Rendered below = Render(markup, {300, 60}, params);
    EXPECT_FALSE(below.result.overAnchor);
    EXPECT_EQ(below.result.mouseAnchor, -1);
    params.hitY = h / 2;
    params.hitX = 1 + Width("Verweis Te");
    EXPECT_FALSE(Render(markup, {300, 60}, params).result.overAnchor);
    params.noDraw = true;
    params.hitX = 1 + Width("Verweis") / 2;
    Rendered quiet = Render(markup, {300, 60}, params);
    EXPECT_TRUE(quiet.result.overAnchor);
    EXPECT_EQ(uitest::InkBox(quiet.image, qRgb(255, 255, 255)), QRect()) << "noDraw paints nothing";
}

TEST(HtmlDraw, SecondAnchorIsNumberedTwo) {
    ui::HtmlDrawParams params;
    params.hitX = 1 + Width("a b ") + Width("zweiter") / 2;
    params.hitY = LineHeight() / 2;
    Rendered r = Render("<A href=\"x\">a</A> b <A href=\"y\">zweiter</A>", {300, 30}, params);
    EXPECT_EQ(r.result.anchorHref, "y");
    EXPECT_EQ(r.result.mouseAnchor, 2);
}

TEST(HtmlDraw, AnchorIsBlueAndUnderlined) {
    Rendered r = Render("<A href=\"x\">Link</A>", {100, 30});
    EXPECT_TRUE(HasColour(r.image, QColor(0, 0, 255)));
    QRect ink = uitest::InkBox(r.image, qRgb(255, 255, 255));
    EXPECT_GE(ink.width(), Width("Link") - 2) << "the underline runs the whole word";
}

TEST(HtmlDraw, BackgroundsAndShadow) {
    Rendered bg = Render("<FONT bgcolor=\"#00FF00\">grün</FONT> weiß", {200, 30});
    EXPECT_TRUE(HasColour(bg.image, QColor(0, 255, 0), QRect(0, 0, Width("grün"), 30)));
    EXPECT_FALSE(HasColour(bg.image, QColor(0, 255, 0), QRect(Width("grün ") + 2, 0, 50, 30)));
    Rendered body = Render("<BODY bgcolor=\"clYellow\">x", {50, 30});
    EXPECT_EQ(body.image.pixelColor(45, 25), QColor(255, 255, 0));
    Rendered band = Render("<P bgcolor=\"#0000FF\">a</P>b", {100, 60});
    EXPECT_EQ(band.image.pixelColor(95, 2), QColor(0, 0, 255)) << "the band spans the whole width";
    EXPECT_NE(band.image.pixelColor(95, LineHeight() + 2), QColor(0, 0, 255))
        << "and ends with the paragraph";
    const QRgb white = qRgb(255, 255, 255);
    QRect plain = uitest::InkBox(Render("Schatten", {200, 30}).image, white);
    QRect shadowed = uitest::InkBox(Render("<SH>Schatten</SH>", {200, 30}).image, white);
    EXPECT_EQ(shadowed.right(), plain.right() + 2) << "the grey copy lies 2 pixels right and down";
    EXPECT_EQ(shadowed.bottom(), plain.bottom() + 2);
}

TEST(HtmlDraw, ErrorUnderlineIsRedZigzag) {
    Rendered r = Render("<E>Fehler</E>", {200, 30});
    EXPECT_TRUE(HasColour(r.image, QColor(255, 0, 0)));
}

TEST(HtmlDraw, ColourValues) {
    EXPECT_EQ(ui::HtmlColor("#FF0000"), 0x0000FFu);
    EXPECT_EQ(ui::HtmlColor("#00ff80"), 0x80FF00u);
    EXPECT_EQ(ui::HtmlColor("#12"), 0x000012u);
    EXPECT_EQ(ui::HtmlColor("#zz"), 0u);
    EXPECT_EQ(ui::HtmlColor("clRed"), 0x0000FFu);
    EXPECT_EQ(ui::HtmlColor("cl3ddkshadow"), gui::SystemColor(21));
    EXPECT_EQ(ui::HtmlColor("clgraytext"), gui::SystemColor(17));
    EXPECT_EQ(ui::HtmlColor("unbekannt"), 0u);
}

TEST(HtmlDraw, EntitiesGiveWindows1252Characters) {
    EXPECT_EQ(Render("&euro;&sect;&copy;", {300, 30}).result.textWidth, Width(QString::fromUtf8("€§©")));
}

TEST(HtmlDraw, CanvasStateIsRestored) {
    uitest::EnsureApp();
    QImage image(100, 30, QImage::Format_RGB32);
    QPainter p(&image);
    gui::Canvas canvas(p);
    gui::Font f;
    f.color = gui::clBlue;
    canvas.SetFont(f);
    canvas.SetBrushColor(gui::clWhite);
    ui::HtmlDraw(canvas, "<B><FONT size=\"5\" color=\"#00FF00\">offen", Rect{0, 0, 100, 30});
    EXPECT_EQ(canvas.GetFont(), f);
    EXPECT_EQ(canvas.BrushColor(), gui::clWhite);
}

TEST(HtmlDraw, ConvertLineBreaks) {
    EXPECT_EQ(ui::ConvertLineBreaks("a\r\nb\nc\rd", true), "a<BR>bc<BR>d");
    EXPECT_EQ(ui::ConvertLineBreaks("a\r\nb\nc\rd", false), "abcd");
}

}  // namespace

namespace {

int InkCount(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
}

TEST(HtmlDraw, BoldIsDrawnHeavier) {
    const int plain = InkCount(Render("Fett", {100, 30}).image);
    const int bold = InkCount(Render("<B>Fett</B>", {100, 30}).image);
    EXPECT_GT(bold, plain * 11 / 10);
}

}  // namespace
