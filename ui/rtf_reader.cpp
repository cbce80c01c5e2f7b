#include "ui/rtf_reader.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>

#include "platform/core/cp1252.h"

namespace rtf {

namespace {

// Groups nested deeper than this are skipped whole; it keeps the state stack small on hostile input.
constexpr int kMaxDepth = 256;
// Font sizes beyond what a word processor accepts (1638 points) are clamped.
constexpr int kMaxHalfPoints = 3276;
constexpr int kRtfDefaultHalfPoints = 24;

enum class Destination { Text, FontTable, ColorTable, Skip };

struct GroupState {
    Destination destination = Destination::Text;
    int font = -1;  // index into the font table; -1 is the default font
    int halfPoints = kRtfDefaultHalfPoints;
    int color = 0;  // index into the colour table; 0 is automatic
    bool bold = false, italic = false, underline = false, strikeOut = false, protect = false;
    bool hidden = false;
    Alignment alignment = Alignment::Left;
    int unicodeSkip = 1;  // \uc: fallback characters that follow each \u
};

struct ColorEntry {
    bool automatic = true;
    uint32_t rgb = 0;
};

// Destinations whose content is never text of the document.
bool IsSkippedDestination(std::string_view word) {
    static constexpr std::array<std::string_view, 34> kSkipped = {
        "stylesheet", "info",      "pict",
        "object",     "objdata",   "nonshppict",
        "header",     "headerl",   "headerr",
        "headerf",    "footer",    "footerl",
        "footerr",    "footerf",   "footnote",
        "annotation", "listtext",  "pntext",
        "pntxta",     "pntxtb",    "fldinst",
        "xe",         "tc",        "txe",
        "revtbl",     "listtable", "listoverridetable",
        "rsidtbl",    "filetbl",   "author",
        "operator",   "title",     "comment",
        "doccomm"};
    return std::find(kSkipped.begin(), kSkipped.end(), word) != kSkipped.end();
}

bool IsUnderlineWord(std::string_view word) {
    static constexpr std::array<std::string_view, 17> kUnderlines = {
        "ul",       "uld",       "uldash",     "uldashd", "uldashdd",   "uldb",
        "ulth",     "ulw",       "ulwave",     "ulhwave", "ululdbwave", "ulthd",
        "ulthdash", "ulthdashd", "ulthdashdd", "ulldash", "ulthldash"};
    return std::find(kUnderlines.begin(), kUnderlines.end(), word) != kUnderlines.end();
}

// A single character that a control word stands for, or 0.
char16_t SpecialCharacter(std::string_view word) {
    static const std::unordered_map<std::string_view, char16_t> kChars = {
        {"tab", u'\t'},           {"line", u'\x2028'},    {"emdash", u'\x2014'},  {"endash", u'\x2013'},
        {"bullet", u'\x2022'},    {"lquote", u'\x2018'},  {"rquote", u'\x2019'},  {"ldblquote", u'\x201C'},
        {"rdblquote", u'\x201D'}, {"emspace", u'\x2003'}, {"enspace", u'\x2002'}, {"qmspace", u'\x2005'},
        {"cell", u'\t'},          {"nestcell", u'\t'}};
    auto it = kChars.find(word);
    return it == kChars.end() ? 0 : it->second;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

class Reader {
  public:
    explicit Reader(std::string_view input) : in_(input) {}

    Document Parse() {
        pos_ = 0;
        while (pos_ < in_.size() && !finished_) Step();
        if (!paragraph_.runs.empty()) EndParagraph();
        return std::move(document_);
    }

  private:
    // --- tokens -------------------------------------------------------------------------------
    void Step() {
        const char c = in_[pos_];
        if (c == '{') {
            ++pos_;
            pendingSkip_ = 0;
            OpenGroup();
        } else if (c == '}') {
            ++pos_;
            pendingSkip_ = 0;
            CloseGroup();
        } else if (c == '\\') {
            ++pos_;
            ControlSequence();
        } else if (c == '\r' || c == '\n') {
            ++pos_;
        } else {
            ++pos_;
            if (ConsumeSkip()) return;
            Character(static_cast<char16_t>(core::Cp1252ToUnicode(static_cast<unsigned char>(c))), true);
        }
    }

    // Fallback characters after \u are dropped; every character, escape or control word counts as one.
    bool ConsumeSkip() {
        if (pendingSkip_ == 0) return false;
        --pendingSkip_;
        return true;
    }

    void ControlSequence() {
        if (pos_ >= in_.size()) return;
        const char c = in_[pos_];
        if (!IsLetter(c)) {
            ++pos_;
            ControlSymbol(c);
            return;
        }
        const size_t start = pos_;
        while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
        const std::string_view word = in_.substr(start, std::min<size_t>(pos_ - start, 32));
        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && IsDigit(in_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        while (pos_ < in_.size() && IsDigit(in_[pos_])) {
            hasParam = true;
            if (param < 100000000000LL) param = param * 10 + (in_[pos_] - '0');
            ++pos_;
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
        if (negative) param = -param;
        const int value = static_cast<int>(std::clamp<long long>(param, INT32_MIN, INT32_MAX));
        if (word == "bin") {
            SkipBinary(hasParam ? value : 0);
            ConsumeSkip();
            return;
        }
        if (ConsumeSkip()) return;
        ControlWord(word, hasParam, value);
    }

    void SkipBinary(int count) {
        if (count <= 0) return;
        pos_ += std::min<size_t>(static_cast<size_t>(count), in_.size() - pos_);
    }

    void ControlSymbol(char c) {
        if (c == '\'') {
            int value = 0;
            int digits = 0;
            for (; digits < 2 && pos_ < in_.size(); ++digits) {
                const int digit = HexValue(in_[pos_]);
                if (digit < 0) break;
                value = value * 16 + digit;
                ++pos_;
            }
            if (ConsumeSkip() || digits == 0) return;
            Character(static_cast<char16_t>(core::Cp1252ToUnicode(static_cast<unsigned char>(value))));
            return;
        }
        if (ConsumeSkip()) return;
        switch (c) {
            case '\\':
            case '{':
            case '}':
                Character(static_cast<char16_t>(c));
                break;
            case '~':
                Character(u'\x00A0');
                break;
            case '_':
                Character(u'\x2011');
                break;
            case '*':
                state().destination = Destination::Skip;
                break;
            case '\r':
            case '\n':
                ParagraphBreak();
                break;
            default:
                break;  // \- optional hyphen, \: and \| index marks, unknown symbols
        }
    }

    // --- groups -------------------------------------------------------------------------------
    void OpenGroup() {
        if (overflow_ > 0 || stack_.size() >= kMaxDepth) {
            ++overflow_;
            return;
        }
        stack_.push_back(stack_.empty() ? GroupState{} : stack_.back());
        dirty_ = true;
    }

    void CloseGroup() {
        if (overflow_ > 0) {
            --overflow_;
            return;
        }
        if (stack_.empty()) return;
        const Destination closing = stack_.back().destination;
        if (closing == Destination::FontTable) CommitFontName();
        stack_.pop_back();
        dirty_ = true;
        if (stack_.empty()) finished_ = true;  // the document's own group ends the file
    }

    GroupState& state() { return stack_.back(); }
    bool InBody() const { return !stack_.empty() && overflow_ == 0; }

    // --- control words ------------------------------------------------------------------------
    void ControlWord(std::string_view word, bool hasParam, int value) {
        if (!InBody()) return;
        GroupState& s = state();
        if (s.destination == Destination::Skip) return;
        if (word == "u") {
            Character(static_cast<char16_t>(value < 0 ? value + 65536 : value));
            pendingSkip_ = s.unicodeSkip;
            return;
        }
        if (word == "uc") {
            s.unicodeSkip = std::clamp(value, 0, 16);
            return;
        }
        if (s.destination == Destination::FontTable) {
            if (const char16_t ch = SpecialCharacter(word)) return Character(ch);
            return FontTableWord(word, value);
        }
        if (s.destination == Destination::ColorTable) return ColorTableWord(word, value);
        if (DestinationWord(word)) return;
        if (FormatWord(s, word, hasParam, value)) {
            dirty_ = true;
            return;
        }
        if (word == "par" || word == "row" || word == "nestrow" || word == "page") return ParagraphBreak();
        if (word == "sect") {
            if (!paragraph_.runs.empty()) ParagraphBreak();
            return;
        }
        if (const char16_t ch = SpecialCharacter(word)) Character(ch);
    }

    bool DestinationWord(std::string_view word) {
        GroupState& s = state();
        if (word == "fonttbl") {
            s.destination = Destination::FontTable;
            fontEntry_ = -1;
            fontName_.clear();
        } else if (word == "colortbl") {
            s.destination = Destination::ColorTable;
            colorEntry_ = ColorEntry{};
        } else if (IsSkippedDestination(word)) {
            s.destination = Destination::Skip;
        } else {
            return false;
        }
        return true;
    }

    static bool Flag(bool hasParam, int value) { return !hasParam || value != 0; }

    bool FormatWord(GroupState& s, std::string_view word, bool hasParam, int value) {
        if (word == "b")
            s.bold = Flag(hasParam, value);
        else if (word == "i")
            s.italic = Flag(hasParam, value);
        else if (IsUnderlineWord(word))
            s.underline = Flag(hasParam, value);
        else if (word == "ulnone")
            s.underline = false;
        else if (word == "strike" || word == "striked")
            s.strikeOut = Flag(hasParam, value);
        else if (word == "protect")
            s.protect = Flag(hasParam, value);
        else if (word == "v")
            s.hidden = Flag(hasParam, value);
        else if (word == "f")
            s.font = hasParam ? value : -1;
        else if (word == "fs")
            s.halfPoints = hasParam && value > 0 ? std::min(value, kMaxHalfPoints) : kRtfDefaultHalfPoints;
        else if (word == "cf")
            s.color = hasParam ? value : 0;
        else if (word == "plain")
            PlainFormat(s);
        else if (word == "pard")
            s.alignment = Alignment::Left;
        else if (word == "ql")
            s.alignment = Alignment::Left;
        else if (word == "qc")
            s.alignment = Alignment::Center;
        else if (word == "qr")
            s.alignment = Alignment::Right;
        else if (word == "qj" || word == "qd")
            s.alignment = Alignment::Justify;
        else if (word == "deff")
            defaultFont_ = value;
        else
            return false;
        return true;
    }

    static void PlainFormat(GroupState& s) {
        s.font = -1;
        s.halfPoints = kRtfDefaultHalfPoints;
        s.color = 0;
        s.bold = s.italic = s.underline = s.strikeOut = s.protect = s.hidden = false;
    }

    // --- font and colour tables ---------------------------------------------------------------
    void FontTableWord(std::string_view word, int value) {
        if (word == "f") {
            CommitFontName();
            fontEntry_ = value;
        }
    }

    void CommitFontName() {
        // The first definition of a number wins, as in the programs that write such tables.
        if (fontEntry_ >= 0 && fonts_.find(fontEntry_) == fonts_.end())
            fonts_[fontEntry_] = fontName_.trimmed();
        fontName_.clear();
        fontEntry_ = -1;
    }

    void ColorTableWord(std::string_view word, int value) {
        const uint32_t component = static_cast<uint32_t>(std::clamp(value, 0, 255));
        if (word == "red")
            colorEntry_.rgb = (colorEntry_.rgb & 0x00FFFF) | (component << 16);
        else if (word == "green")
            colorEntry_.rgb = (colorEntry_.rgb & 0xFF00FF) | (component << 8);
        else if (word == "blue")
            colorEntry_.rgb = (colorEntry_.rgb & 0xFFFF00) | component;
        else
            return;
        colorEntry_.automatic = false;
    }

    // --- text ---------------------------------------------------------------------------------
    // `literal`: the character stood in the file as itself, so a ";" ends a table entry.
    void Character(char16_t ch, bool literal = false) {
        if (!InBody()) return;
        GroupState& s = state();
        switch (s.destination) {
            case Destination::Text:
                if (!s.hidden) AppendText(ch);
                break;
            case Destination::FontTable:
                if (ch == u';' && literal)
                    CommitFontName();
                else
                    fontName_.append(QChar(ch));
                break;
            case Destination::ColorTable:
                if (ch == u';' && literal) {
                    colors_.push_back(colorEntry_);
                    colorEntry_ = ColorEntry{};
                }
                break;
            case Destination::Skip:
                break;
        }
    }

    void AppendText(char16_t ch) {
        if (dirty_ || paragraph_.runs.empty()) {
            CharFormat format = Resolve(state());
            if (paragraph_.runs.empty() || !(paragraph_.runs.back().format == format))
                paragraph_.runs.push_back(Run{std::move(format), {}});
            dirty_ = false;
        }
        paragraph_.runs.back().text.append(QChar(ch));
    }

    CharFormat Resolve(const GroupState& s) const {
        CharFormat f;
        auto font = fonts_.find(s.font >= 0 ? s.font : defaultFont_);
        if (font != fonts_.end()) f.fontName = font->second;
        f.halfPoints = s.halfPoints;
        f.bold = s.bold;
        f.italic = s.italic;
        f.underline = s.underline;
        f.strikeOut = s.strikeOut;
        f.protect = s.protect;
        if (s.color > 0 && static_cast<size_t>(s.color) < colors_.size() && !colors_[s.color].automatic) {
            f.autoColor = false;
            f.color = colors_[s.color].rgb;
        }
        return f;
    }

    void ParagraphBreak() {
        if (!InBody() || state().destination != Destination::Text) return;
        EndParagraph();
    }

    void EndParagraph() {
        const GroupState& s = stack_.empty() ? GroupState{} : state();
        paragraph_.alignment = s.alignment;
        paragraph_.mark = Resolve(s);
        document_.paragraphs.push_back(std::move(paragraph_));
        paragraph_ = Paragraph{};
        dirty_ = true;
    }

    std::string_view in_;
    size_t pos_ = 0;
    bool finished_ = false;
    std::vector<GroupState> stack_;
    int overflow_ = 0;
    int pendingSkip_ = 0;
    bool dirty_ = true;

    std::unordered_map<int, QString> fonts_;
    int defaultFont_ = 0;
    int fontEntry_ = -1;
    QString fontName_;
    std::vector<ColorEntry> colors_;
    ColorEntry colorEntry_;

    Document document_;
    Paragraph paragraph_;
};

Document ReadPlainText(std::string_view bytes) {
    Document document;
    Paragraph paragraph;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            document.paragraphs.push_back(std::move(paragraph));
            paragraph = Paragraph{};
            continue;
        }
        if (paragraph.runs.empty()) paragraph.runs.emplace_back();
        paragraph.runs.back().text.append(
            QChar(static_cast<char16_t>(core::Cp1252ToUnicode(static_cast<unsigned char>(c)))));
    }
    if (!paragraph.runs.empty()) document.paragraphs.push_back(std::move(paragraph));
    return document;
}

}  // namespace

bool LooksLikeRtf(std::string_view bytes) {
    return bytes.substr(0, 5) == "{\\rtf";
}

Document Read(std::string_view bytes) {
    if (!LooksLikeRtf(bytes)) return ReadPlainText(bytes);
    return Reader(bytes).Parse();
}

}  // namespace rtf
