#include "platform/gui/canvas.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QHash>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPixmap>
#include <QRawFont>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#if defined(__SSE2__)
#include <immintrin.h>
#endif

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
    // Grey anti-aliasing on every surface, so that text looks the same in windows and in images
    // (and a picture of text drawn into an image may stand in for drawing it into a window).
    f.setStyleStrategy(QFont::NoSubpixelAntialias);
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

// Where a painter's text can be blended straight into pixels: an image of 32-bit pixels painted by
// the raster engine, one pixel per unit and moved by whole pixels only, plain "over" composition at
// full opacity, anti-aliased text, and a clip that is a set of whole-pixel rectangles.
struct PixelTarget {
    QImage* image = nullptr;
    QPoint offset;            // of device pixels from the painter's coordinates
    std::vector<QRect> clip;  // in device pixels
};

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
        const int count = Collect(text, underline || strikeOut);
        if (count < 0) return false;
        if (count == 0) return true;
        run_.setRawFont(raw_);
        run_.setRawData(glyphs_.data(), positions_.data(), count);
        run_.setUnderline(underline);
        run_.setStrikeOut(strikeOut);
        painter.drawGlyphRun(origin, run_);
        return true;
    }

    // Draws plain text (no underline or strike-out) in an opaque colour exactly like Draw, blending
    // each glyph's coverage into the pixels itself when the painter paints into an image of 32-bit
    // pixels (see PixelTarget). Drawing short pieces of text through the painter costs far more in
    // per-glyph bookkeeping and one-pixel-at-a-time blending than the blending itself needs.
    // False (nothing drawn): draw with Draw.
    bool Blend(QPainter& painter, QPoint origin, QStringView text, QRgb colour);

  private:
    // The glyphs and pen positions of the text in glyphs_ and positions_, -1 when a character has no
    // glyph of this font. Blank glyphs leave no pixels; they are kept only when asked (when a line
    // runs through the text).
    int Collect(QStringView text, bool keepBlanks) {
        if (!raw_.isValid()) return -1;
        const qsizetype n = text.size();
        glyphs_.resize(n);
        positions_.resize(n);
        quint32* glyphs = glyphs_.data();
        QPointF* positions = positions_.data();
        int x = 0;
        int count = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const Entry& e = Lookup(text[i]);
            if (e.glyph == 0) return -1;
            if (!e.blank || keepBlanks) {
                glyphs[count] = e.glyph;
                positions[count] = QPointF(x, 0);
                ++count;
            }
            x += e.advance;
        }
        return count;
    }

    // The pixels one glyph covers when drawn at a whole-pixel pen position, and how much: drawn white
    // on transparent, every pixel's alpha is the glyph's coverage there.
    struct Ink {
        bool known = false;   // false: the glyph reaches past the area it was measured in
        QRect box;            // relative to the pen position
        int stride = 0;       // bytes per row of coverage: the width rounded up to four
        QByteArray coverage;  // stride * box.height() bytes, row by row, zero past the width
    };
    const Ink& InkOf(quint32 glyph) {
        auto it = inks_.find(glyph);
        if (it == inks_.end()) it = inks_.emplace(glyph, MeasureInk(glyph)).first;
        return it->second;
    }
    Ink MeasureInk(quint32 glyph) const;

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
        const QImage mask = raw_.alphaMapForGlyph(glyph, QRawFont::PixelAntialiasing);
        if (mask.isNull()) return true;  // nothing to draw
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
    std::unordered_map<quint32, Ink> inks_;  // nodes stay in place: inked_ points into them
    std::vector<const Ink*> inked_;
    PixelTarget target_;
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

bool PixelTargetOf(QPainter& painter, PixelTarget& target) {
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster) return false;
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image) return false;
    QImage* image = static_cast<QImage*>(device);
    if (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied)
        return false;
    if (painter.compositionMode() != QPainter::CompositionMode_SourceOver || painter.opacity() != 1.0)
        return false;
    if (!painter.testRenderHint(QPainter::TextAntialiasing)) return false;
    const QTransform& t = painter.deviceTransform();
    if (t.type() > QTransform::TxTranslate || t.dx() != std::floor(t.dx()) || t.dy() != std::floor(t.dy()))
        return false;
    target.image = image;
    target.offset = QPoint(static_cast<int>(t.dx()), static_cast<int>(t.dy()));
    QRect own = image->rect();
    if (painter.hasClipping()) {
        // Only a rectangle on whole pixels: other clips are not cut the same way as a region.
        const QRectF bounds = painter.clipBoundingRect();
        if (QRectF(bounds.toRect()) != bounds) return false;
        const QRegion region = painter.clipRegion();
        if (region.rectCount() > 1) return false;
        own &= region.boundingRect().translated(target.offset);
    }
    target.clip.clear();
    const QRegion system = engine->systemClip();
    if (system.isEmpty()) {
        if (!own.isEmpty()) target.clip.push_back(own);
    } else {
        for (const QRect& r : system)
            if (const QRect part = r & own; !part.isEmpty()) target.clip.push_back(part);
    }
    return true;
}

// One pixel of colour `c` (opaque) at `coverage` over `d`, with the painter's own arithmetic:
// the colour scaled by the coverage, plus the pixel scaled by what the coverage leaves. (The
// processors this is built for take the vector forms below; this is the arithmetic they follow.)
[[maybe_unused]] inline quint32 ByteMul(quint32 x, quint32 a) {
    quint32 t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = (x + ((x >> 8) & 0xff00ff) + 0x800080);
    x &= 0xff00ff00;
    return x | t;
}

[[maybe_unused]] inline quint32 BlendCoverage(quint32 d, quint32 c, quint32 coverage) {
    const quint32 s = ByteMul(c, coverage);
    return s + ByteMul(d, qAlpha(~s));
}

#if defined(__SSE2__)
// Four pixels at a time, the same arithmetic on 16-bit lanes. `colour` holds the colour's channels
// twice (two pixels); `four` the four coverage bytes.
inline __m128i Blend4(__m128i d, quint32 four, __m128i colour) {
    const __m128i zero = _mm_setzero_si128();
    auto mul = [](__m128i x, __m128i a) {
        __m128i t = _mm_mullo_epi16(x, a);
        t = _mm_add_epi16(t, _mm_srli_epi16(t, 8));
        t = _mm_add_epi16(t, _mm_set1_epi16(0x80));
        return _mm_srli_epi16(t, 8);
    };
    // Each pixel's coverage on its four channels.
    const __m128i cov16 = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), zero);
    const __m128i cov32 = _mm_unpacklo_epi16(cov16, cov16);
    const __m128i covLo = _mm_unpacklo_epi32(cov32, cov32);
    const __m128i covHi = _mm_unpackhi_epi32(cov32, cov32);
    const __m128i sLo = mul(colour, covLo);
    const __m128i sHi = mul(colour, covHi);
    // What the scaled colour leaves of the pixel: 255 minus its alpha, which for an opaque colour is
    // the coverage itself.
    const __m128i full = _mm_set1_epi16(0xff);
    const __m128i leftLo = _mm_sub_epi16(full, covLo);
    const __m128i leftHi = _mm_sub_epi16(full, covHi);
    const __m128i dLo = mul(_mm_unpacklo_epi8(d, zero), leftLo);
    const __m128i dHi = mul(_mm_unpackhi_epi8(d, zero), leftHi);
    // No channel passes 255: the scaled colour's channels are at most its alpha.
    return _mm_add_epi8(_mm_packus_epi16(sLo, sHi), _mm_packus_epi16(dLo, dHi));
}
#endif

#if defined(__SSE2__)
// Blends `rows` rows of coverage (`width` bytes each, a multiple of four) into the pixels, in whole
// blocks of four pixels.
void BlendBlocks(quint32* dst, int dstStride, const uchar* coverage, int width, int rows, quint32 c) {
    const __m128i colour = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(c)), _mm_setzero_si128());
    for (; rows > 0; --rows, dst += dstStride) {
        for (int k = 0; k < width; k += 4, coverage += 4) {
            quint32 four;
            std::memcpy(&four, coverage, 4);
            if (four == 0) continue;
            __m128i* at = reinterpret_cast<__m128i*>(dst + k);
            _mm_storeu_si128(at, Blend4(_mm_loadu_si128(at), four, colour));
        }
    }
}

#if defined(__GNUC__) && defined(__x86_64__)
#define VORLUX_HAVE_AVX2_BLEND 1
// ByteMul on sixteen 16-bit lanes.
__attribute__((target("avx2"))) inline __m256i ByteMul16(__m256i x, __m256i a) {
    __m256i t = _mm256_mullo_epi16(x, a);
    t = _mm256_add_epi16(t, _mm256_srli_epi16(t, 8));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_set1_epi16(0x80)), 8);
}

// The same with eight pixels at a time where the processor has the wider registers.
__attribute__((target("avx2"))) void BlendBlocksAvx2(quint32* dst, int dstStride, const uchar* coverage,
                                                     int width, int rows, quint32 c) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i colour = _mm256_unpacklo_epi8(_mm256_set1_epi32(static_cast<int>(c)), zero);
    const __m256i full = _mm256_set1_epi16(0xff);
    const __m128i colour4 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(c)), _mm_setzero_si128());
    for (; rows > 0; --rows, dst += dstStride) {
        int k = 0;
        for (; k + 8 <= width; k += 8, coverage += 8) {
            quint64 eight;
            std::memcpy(&eight, coverage, 8);
            if (eight == 0) continue;
            // Coverage of pixels 0-1 and 4-5 in one register, 2-3 and 6-7 in the other, as the
            // pixels fall when their bytes are widened within each half.
            const __m128i cov16 =
                _mm_unpacklo_epi8(_mm_cvtsi64_si128(static_cast<long long>(eight)), _mm_setzero_si128());
            const __m256i cov32 =
                _mm256_set_m128i(_mm_unpackhi_epi16(cov16, cov16), _mm_unpacklo_epi16(cov16, cov16));
            const __m256i covLo = _mm256_unpacklo_epi32(cov32, cov32);
            const __m256i covHi = _mm256_unpackhi_epi32(cov32, cov32);
            __m256i* at = reinterpret_cast<__m256i*>(dst + k);
            const __m256i d = _mm256_loadu_si256(at);
            const __m256i sLo = ByteMul16(colour, covLo);
            const __m256i sHi = ByteMul16(colour, covHi);
            const __m256i dLo = ByteMul16(_mm256_unpacklo_epi8(d, zero), _mm256_sub_epi16(full, covLo));
            const __m256i dHi = ByteMul16(_mm256_unpackhi_epi8(d, zero), _mm256_sub_epi16(full, covHi));
            _mm256_storeu_si256(
                at, _mm256_add_epi8(_mm256_packus_epi16(sLo, sHi), _mm256_packus_epi16(dLo, dHi)));
        }
        if (k < width) {  // four left
            quint32 four;
            std::memcpy(&four, coverage, 4);
            coverage += 4;
            if (four == 0) continue;
            __m128i* at = reinterpret_cast<__m128i*>(dst + k);
            _mm_storeu_si128(at, Blend4(_mm_loadu_si128(at), four, colour4));
        }
    }
}
#endif

using BlendBlocksFn = void (*)(quint32*, int, const uchar*, int, int, quint32);
BlendBlocksFn BlendBlocksFunction(bool wide) {
#if defined(VORLUX_HAVE_AVX2_BLEND)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (wide && avx2) return BlendBlocksAvx2;
#else
    (void)wide;
#endif
    return BlendBlocks;
}
#endif

// Blends one row of `n` coverage bytes into `n` pixels.
void BlendRow(quint32* dst, const uchar* coverage, int n, quint32 c) {
#if defined(__SSE2__)
    const __m128i colour = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(c)), _mm_setzero_si128());
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        quint32 four;
        std::memcpy(&four, coverage + i, 4);
        if (four == 0) continue;
        __m128i* at = reinterpret_cast<__m128i*>(dst + i);
        _mm_storeu_si128(at, Blend4(_mm_loadu_si128(at), four, colour));
    }
    if (const int rest = n - i; rest > 0) {  // the last one to three pixels, through a copy
        quint32 four = 0;
        std::memcpy(&four, coverage + i, static_cast<size_t>(rest));
        if (four == 0) return;
        quint32 pixels[4] = {};
        std::memcpy(pixels, dst + i, static_cast<size_t>(rest) * 4);
        __m128i* at = reinterpret_cast<__m128i*>(pixels);
        _mm_storeu_si128(at, Blend4(_mm_loadu_si128(at), four, colour));
        std::memcpy(dst + i, pixels, static_cast<size_t>(rest) * 4);
    }
#else
    for (int i = 0; i < n; ++i)
        if (coverage[i] != 0) dst[i] = BlendCoverage(dst[i], c, coverage[i]);
#endif
}

}  // namespace

GlyphCache::Ink GlyphCache::MeasureInk(quint32 glyph) const {
    // The painter draws glyphs one by one from its glyph cache only up to a size (past it, a run's
    // outlines are filled together); larger print is left to the painter.
    static const int cachedGlyphSize = [] {
        const int size = qEnvironmentVariableIntValue("QT_MAX_CACHED_GLYPH_SIZE");
        return size > 0 ? size : 64;
    }();
    if (raw_.pixelSize() > cachedGlyphSize) return {};
    const int pixels = std::max(1, static_cast<int>(std::ceil(raw_.pixelSize())));
    const int side = 4 * pixels + 16;
    QImage area(side, side, QImage::Format_ARGB32_Premultiplied);
    area.fill(Qt::transparent);
    const QPoint pen(side / 3, side * 2 / 3);
    {
        QPainter painter(&area);
        painter.setPen(QColor(255, 255, 255));
        const QPointF position(0, 0);
        QGlyphRun run;
        run.setRawFont(raw_);
        run.setRawData(&glyph, &position, 1);
        painter.drawGlyphRun(pen, run);
    }
    int left = side, top = side, right = -1, bottom = -1;
    Ink ink;
    for (int y = 0; y < side; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(area.constScanLine(y));
        for (int x = 0; x < side; ++x) {
            const int a = qAlpha(line[x]);
            if (a == 0) continue;
            // A coloured or sub-pixel glyph is no single coverage: left to the painter.
            if (qRed(line[x]) != a || qGreen(line[x]) != a || qBlue(line[x]) != a) return ink;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) {  // no ink
        ink.known = true;
        return ink;
    }
    if (left == 0 || top == 0 || right == side - 1 || bottom == side - 1) return ink;
    ink.box = QRect(left - pen.x(), top - pen.y(), right - left + 1, bottom - top + 1);
    ink.stride = (ink.box.width() + 3) & ~3;
    ink.coverage = QByteArray(static_cast<qsizetype>(ink.stride) * ink.box.height(), '\0');
    char* out = ink.coverage.data();
    for (int y = top; y <= bottom; ++y, out += ink.stride) {
        const QRgb* line = reinterpret_cast<const QRgb*>(area.constScanLine(y));
        for (int x = left; x <= right; ++x) out[x - left] = static_cast<char>(qAlpha(line[x]));
    }
    ink.known = true;
    return ink;
}

namespace {
bool directGlyphBlending = true;
bool wideGlyphBlocks = true;
long long directlyBlendedRuns = 0;
}  // namespace

void SetDirectGlyphBlending(bool on, bool wide) {
    directGlyphBlending = on;
    wideGlyphBlocks = wide;
}

long long DirectlyBlendedRuns() {
    return directlyBlendedRuns;
}

bool GlyphCache::Blend(QPainter& painter, QPoint origin, QStringView text, QRgb colour) {
    if (!directGlyphBlending || qAlpha(colour) != 255) return false;
    PixelTarget& target = target_;
    if (!PixelTargetOf(painter, target)) return false;
    const int count = Collect(text, false);
    if (count < 0) return false;
    // Every glyph's ink must be known before the first is drawn.
    inked_.resize(count);
    for (int i = 0; i < count; ++i) {
        inked_[i] = &InkOf(glyphs_[i]);
        if (!inked_[i]->known) return false;
    }
    const QPoint pen = origin + target.offset;
    const int stride = static_cast<int>(target.image->bytesPerLine() / 4);
#if defined(__SSE2__)
    const auto blendBlocks = BlendBlocksFunction(wideGlyphBlocks);
#endif
    // The pixels the painter writes to (bits() would detach an image that shares them).
    quint32* bits = reinterpret_cast<quint32*>(const_cast<uchar*>(target.image->constBits()));
    for (int i = 0; i < count; ++i) {
        const Ink& ink = *inked_[i];
        if (ink.box.isEmpty()) continue;
        const int boxLeft = pen.x() + static_cast<int>(positions_[i].x()) + ink.box.left();
        const int boxTop = pen.y() + ink.box.top();
        const int width = ink.box.width();
        const int boxBottom = boxTop + ink.box.height();
        const uchar* glyphCoverage = reinterpret_cast<const uchar*>(ink.coverage.constData());
        for (const QRect& clip : target.clip) {
            const int clipRight = clip.left() + clip.width();
            const int clipBottom = clip.top() + clip.height();
#if defined(__SSE2__)
            if (boxLeft >= clip.left() && boxLeft + ink.stride <= clipRight && boxTop >= clip.top() &&
                boxBottom <= clipBottom) {
                // The usual case, the glyph with its rows' padding inside the clip: whole blocks of
                // pixels; the padding's zero coverage leaves its pixels as they are.
                blendBlocks(bits + static_cast<qsizetype>(boxTop) * stride + boxLeft, stride, glyphCoverage,
                            ink.stride, ink.box.height(), colour);
                continue;
            }
#endif
            const int left = std::max(boxLeft, clip.left());
            const int right = std::min(boxLeft + width, clipRight);
            const int top = std::max(boxTop, clip.top());
            const int bottom = std::min(boxBottom, clipBottom);
            if (left >= right || top >= bottom) continue;
            const uchar* coverage = glyphCoverage + (top - boxTop) * ink.stride + (left - boxLeft);
            quint32* row = bits + static_cast<qsizetype>(top) * stride + left;
            for (int y = top; y < bottom; ++y, row += stride, coverage += ink.stride)
                BlendRow(row, coverage, right - left, colour);
        }
    }
    ++directlyBlendedRuns;
    return true;
}

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
    const bool lined = font_.style & (fsUnderline | fsStrikeOut);
    if ((lined || !face_->glyphs->Blend(painter_, origin, text, colour.rgba())) &&
        !face_->glyphs->Draw(painter_, origin, text, font_.style & fsUnderline, font_.style & fsStrikeOut)) {
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
