#pragma once
// The rich text that the footer editor can hold, independent of any editor: paragraphs of runs, each
// run one stretch of text with one character format. This is what the RTF reader produces and the RTF
// writer consumes; the editor converts it to and from its own document.
#include <QString>
#include <cstdint>
#include <vector>

namespace rtf {

enum class Alignment { Left, Center, Right, Justify };

// Character format of a run. An empty font name means the document's default font; a size of 0 means
// the default size. `color` is 0x00RRGGBB and only meaningful when `autoColor` is false.
struct CharFormat {
    QString fontName;
    int halfPoints = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool protect = false;
    bool autoColor = true;
    uint32_t color = 0;

    bool operator==(const CharFormat&) const = default;
};

// Text of a run: a line break inside a paragraph is U+2028, a tab is '\t'.
struct Run {
    CharFormat format;
    QString text;

    bool operator==(const Run&) const = default;
};

struct Paragraph {
    Alignment alignment = Alignment::Left;
    std::vector<Run> runs;
    // The format of the paragraph mark: what an empty paragraph shows and types with.
    CharFormat mark;

    bool operator==(const Paragraph&) const = default;
};

struct Document {
    std::vector<Paragraph> paragraphs;

    bool operator==(const Document&) const = default;
};

}  // namespace rtf
