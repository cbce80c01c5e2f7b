#pragma once
// A drawing surface in the vocabulary of the window system's device contexts: a current font, brush and
// pen, text extents, rectangles and 3-D frames, polylines, gradients, images with a transparent colour,
// and text output with the usual formatting flags. It wraps a QPainter owned by the caller.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <memory>
#include <vector>

#include "platform/gui/color.h"
#include "platform/gui/rect.h"

namespace gui {

// Logical pixels per inch the system's forms were designed at.
inline constexpr int kPixelsPerInch = 96;

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct Font {
    QString name = QStringLiteral("Tahoma");
    int size = 8;        // points; used when height is 0
    int height = 0;      // character height in pixels (without internal leading); 0 = use size
    unsigned style = 0;  // FontStyle bits
    TColor color = clWindowText;
    int angle = 0;  // escapement in tenths of a degree, counter-clockwise

    int PixelSize() const;  // the character height in pixels
    QFont ToQFont() const;
    bool operator==(const Font&) const = default;
};

// The vertical metrics of a font's character cell as the window system reports them: ascent and
// descent from the font's own Windows metrics when it has them (so accents on capitals stay inside the
// cell), else from Qt's metrics.
struct CellMetrics {
    int ascent = 0;
    int descent = 0;
    int externalLeading = 0;
    int Height() const { return ascent + descent; }
};
CellMetrics CellMetricsOf(const QFont& font);
inline CellMetrics CellMetricsOf(const Font& font) {
    return CellMetricsOf(font.ToQFont());
}

// Text output flags, with the values of the window system's text drawing routine.
enum TextFlag : unsigned {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_EXTERNALLEADING = 0x200,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};

class GlyphCache;

class Canvas {
  public:
    explicit Canvas(QPainter& painter);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    QPainter& Painter() { return painter_; }

    const Font& GetFont() const { return font_; }
    void SetFont(const Font& font);
    TColor BrushColor() const { return brush_; }
    void SetBrushColor(TColor c) { brush_ = c; }  // clNone: hollow brush, transparent text background
    TColor PenColor() const { return pen_; }
    void SetPen(TColor c, int width = 1) {
        pen_ = c;
        penWidth_ = width;
    }

    QSize TextExtent(const QString& text) const;  // one line, no prefix processing
    // Height of one line of text in the current font (with the font's external leading when asked).
    int LineHeight(bool externalLeading = false) const {
        return cell_.Height() + (externalLeading ? cell_.externalLeading : 0);
    }
    int TextWidth(const QString& text) const { return TextExtent(text).width(); }
    int MeasureText(QStringView text) const;  // TextExtent's width, without building a string
    int TextHeight(const QString& text) const { return TextExtent(text).height(); }

    void FillRect(const Rect& r);  // with the brush; nothing for a hollow brush
    void FillRect(const Rect& r, TColor c);
    void FrameRect(const Rect& r, TColor c);  // 1 pixel inside r
    // Draws `width` nested frames inside r, top and left edges in topLeft, bottom and right in
    // bottomRight, and shrinks r by the width.
    void Frame3D(Rect& r, TColor topLeft, TColor bottomRight, int width);
    void Polyline(const std::vector<QPoint>& points);  // with the pen, last point excluded
    void LineTo(int x1, int y1, int x2, int y2) { Polyline({{x1, y1}, {x2, y2}}); }
    void GradientFill(const Rect& r, TColor from, TColor to, bool vertical);
    // Draws the image with every pixel of colour `transparent` left out (clNone: all pixels drawn).
    void DrawImage(int x, int y, const QImage& image, TColor transparent = clNone);

    // Formats text into r. With DT_CALCRECT only measures: r's right and bottom are set to the extent.
    // Without DT_NOPREFIX "&x" underlines x and "&&" shows one ampersand. Returns the text height.
    int DrawText(const QString& text, Rect& r, unsigned flags);

    void SetClipRect(const Rect& r);
    void ResetClip();

  private:
    QPainter& painter_;
    Font font_;
    TColor brush_ = clWhite;
    TColor pen_ = clBlack;
    int penWidth_ = 1;
    int DrawSingleLine(const QString& text, Rect& r, unsigned flags);  // -1: not a single plain line

    // The font in force, resolved once per process and shared by every canvas that uses it: text
    // switches between a few looks many times, and resolving one (its Qt font, metrics and glyph
    // cache) costs far more than drawing a short piece.
    struct Face;
    std::shared_ptr<Face> face_;
    CellMetrics cell_;
    static std::shared_ptr<Face> FaceFor(const Font& font, int pixelSize);
};

// Plain text in an opaque colour is blended into the pixels of an image by the canvas itself when
// the painter allows (see canvas.cpp), with the same arithmetic and the same glyph coverage as the
// painter's own text drawing, so the pixels are the same either way. Off: always through the painter
// (for comparing the two). Not wide: four pixels at a time even where the processor could take eight.
void SetDirectGlyphBlending(bool on, bool wide = true);
// How many pieces of text the canvas has blended itself so far.
long long DirectlyBlendedRuns();

// The text without accelerator marks, and the index of the accelerator character (-1 when none).
QString StripAccelerator(const QString& text, int* acceleratorIndex = nullptr);
// The accelerator character of a caption ("&Übernehmen" gives 'Ü'), or a null QChar.
QChar AcceleratorChar(const QString& caption);

}  // namespace gui
