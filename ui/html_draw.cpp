#include "ui/html_draw.h"

#include <QAbstractFileIconProvider>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <algorithm>

#include "platform/core/cp1252.h"

namespace ui {

namespace {

using gui::clNone;
using gui::Rect;
using gui::TColor;

// Every piece of text is one bottom-aligned line in its box.
constexpr unsigned kTextFlags =
    gui::DT_SINGLELINE | gui::DT_BOTTOM | gui::DT_EXPANDTABS | gui::DT_EXTERNALLEADING | gui::DT_NOPREFIX;
// Chunks are drawn unclipped inside the clip of the whole layout rectangle.
constexpr unsigned kDrawFlags = kTextFlags | gui::DT_NOCLIP;
constexpr int kListIndent = 12;

enum class Align { Left, Right, Center };
enum class Pass { Measure, Draw };
enum class TagEffect { None, EndsLine, DoesNotFit };

// Everything a tag can change; recorded at the start of a line so the drawing pass replays the line
// from the same state the measuring pass started with.
struct State {
    gui::Font font;
    TColor background = clNone;
    TColor fontBackground = clNone;  // restored by the font end tag
    TColor paraSaved = clNone;       // restored by the paragraph end tag
    TColor paraBand = clNone;        // band colour while the paragraph background is on
    TColor hiSavedColor = 0;
    TColor hiSavedBackground = clNone;
    bool inAnchor = false;
    QString href;
    int anchorCount = 0;
    int imageCount = 0;
    int listLevel = 0;
    Align align = Align::Left;
    int indent = 0;
    bool shadow = false;
    bool errorUnderline = false;
    bool hidden = false;
    bool sub = false;
    bool sup = false;
    bool paraBackground = false;
};

struct Line {
    int x = 0;  // running position, from the line's left edge
    int height = 0;
    int subExtra = 0;
    int supExtra = 0;
    int imageOffset = 0;
    int trailing = 0;
    qsizetype consumed = 0;
    QChar lastVisible;  // last character placed: words split by tags are never broken
    bool listItem = false;
    bool ended = false;
};

// Where the drawing pass puts the line that the measuring pass laid out.
struct LinePlacement {
    int left = 0;
    int top = 0;
    Line metrics;
    int Bottom() const { return top + metrics.height + metrics.subExtra + metrics.supExtra; }
};

struct Entity {
    const char* name;
    unsigned char byte;
};
constexpr Entity kEntities[] = {{"&amp;", '&'},     {"&quot;", '"'},   {"&sect;", 0xA7},
                                {"&permil;", 0x89}, {"&reg;", 0xAE},   {"&copy;", 0xA9},
                                {"&para;", 0xB6},   {"&trade;", 0x99}, {"&euro;", 0x80}};

// True when one of the named entities starts at `at` (letters in any case).
bool EntityAt(QStringView text, qsizetype at) {
    for (const Entity& e : kEntities) {
        if (text.mid(at).startsWith(QLatin1String(e.name), Qt::CaseInsensitive)) return true;
    }
    return false;
}

QString ReplaceEntities(QString text) {
    // Most texts have no named entity at all ("&lt;" and "&gt;" are decoded later, chunk by chunk):
    // one look at each "&" settles that.
    bool any = false;
    for (qsizetype at = text.indexOf(u'&'); at >= 0 && !any; at = text.indexOf(u'&', at + 1))
        any = EntityAt(text, at);
    if (!any) return text;
    bool changed = true;
    while (changed) {
        changed = false;
        for (const Entity& e : kEntities) {
            QString name = QString::fromLatin1(e.name);
            qsizetype at = text.indexOf(name, 0, Qt::CaseInsensitive);
            if (at < 0) continue;
            text.replace(at, name.size(), QChar(static_cast<char16_t>(core::Cp1252ToUnicode(e.byte))));
            changed = true;
        }
    }
    return text;
}

QString Prepare(const QString& text) {
    QString out = ReplaceEntities(text);
    qsizetype at = -1;
    for (qsizetype i = 0; i + 1 < out.size(); ++i) {
        if (out[i] == u'<' && out[i + 1] == u'#') {
            at = i;
            break;
        }
    }
    if (at >= 0) {
        out.remove(at, 1);
        qsizetype gt = out.indexOf(u'>', at);
        if (gt >= 0) out.remove(gt, 1);
    }
    return ConvertLineBreaks(out, true);
}

// "&nbsp;", "&lt;" and "&gt;" inside one chunk; a "<" made here never starts a tag.
QString DecodeChunk(QString chunk) {
    if (!chunk.contains(u'&')) return chunk;
    chunk.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    chunk.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    chunk.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return chunk;
}

// The text between the first two double quotes at or after `from`; empty without them.
QString QuotedAfter(QStringView s, qsizetype from) {
    if (from < 0) return {};
    qsizetype q1 = s.indexOf(u'"', from);
    if (q1 < 0) return {};
    qsizetype q2 = s.indexOf(u'"', q1 + 1);
    if (q2 < 0) return {};
    return s.mid(q1 + 1, q2 - q1 - 1).toString();
}

QString AttributeValue(const QString& attrs, const QString& name) {
    qsizetype at = attrs.indexOf(name);
    return at < 0 ? QString() : QuotedAfter(attrs, at + name.size());
}

int LeadingNumber(const QString& s, qsizetype from = 0) {
    long long n = 0;
    for (qsizetype i = from; i < s.size() && s[i].isDigit() && s[i].unicode() < 128; ++i) {
        n = n * 10 + (s[i].unicode() - u'0');
        if (n > 100000) break;
    }
    return static_cast<int>(n);
}

int FontSizeFromAttrs(const QString& attrs) {
    qsizetype at = attrs.indexOf(QStringLiteral("SIZE"));
    qsizetype eq = attrs.indexOf(u'=', at + 4);
    if (eq < 0) return -1;
    qsizetype i = eq + 1;
    if (i < attrs.size() && attrs[i] == u'"') ++i;
    int n = LeadingNumber(attrs, i);
    static const int kSizes[] = {8, 10, 12, 14, 16};
    return (n >= 1 && n <= 5) ? kSizes[n - 1] : n;
}

class Renderer {
  public:
    Renderer(gui::Canvas& canvas, const Rect& rect, const HtmlDrawParams& params)
        : canvas_(canvas), rect_(rect), params_(params) {
        entryFont_ = canvas.GetFont();
        entryBrush_ = canvas.BrushColor();
        state_.font = entryFont_;
    }

    HtmlDrawResult Run(const QString& text) {
        canvas_.SetBrushColor(clNone);
        canvas_.Painter().save();
        if (!params_.noDraw) canvas_.SetClipRect(rect_);
        QString prepared = Prepare(text);
        QStringView rest(prepared);
        int top = rect_.top;
        while (!rest.isEmpty()) {
            Line measured = MeasureLine(rest);
            int width = measured.x - measured.trailing;
            LinePlacement place{AlignedLeft(width), top, measured};
            DrawLine(rest.left(measured.consumed), place);
            result_.textWidth = std::max(result_.textWidth, width);
            const int lineHeight = place.Bottom() - top;
            result_.textHeight += lineHeight;
            ++result_.lineCount;
            rest = rest.mid(measured.consumed);
            const int nextTop = top + lineHeight;
            if (nextTop + measured.height > rect_.bottom) break;
            top = nextTop;
        }
        if (result_.textHeight == 0) {
            UseFont(entryFont_);
            result_.textHeight = GhHeight();
        }
        result_.overAnchor = anchorHit_ || imageHit_;
        if (!result_.overAnchor) result_.mouseAnchor = -1;
        canvas_.Painter().restore();
        canvas_.SetFont(entryFont_);
        canvas_.SetBrushColor(entryBrush_);
        return result_;
    }

  private:
    Line MeasureLine(QStringView rest) {
        state_.sub = state_.sup = false;
        lineStart_ = state_;
        Line line;
        UseFont(state_.font);
        line.height = GhHeight();
        measured_.clear();
        Walk(rest, Pass::Measure, line, nullptr);
        if (line.consumed == 0) line.consumed = 1;  // never stall on a piece that cannot be placed
        return line;
    }

    void DrawLine(QStringView source, const LinePlacement& place) {
        state_ = lineStart_;
        replayed_ = 0;
        if (state_.paraBackground) FillBand(place);
        Line line;
        Walk(source, Pass::Draw, line, &place);
        Flush();
    }

    int AlignedLeft(int width) const {
        const int defaultLeft = rect_.left + 1;
        int left = defaultLeft;
        if (state_.align == Align::Right) {
            left = std::max(defaultLeft, rect_.right - width);
        } else if (state_.align == Align::Center) {
            int spare = (rect_.right - defaultLeft) - width;
            if (spare > 0) left = defaultLeft + spare / 2;
        }
        return left + state_.indent;
    }

    void UseFont(const gui::Font& font) {
        if (!(canvas_.GetFont() == font)) canvas_.SetFont(font);
    }

    QSize TextSize(QStringView s) const {
        return {canvas_.MeasureText(s), canvas_.LineHeight(kTextFlags & gui::DT_EXTERNALLEADING)};
    }
    // Height of a line of "gh" in the current font.
    int GhHeight() const { return canvas_.LineHeight(kTextFlags & gui::DT_EXTERNALLEADING); }

    // The line walker of both passes. Measuring decides what fits and stops at the line's end; drawing
    // replays exactly the source the measuring pass placed, at the aligned position.
    void Walk(QStringView src, Pass pass, Line& line, const LinePlacement* place) {
        qsizetype pos = 0;
        while (pos < src.size() && !line.ended) {
            if (src[pos] != u'<') {
                // A chunk runs up to the next "<", or through the first space before it.
                qsizetype end = pos;
                while (end < src.size() && src[end] != u'<' && src[end] != u' ') ++end;
                if (end < src.size() && src[end] == u' ') ++end;
                if (!state_.hidden) {
                    QStringView chunk = src.mid(pos, end - pos);
                    if (chunk.contains(u'&')) {
                        decoded_ = DecodeChunk(chunk.toString());
                        chunk = decoded_;
                    }
                    if (!PlaceChunk(chunk, pass, line, place)) break;
                }
                pos = end;
                continue;
            }
            if (src.size() - pos <= 2) {  // a lone "<" or "<x" at the end
                pos = src.size();
                continue;
            }
            qsizetype gt = src.indexOf(u'>', pos);
            qsizetype end = gt < 0 ? src.size() : gt + 1;
            TagEffect effect = Tag(src.mid(pos, end - pos), pass, line, place);
            if (effect == TagEffect::DoesNotFit) {
                line.ended = true;
                break;
            }
            pos = end;
            if (effect == TagEffect::EndsLine) line.ended = true;
        }
        line.consumed = pos;
    }

    bool PlaceChunk(QStringView chunk, Pass pass, Line& line, const LinePlacement* place) {
        UseFont(state_.font);
        // The drawing pass replays the sizes the measuring pass found for the same chunks.
        QSize size;
        if (pass == Pass::Measure || replayed_ >= measured_.size()) {
            size = TextSize(chunk);
            if (pass == Pass::Measure) measured_.push_back(size);
        } else {
            size = measured_[replayed_++];
        }
        line.height = std::max(line.height, size.height());
        if (state_.sub) line.subExtra = std::max(line.subExtra, size.height() / 4);
        if (state_.sup) line.supExtra = std::max(line.supExtra, size.height() / 4);
        if (pass == Pass::Measure) {
            const int available = rect_.right - (rect_.left + 1);
            const bool insideWord = !line.lastVisible.isNull() && line.lastVisible != u' ';
            const bool fits = available > line.x + size.width() || available <= size.width() || insideWord;
            if (!fits) {
                line.ended = true;
                return false;
            }
        } else {
            DrawChunk(chunk, size, line, *place);
        }
        line.x += size.width();
        line.trailing = chunk.endsWith(u' ') ? canvas_.MeasureText(u" ") : 0;
        if (!chunk.isEmpty()) line.lastVisible = chunk.back();
        return true;
    }

    void DrawChunk(QStringView chunk, QSize size, const Line& line, const LinePlacement& place) {
        const Line& m = place.metrics;
        const int left = place.left + line.x;
        const int lineBottom = place.Bottom();
        int bottom = lineBottom - m.subExtra;
        if (state_.sup) bottom -= m.supExtra;
        if (state_.sub) bottom += m.subExtra;
        bottom -= m.imageOffset;
        HitTestChunk(left, size.width(), lineBottom - m.imageOffset);
        if (params_.noDraw) return;
        // Neighbouring chunks of one look are drawn as one run: the same pixels, far fewer calls.
        TextRun next{left,
                     left + size.width(),
                     place.top,
                     bottom,
                     lineBottom - m.subExtra,
                     state_.font,
                     state_.background,
                     state_.shadow,
                     state_.errorUnderline};
        if (!pendingText_.isEmpty() && pending_.Continues(next)) {
            pendingText_ += chunk;
            pending_.right = next.right;
            return;
        }
        Flush();
        pending_ = next;
        pendingText_ += chunk;
    }

    // A piece of text waiting to be drawn.
    struct TextRun {
        int left = 0;
        int right = 0;
        int top = 0;
        int bottom = 0;
        int zigzagBase = 0;
        gui::Font font;
        TColor background = clNone;
        bool shadow = false;
        bool errorUnderline = false;
        bool Continues(const TextRun& n) const {
            return n.left == right && n.top == top && n.bottom == bottom && n.font == font &&
                   n.background == background && n.shadow == shadow && n.errorUnderline == errorUnderline;
        }
    };

    void Flush() {
        if (pendingText_.isEmpty()) return;
        const TextRun& r = pending_;
        if (r.shadow) {
            gui::Font shadow = r.font;
            shadow.color = params_.shadowColor;
            UseFont(shadow);
            canvas_.SetBrushColor(clNone);
            Rect box =
                Rect{r.left, r.top, rect_.right, r.bottom}.Offset(params_.shadowOffset, params_.shadowOffset);
            canvas_.DrawText(pendingText_, box, kDrawFlags);
        }
        UseFont(r.font);
        canvas_.SetBrushColor(r.background);
        Rect box{r.left, r.top, rect_.right, r.bottom};
        canvas_.DrawText(pendingText_, box, kDrawFlags);
        canvas_.SetBrushColor(clNone);
        if (r.errorUnderline) Zigzag(r.left, r.right, r.zigzagBase);
        pendingText_.resize(0);  // keeps its buffer for the next run
    }

    // The anchor under the test point: horizontally within the chunk and vertically within the text of
    // the line, so that a point on another line never marks it.
    void HitTestChunk(int left, int width, int textBottom) {
        if (!state_.inAnchor) return;
        if (params_.hitX < left || params_.hitX > left + width) return;
        const int gh = GhHeight();
        if (params_.hitY <= textBottom - gh || params_.hitY >= textBottom) return;
        anchorHit_ = true;
        result_.anchorHref = state_.href;
        result_.mouseAnchor = state_.anchorCount;
    }

    void Zigzag(int from, int to, int base) {
        int x = from - from % 2;
        std::vector<QPoint> points;
        bool low = x % 4 == 0;
        for (; x <= to; x += 2, low = !low) points.emplace_back(x, low ? base + 1 : base - 1);
        canvas_.SetPen(gui::clRed, 1);
        canvas_.Polyline(points);
    }

    void FillBand(const LinePlacement& place) {
        if (params_.noDraw || state_.paraBand == clNone) return;
        canvas_.FillRect(Rect{rect_.left, place.top, rect_.right, place.Bottom()}, state_.paraBand);
    }

    TagEffect Tag(QStringView tag, Pass pass, Line& line, const LinePlacement* place) {
        if (pass == Pass::Draw) Flush();  // tags may paint; what came before is drawn first
        if (tag.size() >= 2 && tag[1] == u'/')
            return tag.size() >= 4 ? CloseTag(tag, line, place) : TagEffect::None;
        return OpenTag(tag, pass, line, place);
    }

    // The upper-cased attributes of a tag: what follows its name.
    static QString UpperAttributes(const QString& upper) {
        const qsizetype nameEnd = upper.indexOf(u' ');
        return nameEnd < 0 ? QString() : upper.mid(nameEnd);
    }

    TagEffect OpenTag(QStringView tag, Pass pass, Line& line, const LinePlacement* place) {
        const QChar letter = tag[1].toUpper();
        const QChar second = tag.size() > 2 ? tag[2].toUpper() : QChar();
        const bool bare = second == u'>';
        switch (letter.unicode()) {
            case u'A':
                state_.anchorCount++;
                state_.href = QuotedAfter(tag, 0);
                state_.font.style |= gui::fsUnderline;
                state_.font.color = params_.anchorColor;
                state_.inAnchor = true;
                return TagEffect::None;
            case u'B':
                if (bare) state_.font.style |= gui::fsBold;
                if (second == u'R') return TagEffect::EndsLine;
                if (second == u'L') state_.font.color = entryBrush_ == clNone ? gui::clWhite : entryBrush_;
                if (second == u'O') BodyTag(UpperAttributes(tag.toString().toUpper()), place);
                return TagEffect::None;
            case u'E':
                state_.errorUnderline = true;
                return TagEffect::None;
            case u'F':
                FontTag(tag);
                return TagEffect::None;
            case u'H':
                if (second == u'I') {
                    state_.hiSavedColor = state_.font.color;
                    state_.hiSavedBackground = state_.background;
                    state_.background = gui::clHighlight;
                    state_.font.color = gui::clHighlightText;
                } else if (second == u'R') {
                    if (place && !params_.noDraw) {
                        int y = place->top + place->metrics.height;
                        canvas_.FillRect(Rect{place->left, y, rect_.right, y + 1}, gui::clBlack);
                    }
                    return TagEffect::EndsLine;
                }
                return TagEffect::None;
            case u'I':
                if (bare) state_.font.style |= gui::fsItalic;
                if (second == u'N') IndentTag(tag, line);
                if (second == u'M') return ImageTag(tag, tag.toString().toUpper(), pass, line, place);
                return TagEffect::None;
            case u'L':
                return ListItem(line, place);
            case u'P':
                ParagraphTag(tag, UpperAttributes(tag.toString().toUpper()), place);
                return TagEffect::None;
            case u'R': {
                qsizetype a = tag.indexOf(u'a', 2, Qt::CaseInsensitive);
                state_.font.angle = a < 0 ? 0 : LeadingNumber(QuotedAfter(tag, a)) * 10;
                return TagEffect::None;
            }
            case u'S':
                if (tag.startsWith(u"<SUB>", Qt::CaseInsensitive))
                    state_.sub = true;
                else if (tag.startsWith(u"<SUP>", Qt::CaseInsensitive))
                    state_.sup = true;
                else if (second == u'H')
                    state_.shadow = true;
                else if (bare)
                    state_.font.style |= gui::fsStrikeOut;
                return TagEffect::None;
            case u'U':
                if (bare)
                    state_.font.style |= gui::fsUnderline;
                else
                    state_.listLevel++;
                return TagEffect::None;
            case u'Z':
                state_.hidden = true;
                return TagEffect::None;
            default:
                return TagEffect::None;
        }
    }

    TagEffect CloseTag(QStringView tag, Line& line, const LinePlacement* place) {
        (void)line;
        (void)place;
        const QChar letter = tag[2].toUpper();
        const QChar second = tag[3].toUpper();
        const bool bare = second == u'>';
        switch (letter.unicode()) {
            case u'A':
                state_.font.style &= ~gui::fsUnderline;
                state_.font.color = entryFont_.color;
                state_.inAnchor = false;
                break;
            case u'B':
                if (bare)
                    state_.font.style &= ~gui::fsBold;
                else
                    state_.font.color = entryFont_.color;
                break;
            case u'E':
                state_.errorUnderline = false;
                break;
            case u'F':
                state_.font.name = entryFont_.name;
                state_.font.size = entryFont_.size;
                state_.font.height = entryFont_.height;
                state_.font.color = entryFont_.color;
                state_.background = state_.fontBackground;
                break;
            case u'H':
                state_.font.color = state_.hiSavedColor;
                state_.background = state_.hiSavedBackground;
                break;
            case u'I':
                state_.font.style &= ~gui::fsItalic;
                break;
            case u'P':
                state_.background = state_.paraSaved;
                state_.paraBackground = false;
                return TagEffect::EndsLine;
            case u'R':
                state_.font.angle = 0;
                break;
            case u'S':
                if (second == u'U')
                    state_.sub = state_.sup = false;
                else if (second == u'H')
                    state_.shadow = false;
                else
                    state_.font.style &= ~gui::fsStrikeOut;
                break;
            case u'U':
                if (bare || state_.listLevel == 0)
                    state_.font.style &= ~gui::fsUnderline;
                else
                    state_.listLevel--;
                break;
            case u'Z':
                state_.hidden = false;
                break;
            default:
                break;
        }
        return TagEffect::None;
    }

    void BodyTag(const QString& attrs, const LinePlacement* place) {
        QString value = AttributeValue(attrs, QStringLiteral("BGCOLOR"));
        if (!value.contains(QStringLiteral("CL")) && !value.contains(u'#')) return;
        state_.background = HtmlColor(value);
        state_.fontBackground = state_.background;
        if (place && !params_.noDraw) canvas_.FillRect(rect_, state_.background);
    }

    void FontTag(QStringView tag) {
        if (!tag.endsWith(u'>')) return;
        const QString attrs = tag.mid(5).toString().toUpper();
        if (attrs.contains(QStringLiteral("FACE")))
            state_.font.name = AttributeValue(attrs, QStringLiteral("FACE"));
        if (attrs.contains(QStringLiteral(" COLOR")))
            state_.font.color = HtmlColor(AttributeValue(attrs, QStringLiteral(" COLOR")));
        if (attrs.contains(QStringLiteral("BGCOLOR"))) {
            state_.fontBackground = state_.background;
            state_.background = HtmlColor(AttributeValue(attrs, QStringLiteral("BGCOLOR")));
        }
        if (attrs.contains(QStringLiteral("SIZE"))) {
            int points = FontSizeFromAttrs(attrs);
            if (points >= 0) {
                state_.font.size = std::clamp(points, 1, 1000);
                state_.font.height = 0;
            }
        }
        state_.font.angle = 0;  // a change of the font ends a rotation
    }

    void IndentTag(QStringView tag, Line& line) {
        qsizetype x = tag.indexOf(u'x', 2, Qt::CaseInsensitive);
        if (x < 0) return;
        QString value = QuotedAfter(tag, x);
        bool ok = false;
        int n = value.toInt(&ok);
        if (ok && n > line.x) line.x = n;
    }

    void ParagraphTag(QStringView tag, const QString& attrs, const LinePlacement* place) {
        if (!tag.endsWith(u'>')) return;
        if (attrs.contains(QStringLiteral("ALIGN"))) {
            QString value = AttributeValue(attrs, QStringLiteral("ALIGN"));
            if (value.contains(QStringLiteral("RIGHT"))) state_.align = Align::Right;
            if (value.contains(QStringLiteral("LEFT"))) state_.align = Align::Left;
            if (value.contains(QStringLiteral("CENTER"))) state_.align = Align::Center;
        }
        if (attrs.contains(QStringLiteral("INDENT")))
            state_.indent = LeadingNumber(AttributeValue(attrs, QStringLiteral("INDENT")));
        if (attrs.contains(QStringLiteral("BGCOLOR"))) {
            QString value = AttributeValue(attrs, QStringLiteral("BGCOLOR"));
            TColor colour = value.isEmpty() ? clNone : HtmlColor(value);
            state_.paraSaved = state_.background;
            state_.background = colour;
            state_.paraBand = colour;
            state_.paraBackground = true;
            if (place) FillBand(*place);
        }
    }

    TagEffect ListItem(Line& line, const LinePlacement* place) {
        if (line.listItem) return TagEffect::DoesNotFit;
        line.listItem = true;
        const int p = line.x;
        line.x = p + state_.listLevel * kListIndent;
        if (place && !params_.noDraw) {
            UseFont(state_.font);
            QString bullet = state_.listLevel % 2 == 1 ? QString(QChar(0x2022)) : QStringLiteral("o");
            Rect box{place->left + p + (state_.listLevel - 1) * kListIndent, place->top, rect_.right,
                     place->Bottom()};
            canvas_.SetBrushColor(clNone);
            canvas_.DrawText(bullet, box, gui::DT_SINGLELINE | gui::DT_TOP | gui::DT_NOPREFIX);
        }
        return TagEffect::None;
    }

    TagEffect ImageTag(QStringView tag, const QString& upper, Pass pass, Line& line,
                       const LinePlacement* place) {
        state_.imageCount++;
        qsizetype srcAt = upper.indexOf(QStringLiteral("SRC"));
        QString source = srcAt < 0 ? QString() : QuotedAfter(tag, srcAt + 3);
        qsizetype altAt = upper.indexOf(QStringLiteral("ALT"));
        if (altAt >= 0 && state_.imageCount == lastImageHit_) source = QuotedAfter(tag, altAt + 3);
        QSize size(0, 0);
        QIcon icon;
        const QString kind = source.left(5).toUpper();
        if (kind == QStringLiteral("SSYS:") || kind == QStringLiteral("LSYS:")) {
            const int side = kind[0] == u'S' ? 16 : 32;
            size = QSize(side, side);
            icon = ShellIcon(source.mid(5));
        }
        const int available = rect_.right - (rect_.left + 1);
        if (pass == Pass::Measure && line.x + size.width() > available && available > size.width())
            return TagEffect::DoesNotFit;
        const int gh = GhHeight();
        if (place) {
            const int left = place->left + line.x;
            const int top = place->top;
            if (state_.inAnchor && params_.hitX > left && params_.hitX < left + size.width() &&
                params_.hitY > top && params_.hitY < top + size.height()) {
                imageHit_ = true;
                result_.anchorHref = state_.href;
                lastImageHit_ = state_.imageCount;
            }
            if (!params_.noDraw && !icon.isNull())
                icon.paint(&canvas_.Painter(), left, top, size.width(), size.height());
        }
        line.x += size.width();
        line.height = std::max(line.height, size.height());
        const QString align = AttributeValue(upper, QStringLiteral("ALIGN"));
        if (align.startsWith(QStringLiteral("TOP"))) line.imageOffset = line.height - gh;
        if (align.startsWith(QStringLiteral("MIDDLE"))) line.imageOffset = (line.height - gh) / 2;
        return TagEffect::None;
    }

    static QIcon ShellIcon(const QString& name) {
        QFileIconProvider provider;
        bool numeric = false;
        name.toInt(&numeric);
        if (numeric || name.isEmpty()) return provider.icon(QAbstractFileIconProvider::File);
        QFileInfo info(name);
        if (info.exists()) return provider.icon(info);
        return provider.icon(QAbstractFileIconProvider::File);
    }

    gui::Canvas& canvas_;
    const Rect rect_;
    const HtmlDrawParams& params_;
    gui::Font entryFont_;
    TColor entryBrush_ = clNone;
    State state_;
    State lineStart_;
    std::vector<QSize> measured_;
    size_t replayed_ = 0;
    TextRun pending_;
    QString pendingText_;  // the text of pending_
    QString decoded_;      // the chunk being placed, when it had entities
    HtmlDrawResult result_;
    bool anchorHit_ = false;
    bool imageHit_ = false;
    int lastImageHit_ = -1;
};

}  // namespace

QString ConvertLineBreaks(const QString& text, bool toTags) {
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return c == u'\n' || c == u'\r'; })) return text;
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\n') continue;
        if (c == u'\r') {
            if (toTags) out += QStringLiteral("<BR>");
            continue;
        }
        out += c;
    }
    return out;
}

TColor HtmlColor(const QString& value) {
    if (value.startsWith(u'#')) {
        const QString hex = value.toUpper();
        auto pair = [&](int at) {
            bool ok = false;
            int v = hex.mid(at, 2).toInt(&ok, 16);
            return ok ? v : 0;
        };
        return gui::RGB(pair(1), pair(3), pair(5));
    }
    struct Named {
        const char* name;
        TColor value;
    };
    static const Named kNames[] = {
        {"clred", 0x0000FF},
        {"clblack", 0x000000},
        {"clblue", 0xFF0000},
        {"clgreen", 0x008000},
        {"claqua", 0xFFFF00},
        {"clyellow", 0x00FFFF},
        {"clfuchsia", 0xFF00FF},
        {"clwhite", 0xFFFFFF},
        {"cllime", 0x00FF00},
        {"clsilver", 0xC0C0C0},
        {"clgray", 0x808080},
        {"clolive", 0x008080},
        {"clnavy", 0x800000},
        {"clpurple", 0x800080},
        {"clteal", 0x808000},
        {"clmaroon", 0x000080},
        {"clscrollbar", gui::SystemColor(0)},
        {"clbackground", gui::SystemColor(1)},
        {"clactivecaption", gui::SystemColor(2)},
        {"clinactivecaption", gui::SystemColor(3)},
        {"clmenu", gui::SystemColor(4)},
        {"clwindow", gui::SystemColor(5)},
        {"clwindowframe", gui::SystemColor(6)},
        {"clmenutext", gui::SystemColor(7)},
        {"clwindowtext", gui::SystemColor(8)},
        {"clcaptiontext", gui::SystemColor(9)},
        {"clactiveborder", gui::SystemColor(10)},
        {"clinactiveborder", gui::SystemColor(11)},
        {"clappworkspace", gui::SystemColor(12)},
        {"clhighlight", gui::SystemColor(13)},
        {"clhighlighttext", gui::SystemColor(14)},
        {"clbtnface", gui::SystemColor(15)},
        {"clbtnshadow", gui::SystemColor(16)},
        {"clgraytext", gui::SystemColor(17)},
        {"clbtntext", gui::SystemColor(18)},
        {"clinactivecaptiontext", gui::SystemColor(19)},
        {"clbtnhighlight", gui::SystemColor(20)},
        {"cl3ddkshadow", gui::SystemColor(21)},
        {"cl3dlight", gui::SystemColor(22)},
        {"clinfotext", gui::SystemColor(23)},
        {"clinfobk", gui::SystemColor(24)},
    };
    const QString lower = value.toLower();
    for (const Named& n : kNames)
        if (lower == QLatin1String(n.name)) return n.value;
    return gui::clBlack;
}

HtmlDrawResult HtmlDraw(gui::Canvas& canvas, const QString& text, const gui::Rect& rect,
                        const HtmlDrawParams& params) {
    return Renderer(canvas, rect, params).Run(text);
}

}  // namespace ui
