#include "ui/rich_link_finder.h"

#include <array>

namespace ui {

namespace {

constexpr std::array<const char16_t*, 7> kPrefixes = {u"http://", u"https://", u"ftp://", u"file:",
                                                      u"mailto:", u"news:",    u"www."};

// Length of the prefix that starts a link at `at`, or 0.
int PrefixAt(QStringView text, qsizetype at) {
    for (const char16_t* prefix : kPrefixes) {
        const QStringView p(prefix);
        if (text.mid(at).startsWith(p, Qt::CaseInsensitive)) return static_cast<int>(p.size());
    }
    return 0;
}

bool EndsLink(QChar ch) {
    return ch.isSpace() || ch.category() == QChar::Other_Control || ch == u'<' || ch == u'>' || ch == u'"';
}

// Sentence punctuation after an address is not part of it; a closing parenthesis is, when the address
// opened one.
qsizetype TrimTrailing(QStringView link) {
    qsizetype end = link.size();
    while (end > 0) {
        const QChar last = link[end - 1];
        if (QStringView(u".,;:!?'").contains(last)) {
            --end;
        } else if (last == u')' && link.left(end).count(u'(') < link.left(end).count(u')')) {
            --end;
        } else {
            break;
        }
    }
    return end;
}

}  // namespace

std::vector<TextSpan> FindLinks(QStringView text) {
    std::vector<TextSpan> links;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool wordStart = i == 0 || !(text[i - 1].isLetterOrNumber() || text[i - 1] == u'.');
        const int prefix = wordStart ? PrefixAt(text, i) : 0;
        if (prefix == 0) {
            ++i;
            continue;
        }
        qsizetype end = i + prefix;
        while (end < text.size() && !EndsLink(text[end])) ++end;
        const qsizetype length = TrimTrailing(text.mid(i, end - i));
        if (length > prefix) links.push_back({static_cast<int>(i), static_cast<int>(length)});
        i = end;
    }
    return links;
}

}  // namespace ui
