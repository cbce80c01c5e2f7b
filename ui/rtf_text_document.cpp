#include "ui/rtf_text_document.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cmath>

namespace rtf {

Qt::Alignment ToQtAlignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::Center:
            return Qt::AlignHCenter;
        case Alignment::Right:
            return Qt::AlignRight;
        case Alignment::Justify:
            return Qt::AlignJustify;
        case Alignment::Left:
            break;
    }
    return Qt::AlignLeft;
}

Alignment FromQtAlignment(Qt::Alignment alignment) {
    const Qt::Alignment horizontal = alignment & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter) return Alignment::Center;
    if (horizontal & Qt::AlignJustify) return Alignment::Justify;
    if (horizontal & (Qt::AlignRight | Qt::AlignTrailing)) return Alignment::Right;
    return Alignment::Left;
}

namespace {

int HalfPointsOfPixels(double pixels) {
    return static_cast<int>(std::lround(pixels * 72.0 / 96.0 * 2.0));
}

bool IsFrameOrObjectMarker(QChar ch) {
    return ch.unicode() == 0xFDD0 || ch.unicode() == 0xFDD1 || ch == QChar::ObjectReplacementCharacter;
}

// Characters that would split a Qt block become line breaks; frame and object markers have no text.
QString ForBlock(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (ch == u'\n' || ch == u'\r' || ch == QChar::ParagraphSeparator)
            out.append(QChar::LineSeparator);
        else if (!IsFrameOrObjectMarker(ch))
            out.append(ch);
    }
    return out;
}

QString WithoutMarkers(QString text) {
    text.removeIf(IsFrameOrObjectMarker);
    return text;
}

void AppendRun(Paragraph& paragraph, CharFormat format, const QString& text) {
    if (text.isEmpty()) return;
    if (!paragraph.runs.empty() && paragraph.runs.back().format == format)
        paragraph.runs.back().text += text;
    else
        paragraph.runs.push_back(Run{std::move(format), text});
}

}  // namespace

int HalfPointsOf(const QFont& font) {
    if (font.pointSizeF() > 0) return static_cast<int>(std::lround(font.pointSizeF() * 2.0));
    return HalfPointsOfPixels(font.pixelSize());
}

CharFormat FromQtFormat(const QTextCharFormat& format, const QFont& defaultFont) {
    CharFormat f;
    const QStringList families = format.fontFamilies().toStringList();
    f.fontName = families.isEmpty() || families.first().isEmpty() ? defaultFont.family() : families.first();
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        f.halfPoints = static_cast<int>(std::lround(format.fontPointSize() * 2.0));
    else if (format.hasProperty(QTextFormat::FontPixelSize) &&
             format.intProperty(QTextFormat::FontPixelSize) > 0)
        f.halfPoints = HalfPointsOfPixels(format.intProperty(QTextFormat::FontPixelSize));
    else
        f.halfPoints = HalfPointsOf(defaultFont);
    f.bold = format.hasProperty(QTextFormat::FontWeight) ? format.fontWeight() > QFont::Medium
                                                         : defaultFont.weight() > QFont::Medium;
    f.italic = format.fontItalic();
    f.underline = format.fontUnderline();
    f.strikeOut = format.fontStrikeOut();
    f.protect = format.boolProperty(kProtectedProperty);
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush) {
        f.autoColor = false;
        f.color = format.foreground().color().rgb() & 0xFFFFFF;
    }
    return f;
}

QTextCharFormat ToQtFormat(const CharFormat& format) {
    QTextCharFormat f;
    if (!format.fontName.isEmpty()) f.setFontFamilies(QStringList{format.fontName});
    if (format.halfPoints > 0) f.setFontPointSize(format.halfPoints / 2.0);
    f.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(format.italic);
    f.setFontUnderline(format.underline);
    f.setFontStrikeOut(format.strikeOut);
    if (format.protect) f.setProperty(kProtectedProperty, true);
    if (!format.autoColor) f.setForeground(QColor(QRgb(0xFF000000u | format.color)));
    return f;
}

void ToTextDocument(const Document& source, QTextDocument& target) {
    target.clear();
    QTextCursor cursor(&target);
    cursor.beginEditBlock();
    CharFormat lastFormat;
    QTextCharFormat lastQtFormat = ToQtFormat(lastFormat);
    bool first = true;
    for (const Paragraph& paragraph : source.paragraphs) {
        QTextBlockFormat blockFormat;
        blockFormat.setAlignment(ToQtAlignment(paragraph.alignment));
        if (first) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(ToQtFormat(paragraph.mark));
            first = false;
        } else {
            cursor.insertBlock(blockFormat, ToQtFormat(paragraph.mark));
        }
        for (const Run& run : paragraph.runs) {
            if (!(run.format == lastFormat)) {
                lastFormat = run.format;
                lastQtFormat = ToQtFormat(lastFormat);
            }
            cursor.insertText(ForBlock(run.text), lastQtFormat);
        }
    }
    cursor.endEditBlock();
}

Document FromTextDocument(const QTextDocument& source) {
    Document document;
    const QFont defaultFont = source.defaultFont();
    int lastIndex = -1;
    CharFormat lastFormat;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        Paragraph paragraph;
        paragraph.alignment = FromQtAlignment(block.blockFormat().alignment());
        paragraph.mark = FromQtFormat(block.charFormat(), defaultFont);
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || fragment.charFormat().isImageFormat()) continue;
            if (fragment.charFormatIndex() != lastIndex) {
                lastIndex = fragment.charFormatIndex();
                lastFormat = FromQtFormat(fragment.charFormat(), defaultFont);
            }
            AppendRun(paragraph, lastFormat, WithoutMarkers(fragment.text()));
        }
        document.paragraphs.push_back(std::move(paragraph));
    }
    return document;
}

}  // namespace rtf
