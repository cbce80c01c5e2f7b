#pragma once
// Finds web addresses and similar links in plain text, the way a rich-edit control's automatic link
// detection does: a known scheme ("http://", "https://", "ftp://", "file:", "mailto:", "news:") or
// "www." at the start of a word, running to the next space, and without trailing punctuation that
// ends the sentence around it.
#include <QString>
#include <QStringView>
#include <vector>

namespace ui {

struct TextSpan {
    int start = 0;
    int length = 0;

    int end() const { return start + length; }
    bool operator==(const TextSpan&) const = default;
};

std::vector<TextSpan> FindLinks(QStringView text);

}  // namespace ui
