#include "platform/gui/canvas.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QLinearGradient>
#include <QPixmap>
#include <QRawFont>
#include <algorithm>
#include <cmath>

namespace gui {

int Font::PixelSize() const {
    if (height > 0) return height;
    // Points to pixels at the design resolution, rounded like the window system does (8 pt -> 11 px).
    return std::max(1, static_cast<int>(std::lround(size * kPixelsPerInch / 72.0)));
}

QFont Font::ToQFont() const {
    QFont f(name);
    f.setPixelSize(PixelSize());
    f.setBold(style & fsBold);
    f.setItalic(style & fsItalic);
    f.setUnderline(style & fsUnderline);
    f.setStrikeOut(style & fsStrikeOut);
    f.setKerning(false);
    // Whole-pixel advances, as the window system measures text: a line measured in pieces is as wide
    // as the same line measured whole.
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

CellMetrics CellMetricsOf(const QFont& font) {
    static QHash<QString, CellMetrics> cache;
    const QString key = font.key();
    auto it = cache.constFind(key);
    if (it != cache.constEnd()) return *it;
    QFontMetrics fm(font);
    CellMetrics m{fm.ascent(), fm.descent(), std::max(0, fm.leading())};
    QRawFont raw = QRawFont::fromFont(font);
    QByteArray os2 = raw.isValid() ? raw.fontTable("OS/2") : QByteArray();
    if (os2.size() >= 78 && raw.unitsPerEm() > 0) {
        auto u16 = [&](int at) {
            return (static_cast<unsigned char>(os2[at]) << 8) | static_cast<unsigned char>(os2[at + 1]);
        };
        const double pixels = font.pixelSize() > 0 ? font.pixelSize() : raw.pixelSize();
        const double scale = pixels / raw.unitsPerEm();
        const int ascent = static_cast<int>(std::lround(u16(74) * scale));
        const int descent = static_cast<int>(std::lround(u16(76) * scale));
        if (ascent + descent <= 3 * pixels) {  // bitmap-only faces report no usable design units
            m.ascent = std::max(m.ascent, ascent);
            m.descent = std::max(m.descent, descent);
        }
    }
    cache.insert(key, m);
    return m;
}

// Glyphs and whole-pixel advances of one font, character by character. Text is measured and drawn
// in many short pieces; looking glyphs up here spares shaping every piece twice. Pieces with
// characters the font lacks take the general path.
class GlyphCache {
  public:
    explicit GlyphCache(const QFont& font) : raw_(QRawFont::fromFont(font)), metrics_(font) {
        std::fill(std::begin(known_), std::end(known_), false);
    }

    // Width of the text, or -1 when a character has no glyph of this font.
    int Width(QStringView text) {
        if (!raw_.isValid()) return -1;
        int w = 0;
        for (QChar c : text) {
            const Entry& e = Lookup(c);
            if (e.glyph == 0) return -1;
            w += e.advance;
        }
        return w;
    }

    // Draws the text with its baseline starting at `origin`; false when a character has no glyph.
    bool Draw(QPainter& painter, QPoint origin, QStringView text, bool underline, bool strikeOut) {
        if (!raw_.isValid()) return false;
        const qsizetype n = text.size();
        glyphs_.resize(n);
        positions_.resize(n);
        quint32* glyphs = glyphs_.data();
        QPointF* positions = positions_.data();
        // Blank glyphs leave no pixels; they are passed on only when a line runs through the text.
        const bool keepBlanks = underline || strikeOut;
        int x = 0;
        int count = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const Entry& e = Lookup(text[i]);
            if (e.glyph == 0) return false;
            if (!e.blank || keepBlanks) {
                glyphs[count] = e.glyph;
                positions[count] = QPointF(x, 0);
                ++count;
            }
            x += e.advance;
        }
        if (count == 0) return true;
        run_.setRawFont(raw_);
        run_.setRawData(glyphs, positions, count);
        run_.setUnderline(underline);
        run_.setStrikeOut(strikeOut);
        painter.drawGlyphRun(origin, run_);
        return true;
    }

  private:
    struct Entry {
        quint32 glyph = 0;
        int advance = 0;
        bool blank = false;  // a space whose glyph has no ink
    };

    const Entry& Lookup(QChar c) {
        const char16_t u = c.unicode();
        if (u < 256) {
            if (!known_[u]) {
                latin_[u] = Compute(c);
                known_[u] = true;
            }
            return latin_[u];
        }
        auto it = other_.find(u);
        if (it == other_.end()) it = other_.insert(u, Compute(c));
        return *it;
    }

    Entry Compute(QChar c) const {
        if (c.isSurrogate() || c.category() == QChar::Mark_NonSpacing) return {};
        QList<quint32> indexes = raw_.glyphIndexesForString(QString(c));
        if (indexes.size() != 1) return {};
        return {indexes[0], metrics_.horizontalAdvance(c), c.isSpace() && HasNoInk(indexes[0])};
    }

    bool HasNoInk(quint32 glyph) const {
        const QImage mask = raw_.alphaMapForGlyph(glyph);
        const int depth = mask.depth();
        if (depth != 8 && depth != 32) return false;  // an unexpected mask: treat it as drawn
        for (int y = 0; y < mask.height(); ++y) {
            const uchar* line = mask.constScanLine(y);
            for (int x = 0; x < mask.width(); ++x) {
                if (depth == 8 && line[x] != 0) return false;
                if (depth == 32 && (reinterpret_cast<const quint32*>(line)[x] & 0xFFFFFFu) != 0) return false;
            }
        }
        return true;
    }

    QRawFont raw_;
    QFontMetrics metrics_;
    Entry latin_[256];
    bool known_[256];
    QHash<char16_t, Entry> other_;
    // Buffers reused from run to run; the glyph run refers to them only while it is drawn.
    std::vector<quint32> glyphs_;
    std::vector<QPointF> positions_;
    QGlyphRun run_;
};

namespace {

std::shared_ptr<GlyphCache> GlyphCacheFor(const QFont& font) {
    static QHash<QString, std::shared_ptr<GlyphCache>> caches;
    const QString key = font.key();
    auto it = caches.find(key);
    if (it == caches.end()) it = caches.insert(key, std::make_shared<GlyphCache>(font));
    return *it;
}

}  // namespace

QString StripAccelerator(const QString& text, int* acceleratorIndex) {
    QString out;
    out.reserve(text.size());
    int accel = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != u'&' && accel < 0) accel = static_cast<int>(out.size());
        } else if (text[i] == u'&') {
            continue;  // a lone trailing "&" shows nothing
        }
        out.append(text[i]);
    }
    if (acceleratorIndex) *acceleratorIndex = accel;
    return out;
}

QChar AcceleratorChar(const QString& caption) {
    int index = -1;
    QString plain = StripAccelerator(caption, &index);
    return index >= 0 ? plain[index] : QChar();
}

struct Canvas::Face {
    QString name;
    int pixelSize = 0;
    unsigned style = 0;
    QFont qfont;
    QFontMetrics metrics;
    std::shared_ptr<GlyphCache> glyphs;
    CellMetrics cell;
};

std::shared_ptr<Canvas::Face> Canvas::FaceFor(const Font& font, int pixelSize) {
    // Canvases live on the GUI thread; a program uses a handful of faces. The list is emptied when
    // it grows past that (canvases keep the faces they hold).
    static std::vector<std::shared_ptr<Face>> faces;
    for (const std::shared_ptr<Face>& f : faces)
        if (f->pixelSize == pixelSize && f->style == font.style && f->name == font.name) return f;
    if (faces.size() >= 64) faces.clear();
    QFont q = font.ToQFont();
    QFontMetrics m(q);
    std::shared_ptr<GlyphCache> g = GlyphCacheFor(q);
    CellMetrics c = CellMetricsOf(q);
    faces.push_back(std::make_shared<Face>(Face{font.name, pixelSize, font.style, q, m, std::move(g), c}));
    return faces.back();
}

Canvas::Canvas(QPainter& painter) : painter_(painter) {
    painter_.save();
    SetFont(Font{});
}

Canvas::~Canvas() {
    painter_.restore();
}

void Canvas::SetFont(const Font& font) {
    const int pixelSize = font.PixelSize();
    const bool sameFace =
        face_ && pixelSize == face_->pixelSize && font.style == face_->style && font.name == face_->name;
    font_ = font;
    if (sameFace) return;  // only the colour or the angle changed
    face_ = FaceFor(font, pixelSize);
    cell_ = face_->cell;
}

QSize Canvas::TextExtent(const QString& text) const {
    int w = face_->glyphs->Width(text);
    return QSize(w >= 0 ? w : face_->metrics.horizontalAdvance(text), cell_.Height());
}

int Canvas::MeasureText(QStringView text) const {
    int w = face_->glyphs->Width(text);
    return w >= 0 ? w : face_->metrics.horizontalAdvance(text.toString());
}

void Canvas::FillRect(const Rect& r) {
    if (brush_ != clNone) FillRect(r, brush_);
}

void Canvas::FillRect(const Rect& r, TColor c) {
    if (!r.IsEmpty()) painter_.fillRect(r.ToQRect(), ToQColor(c));
}

void Canvas::FrameRect(const Rect& r, TColor c) {
    if (r.IsEmpty()) return;
    QColor q = ToQColor(c);
    painter_.fillRect(QRect(r.left, r.top, r.Width(), 1), q);
    painter_.fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), q);
    painter_.fillRect(QRect(r.left, r.top, 1, r.Height()), q);
    painter_.fillRect(QRect(r.right - 1, r.top, 1, r.Height()), q);
}

void Canvas::Frame3D(Rect& r, TColor topLeft, TColor bottomRight, int width) {
    QColor tl = ToQColor(topLeft);
    QColor br = ToQColor(bottomRight);
    for (int i = 0; i < width && !r.IsEmpty(); ++i) {
        painter_.fillRect(QRect(r.left, r.top, r.Width() - 1, 1), tl);
        painter_.fillRect(QRect(r.left, r.top, 1, r.Height() - 1), tl);
        painter_.fillRect(QRect(r.right - 1, r.top, 1, r.Height()), br);
        painter_.fillRect(QRect(r.left, r.bottom - 1, r.Width(), 1), br);
        r = r.Inflated(-1, -1);
    }
}

void Canvas::Polyline(const std::vector<QPoint>& points) {
    if (points.size() < 2) return;
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(ToQColor(pen_));
    pen.setWidth(penWidth_);
    pen.setCapStyle(Qt::FlatCap);
    painter_.setPen(pen);
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        QPoint a = points[i];
        QPoint b = points[i + 1];
        // The window system leaves a line's last pixel out; do the same by stepping back one pixel.
        int dx = (b.x() > a.x()) - (b.x() < a.x());
        int dy = (b.y() > a.y()) - (b.y() < a.y());
        QPoint end(b.x() - dx, b.y() - dy);
        if (std::abs(b.x() - a.x()) == std::abs(b.y() - a.y()) || dx == 0 || dy == 0)
            painter_.drawLine(a, end);
        else
            painter_.drawLine(a, b);
    }
    painter_.restore();
}

void Canvas::GradientFill(const Rect& r, TColor from, TColor to, bool vertical) {
    if (r.IsEmpty()) return;
    QLinearGradient g(r.left, r.top, vertical ? r.left : r.right, vertical ? r.bottom : r.top);
    g.setColorAt(0, ToQColor(from));
    g.setColorAt(1, ToQColor(to));
    painter_.fillRect(r.ToQRect(), g);
}

void Canvas::DrawImage(int x, int y, const QImage& image, TColor transparent) {
    if (image.isNull()) return;
    if (transparent == clNone) {
        painter_.drawImage(x, y, image);
        return;
    }
    QPixmap pm = QPixmap::fromImage(image);
    pm.setMask(pm.createMaskFromColor(ToQColor(transparent), Qt::MaskInColor));
    painter_.drawPixmap(x, y, pm);
}

void Canvas::SetClipRect(const Rect& r) {
    painter_.setClipRect(r.ToQRect());
}
void Canvas::ResetClip() {
    painter_.setClipping(false);
}

namespace {

struct TextLine {
    QString text;
    int accel = -1;
};

QStringList SplitParagraphs(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    return t.split(u'\n');
}

// Greedy word wrap at blanks; a word wider than the width stays whole on its own line.
QStringList WrapParagraph(const QString& para, const QFontMetrics& fm, int width) {
    QStringList lines;
    QString current;
    qsizetype i = 0;
    while (i < para.size()) {
        qsizetype end = i;
        while (end < para.size() && para[end] != u' ') ++end;
        while (end < para.size() && para[end] == u' ') ++end;
        QString word = para.mid(i, end - i);
        QString candidate = current + word;
        if (!current.isEmpty() && fm.horizontalAdvance(candidate.trimmed()) > width) {
            lines.append(current);
            current = word;
        } else {
            current = candidate;
        }
        i = end;
    }
    lines.append(current);
    for (QString& l : lines) {
        while (l.endsWith(u' ')) l.chop(1);
    }
    return lines;
}

}  // namespace

// The common case of one line without accelerators, ellipsis or rotation, without building line lists.
int Canvas::DrawSingleLine(const QString& text, Rect& r, unsigned flags) {
    if ((flags & (DT_SINGLELINE | DT_NOPREFIX)) != (DT_SINGLELINE | DT_NOPREFIX)) return -1;
    if ((flags & DT_END_ELLIPSIS) || font_.angle != 0) return -1;
    for (QChar c : text)
        if (c == u'\t' || c == u'\r' || c == u'\n') return -1;
    // The width matters only for measuring, alignment and the background box.
    const bool needWidth = (flags & (DT_CALCRECT | DT_CENTER | DT_RIGHT)) || brush_ != clNone;
    const int w = needWidth ? TextExtent(text).width() : 0;
    const int h = LineHeight(flags & DT_EXTERNALLEADING);
    if (flags & DT_CALCRECT) {
        r.right = r.left + w;
        r.bottom = r.top + h;
        return h;
    }
    int x = r.left;
    if (flags & DT_CENTER) x = r.left + (r.Width() - w) / 2;
    if (flags & DT_RIGHT) x = r.right - w;
    int y = r.top;
    if (flags & DT_VCENTER) y = r.top + (r.Height() - h) / 2;
    if (flags & DT_BOTTOM) y = r.bottom - h;
    const bool clip = !(flags & DT_NOCLIP);
    if (clip) {
        painter_.save();
        painter_.setClipRect(r.ToQRect(), Qt::IntersectClip);
    }
    if (brush_ != clNone) painter_.fillRect(QRect(x, y, w, h), ToQColor(brush_));
    // Glyphs take the pen's colour; a pen that already has it is left alone.
    const QColor colour = ToQColor(font_.color);
    const QPen& pen = painter_.pen();
    if (pen.style() != Qt::SolidLine || pen.brush().style() != Qt::SolidPattern || pen.color() != colour)
        painter_.setPen(colour);
    const QPoint origin(x, y + cell_.ascent);
    if (!face_->glyphs->Draw(painter_, origin, text, font_.style & fsUnderline, font_.style & fsStrikeOut)) {
        painter_.setFont(face_->qfont);
        painter_.drawText(origin, text);
    }
    if (clip) painter_.restore();
    return h;
}

int Canvas::DrawText(const QString& text, Rect& r, unsigned flags) {
    if (int h = DrawSingleLine(text, r, flags); h >= 0) return h;
    const QFontMetrics& fm = face_->metrics;
    const int lineHeight = cell_.Height() + ((flags & DT_EXTERNALLEADING) ? cell_.externalLeading : 0);
    QString source = text;
    if (flags & DT_EXPANDTABS) source.replace(u'\t', QStringLiteral("        "));
    const bool prefix = !(flags & DT_NOPREFIX);

    QStringList raw;
    if (flags & DT_SINGLELINE) {
        QString s = source;
        s.remove(u'\r');
        s.remove(u'\n');
        raw.append(s);
    } else {
        for (const QString& para : SplitParagraphs(source)) {
            if (flags & DT_WORDBREAK)
                raw.append(WrapParagraph(para, fm, r.Width()));
            else
                raw.append(para);
        }
    }
    std::vector<TextLine> lines;
    for (const QString& s : raw) {
        TextLine line;
        line.text = prefix ? StripAccelerator(s, &line.accel) : s;
        lines.push_back(line);
    }
    if (flags & DT_END_ELLIPSIS) {
        size_t visible = std::max<size_t>(1, static_cast<size_t>(std::max(0, r.Height()) / lineHeight));
        bool cut = !(flags & DT_SINGLELINE) && lines.size() > visible;
        if (cut) lines.resize(visible);
        for (size_t i = 0; i < lines.size(); ++i) {
            TextLine& l = lines[i];
            bool last = i + 1 == lines.size();
            if (fm.horizontalAdvance(l.text) > r.Width() || (cut && last)) {
                QString elided = fm.elidedText(cut && last ? l.text + QStringLiteral("    ") : l.text,
                                               Qt::ElideRight, std::max(0, r.Width()));
                if (l.accel >= elided.size() - 1) l.accel = -1;
                l.text = elided;
            }
        }
    }
    int maxWidth = 0;
    for (const TextLine& l : lines) maxWidth = std::max(maxWidth, fm.horizontalAdvance(l.text));
    const int total = lineHeight * static_cast<int>(lines.size());
    if (flags & DT_CALCRECT) {
        r.right = r.left + maxWidth;
        r.bottom = r.top + total;
        return total;
    }

    int y = r.top;
    if (flags & DT_VCENTER) y = r.top + (r.Height() - total) / 2;
    if (flags & DT_BOTTOM) y = r.bottom - total;
    painter_.save();
    if (!(flags & DT_NOCLIP)) painter_.setClipRect(r.ToQRect(), Qt::IntersectClip);
    painter_.setFont(face_->qfont);
    painter_.setPen(ToQColor(font_.color));
    for (const TextLine& l : lines) {
        int w = fm.horizontalAdvance(l.text);
        int x = r.left;
        if (flags & DT_CENTER) x = r.left + (r.Width() - w) / 2;
        if (flags & DT_RIGHT) x = r.right - w;
        if (brush_ != clNone) painter_.fillRect(QRect(x, y, w, lineHeight), ToQColor(brush_));
        if (font_.angle != 0) {
            painter_.save();
            painter_.translate(x, y + cell_.ascent);
            painter_.rotate(-font_.angle / 10.0);
            painter_.drawText(QPoint(0, 0), l.text);
            painter_.restore();
        } else {
            painter_.drawText(QPoint(x, y + cell_.ascent), l.text);
        }
        if (l.accel >= 0 && l.accel < l.text.size()) {
            int ux = x + fm.horizontalAdvance(l.text.left(l.accel));
            int uw = fm.horizontalAdvance(l.text.mid(l.accel, 1));
            painter_.fillRect(
                QRect(ux, y + cell_.ascent + fm.underlinePos(), uw, std::max(1, fm.lineWidth())),
                ToQColor(font_.color));
        }
        y += lineHeight;
    }
    painter_.restore();
    return total;
}

}  // namespace gui
