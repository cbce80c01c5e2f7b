// Text the canvas blends into image pixels itself must give exactly the pixels the painter's own text
// drawing gives, on any background, in any clip and at any place.
#include <gtest/gtest.h>

#include <QBackingStore>
#include <QPaintEngine>
#include <QPainter>
#include <QRandomGenerator>

#include "platform/gui/canvas.h"
#include "tests/ui/ui_test_support.h"
#include "ui/html_draw.h"

namespace {

// Pixels of every value, so that the blending arithmetic meets every channel value. Premultiplied
// images get valid premultiplied pixels of every alpha.
QImage Noise(QSize size, QImage::Format format, quint32 start) {
    QImage image(size, format);
    QRandomGenerator random(start);
    for (int y = 0; y < size.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const quint32 v = random.generate();
            if (format == QImage::Format_ARGB32_Premultiplied)
                line[x] = qPremultiply(v);
            else
                line[x] = v | 0xff000000u;
        }
    }
    return image;
}

struct TextCase {
    const char* name;
    QImage::Format format;
    const char* face;
    int points;
    unsigned style;
    gui::TColor colour;
    QPoint at;         // top left of the text
    QPoint translate;  // of the painter
    QRect clip;        // the painter's clip; none when null
    QRegion systemClip;
};

const QString kText = QString::fromUtf8("Wavy \"fox\" jumps; ÄÖÜ äöüß 0123456789 %&/() Tf.,|");

QImage DrawCase(const TextCase& c, bool direct, bool wide = true) {
    QImage image = Noise(QSize(260, 44), c.format, 7);
    if (!c.systemClip.isEmpty()) image.paintEngine()->setSystemClip(c.systemClip);
    {
        QPainter painter(&image);
        painter.translate(c.translate);
        if (!c.clip.isNull()) painter.setClipRect(c.clip);
        gui::Canvas canvas(painter);
        canvas.SetBrushColor(gui::clNone);
        gui::Font font;
        font.name = QString::fromLatin1(c.face);
        font.size = c.points;
        font.style = c.style;
        font.color = c.colour;
        canvas.SetFont(font);
        gui::Rect r{c.at.x(), c.at.y(), c.at.x() + 600, c.at.y() + 60};
        gui::SetDirectGlyphBlending(direct, wide);
        canvas.DrawText(kText, r, gui::DT_SINGLELINE | gui::DT_NOPREFIX | gui::DT_NOCLIP);
        gui::SetDirectGlyphBlending(true);
    }
    return image;
}

TEST(CanvasText, BlendedTextHasThePaintersPixels) {
    uitest::EnsureApp();
    const QRegion twoBands = QRegion(0, 0, 260, 12) + QRegion(0, 20, 120, 24);
    // clang-format off
    const TextCase cases[] = {
        {"plain", QImage::Format_RGB32, "Tahoma", 8, 0, gui::clBlack, {2, 4}, {}, {}, {}},
        {"premultiplied surface", QImage::Format_ARGB32_Premultiplied, "Tahoma", 8, 0, 0x2040C0, {2, 4}, {}, {}, {}},
        {"bold, large, coloured", QImage::Format_RGB32, "Tahoma", 14, gui::fsBold, 0x00A0FF, {1, 2}, {}, {}, {}},
        {"italic", QImage::Format_RGB32, "Tahoma", 10, gui::fsItalic, gui::clRed, {3, 6}, {}, {}, {}},
        {"white", QImage::Format_RGB32, "MS Sans Serif", 8, 0, gui::clWhite, {0, 0}, {}, {}, {}},
        {"painter moved", QImage::Format_RGB32, "Tahoma", 8, 0, gui::clBlack, {2, 4}, {7, 9}, {}, {}},
        {"past the left and top edges", QImage::Format_RGB32, "Tahoma", 12, 0, 0x123456, {-5, -6}, {}, {}, {}},
        {"past the right and bottom edges", QImage::Format_RGB32, "Tahoma", 12, 0, 0x654321, {60, 33}, {}, {}, {}},
        {"clip through glyphs", QImage::Format_RGB32, "Tahoma", 10, 0, gui::clBlack, {2, 4}, {}, {13, 7, 101, 6}, {}},
        {"clip and move", QImage::Format_RGB32, "Tahoma", 10, 0, 0x800000, {2, 4}, {-3, 2}, {30, 0, 57, 40}, {}},
        {"window region", QImage::Format_RGB32, "Tahoma", 14, 0, gui::clBlack, {2, 8}, {}, {}, twoBands},
        {"large print", QImage::Format_RGB32, "Tahoma", 36, 0, 0x008000, {-20, -8}, {}, {}, {}},
        {"window region and clip", QImage::Format_ARGB32_Premultiplied, "Tahoma", 14, 0, 0x000080, {2, 8}, {},
         {5, 5, 200, 30}, twoBands},
    };
    // clang-format on
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        const long long before = gui::DirectlyBlendedRuns();
        const QImage direct = DrawCase(c, true);
        EXPECT_EQ(gui::DirectlyBlendedRuns(), before + 1) << "the canvas blended the text itself";
        const QImage painted = DrawCase(c, false);
        EXPECT_NE(painted, Noise(painted.size(), c.format, 7)) << "text was drawn";
        EXPECT_EQ(direct, painted);
        EXPECT_EQ(DrawCase(c, true, false), painted) << "four pixels at a time";
    }
}

TEST(CanvasText, PainterStatesTheCanvasCannotMatchGoThroughThePainter) {
    uitest::EnsureApp();
    struct StateCase {
        const char* name;
        void (*set)(QPainter&);
    };
    const StateCase cases[] = {
        {"half opacity", [](QPainter& p) { p.setOpacity(0.5); }},
        {"other composition", [](QPainter& p) { p.setCompositionMode(QPainter::CompositionMode_Multiply); }},
        {"scaled", [](QPainter& p) { p.scale(2, 2); }},
        {"half-pixel move", [](QPainter& p) { p.translate(0.5, 0); }},
        {"round clip", [](QPainter& p) { p.setClipRegion(QRegion(10, 0, 80, 40, QRegion::Ellipse)); }},
    };
    for (const StateCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto draw = [&](bool direct) {
            QImage image = Noise(QSize(200, 40), QImage::Format_RGB32, 3);
            {
                QPainter painter(&image);
                c.set(painter);
                gui::Canvas canvas(painter);
                canvas.SetBrushColor(gui::clNone);
                gui::Rect r{2, 4, 300, 40};
                gui::SetDirectGlyphBlending(direct);
                canvas.DrawText(kText, r, gui::DT_SINGLELINE | gui::DT_NOPREFIX | gui::DT_NOCLIP);
                gui::SetDirectGlyphBlending(true);
            }
            return image;
        };
        const long long before = gui::DirectlyBlendedRuns();
        const QImage direct = draw(true);
        EXPECT_EQ(gui::DirectlyBlendedRuns(), before);
        EXPECT_EQ(direct, draw(false));
    }
}

// Past the size the painter draws glyph by glyph from its cache it fills a run's outlines together.
TEST(CanvasText, PrintLargerThanThePaintersGlyphCacheGoesThroughThePainter) {
    uitest::EnsureApp();
    const TextCase c{"huge", QImage::Format_RGB32, "Tahoma", 60, 0, gui::clBlack, {-10, -20}, {}, {}, {}};
    const long long before = gui::DirectlyBlendedRuns();
    const QImage direct = DrawCase(c, true);
    EXPECT_EQ(gui::DirectlyBlendedRuns(), before);
    EXPECT_EQ(direct, DrawCase(c, false));
}

// The renderer draws its pieces through the canvas: whole messages come out the same either way.
TEST(CanvasText, RenderedMarkupHasThePaintersPixels) {
    uitest::EnsureApp();
    const char* const markups[] = {
        "<B>Kalkulation kann nicht gespeichert werden:</B><BR>Stream write error",
        "<B>Möglicher Fehler:</B><BR>Die Datei &lt;Vorlux.RTF&gt; kann nicht geöffnet werden, weil sie von "
        "einem anderen Prozess verwendet wird.",
        "Plain <I>italic</I> <FONT color=\"#C00000\" size=\"4\">red and big</FONT> <A href=\"x\">link</A> "
        "x<SUB>2</SUB> <SHADOW>shadow</SHADOW> <P align=\"right\">right</P><HI>marked</HI> <S>gone</S>",
    };
    for (const char* m : markups) {
        SCOPED_TRACE(m);
        auto draw = [&](bool direct) {
            QImage image = Noise(QSize(300, 90), QImage::Format_RGB32, 11);
            QPainter painter(&image);
            gui::Canvas canvas(painter);
            gui::SetDirectGlyphBlending(direct);
            ui::HtmlDraw(canvas, QString::fromUtf8(m), gui::Rect{3, 2, 297, 88});
            gui::SetDirectGlyphBlending(true);
            return image;
        };
        const long long before = gui::DirectlyBlendedRuns();
        const QImage direct = draw(true);
        EXPECT_GT(gui::DirectlyBlendedRuns(), before);
        EXPECT_EQ(direct, draw(false));
    }
}

}  // namespace

namespace {

// A child widget painting noise and text; its window's backing store holds what it painted.
class TextWidget : public QWidget {
  public:
    explicit TextWidget(QWidget* parent) : QWidget(parent) {}
    bool direct = true;
    long long blended = 0;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, Noise(size(), QImage::Format_RGB32, 5));
        gui::Canvas canvas(painter);
        canvas.SetBrushColor(gui::clNone);
        gui::Font font;
        font.size = 12;
        canvas.SetFont(font);
        gui::Rect r{-3, 2, 400, 40};
        const long long before = gui::DirectlyBlendedRuns();
        gui::SetDirectGlyphBlending(direct);
        canvas.DrawText(kText, r, gui::DT_SINGLELINE | gui::DT_NOPREFIX | gui::DT_NOCLIP);
        gui::SetDirectGlyphBlending(true);
        blended += gui::DirectlyBlendedRuns() - before;
    }
};

// Painted in a window, the text lands where the painter puts it and stays inside the part being
// repainted.
TEST(CanvasText, WindowPaintingHasThePaintersPixels) {
    uitest::EnsureApp();
    QWidget window;
    window.resize(320, 80);
    TextWidget text(&window);
    text.setGeometry(13, 7, 280, 40);
    uitest::ShowActive(&window);
    QPaintDevice* device = window.backingStore() ? window.backingStore()->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) GTEST_SKIP() << "no image behind the window";
    auto paintPart = [&](bool direct, QRect part) {
        text.direct = direct;
        text.repaint(QRect(0, 0, 280, 40));  // the whole widget first, through the painter
        text.direct = direct;
        text.repaint(part);
        return static_cast<QImage*>(device)->copy(text.geometry());
    };
    const QRect parts[] = {QRect(0, 0, 280, 40), QRect(31, 5, 97, 9)};
    for (const QRect& part : parts) {
        SCOPED_TRACE(part.x());
        text.blended = 0;
        const QImage direct = paintPart(true, part);
        EXPECT_GT(text.blended, 0) << "the canvas blended the text itself";
        EXPECT_EQ(direct, paintPart(false, part));
    }
}

}  // namespace
