#include "ui/rtf_writer.h"

#include <algorithm>

#include "platform/core/cp1252.h"
#include "platform/core/strings.h"

namespace rtf {

namespace {

constexpr int kRtfDefaultHalfPoints = 24;

// The format as it is written: fonts and colours as table indexes, sizes resolved.
struct WrittenFormat {
    int font = 0;
    int halfPoints = kRtfDefaultHalfPoints;
    int color = 0;
    bool bold = false, italic = false, underline = false, strikeOut = false, protect = false;
};

void AppendHex(std::string& out, unsigned value) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\'";
    out += kHex[(value >> 4) & 0xF];
    out += kHex[value & 0xF];
}

// Text escaped for rich text: the three syntax characters, tabs and line breaks as control words,
// everything outside printable ASCII as a code-page escape or, without a Windows-1252 byte, as \u.
void AppendEscaped(std::string& out, const QString& text) {
    for (const QChar qc : text) {
        const char16_t ch = qc.unicode();
        if (ch == u'\\' || ch == u'{' || ch == u'}') {
            out += '\\';
            out += static_cast<char>(ch);
        } else if (ch == u'\t') {
            out += "\\tab ";
        } else if (ch == u'\x2028') {
            out += "\\line ";
        } else if (ch >= 0x20 && ch < 0x7F) {
            out += static_cast<char>(ch);
        } else if (const int byte = core::UnicodeToCp1252(ch); byte >= 0) {
            AppendHex(out, static_cast<unsigned>(byte));
        } else {
            out += "\\u" +
                   std::to_string(ch >= 0x8000 ? static_cast<int>(ch) - 65536 : static_cast<int>(ch)) + "?";
        }
    }
}

class Writer {
  public:
    explicit Writer(const Document& document) : document_(document) { CollectTables(); }

    std::string Compose() {
        Header();
        for (const Paragraph& paragraph : document_.paragraphs) WriteParagraph(paragraph);
        out_ += "}\r\n";
        return std::move(out_);
    }

  private:
    void CollectTables() {
        for (const Paragraph& paragraph : document_.paragraphs) {
            for (const Run& run : paragraph.runs) Collect(run.format);
            Collect(paragraph.mark);
        }
    }

    void Collect(const CharFormat& format) {
        if (!format.fontName.isEmpty() &&
            std::find(fonts_.begin(), fonts_.end(), format.fontName) == fonts_.end())
            fonts_.push_back(format.fontName);
        if (!format.autoColor && std::find(colors_.begin(), colors_.end(), format.color) == colors_.end())
            colors_.push_back(format.color);
    }

    void Header() {
        out_ = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
        for (size_t i = 0; i < fonts_.size(); ++i) {
            out_ += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
            AppendFontName(fonts_[i]);
            out_ += ";}";
        }
        out_ += "}\r\n{\\colortbl ;";
        for (uint32_t rgb : colors_)
            out_ +=
                core::Format("\\red%u\\green%u\\blue%u;", (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
        out_ += "}\r\n\\viewkind4\\uc1\\pard\r\n";
    }

    // A semicolon ends a font table entry, so one inside a name is escaped.
    void AppendFontName(const QString& name) {
        std::string escaped;
        AppendEscaped(escaped, name);
        for (char c : escaped) {
            if (c == ';')
                AppendHex(out_, ';');
            else
                out_ += c;
        }
    }

    WrittenFormat Written(const CharFormat& format) const {
        WrittenFormat w;
        if (!format.fontName.isEmpty())
            w.font =
                static_cast<int>(std::find(fonts_.begin(), fonts_.end(), format.fontName) - fonts_.begin());
        w.halfPoints = format.halfPoints > 0 ? format.halfPoints : kRtfDefaultHalfPoints;
        if (!format.autoColor)
            w.color = 1 + static_cast<int>(std::find(colors_.begin(), colors_.end(), format.color) -
                                           colors_.begin());
        w.bold = format.bold;
        w.italic = format.italic;
        w.underline = format.underline;
        w.strikeOut = format.strikeOut;
        w.protect = format.protect;
        return w;
    }

    // Control words where `next` differs from what is in effect; a space ends them when text follows.
    void SwitchTo(const CharFormat& format) {
        const WrittenFormat next = Written(format);
        std::string words;
        if (next.font != current_.font && !fonts_.empty()) words += "\\f" + std::to_string(next.font);
        if (next.halfPoints != current_.halfPoints) words += "\\fs" + std::to_string(next.halfPoints);
        if (next.color != current_.color) words += "\\cf" + std::to_string(next.color);
        Toggle(words, current_.bold, next.bold, "\\b", "\\b0");
        Toggle(words, current_.italic, next.italic, "\\i", "\\i0");
        Toggle(words, current_.underline, next.underline, "\\ul", "\\ulnone");
        Toggle(words, current_.strikeOut, next.strikeOut, "\\strike", "\\strike0");
        Toggle(words, current_.protect, next.protect, "\\protect", "\\protect0");
        current_ = next;
        if (!words.empty()) pendingWords_ += words;
    }

    static void Toggle(std::string& words, bool was, bool now, const char* on, const char* off) {
        if (was != now) words += now ? on : off;
    }

    void WriteParagraph(const Paragraph& paragraph) {
        if (paragraph.alignment != alignment_) {
            pendingWords_ += "\\pard";
            pendingWords_ += AlignmentWord(paragraph.alignment);
            alignment_ = paragraph.alignment;
        }
        for (const Run& run : paragraph.runs) {
            if (run.text.isEmpty()) continue;
            SwitchTo(run.format);
            FlushWords(true);
            AppendEscaped(out_, run.text);
        }
        SwitchTo(paragraph.mark);
        FlushWords(false);
        out_ += "\\par\r\n";
    }

    static const char* AlignmentWord(Alignment alignment) {
        switch (alignment) {
            case Alignment::Center:
                return "\\qc";
            case Alignment::Right:
                return "\\qr";
            case Alignment::Justify:
                return "\\qj";
            case Alignment::Left:
                break;
        }
        return "";
    }

    void FlushWords(bool textFollows) {
        if (pendingWords_.empty()) return;
        out_ += pendingWords_;
        if (textFollows) out_ += ' ';
        pendingWords_.clear();
    }

    const Document& document_;
    std::vector<QString> fonts_;
    std::vector<uint32_t> colors_;
    std::string out_;
    std::string pendingWords_;
    WrittenFormat current_;
    Alignment alignment_ = Alignment::Left;
};

}  // namespace

std::string Write(const Document& document) {
    return Writer(document).Compose();
}

}  // namespace rtf
