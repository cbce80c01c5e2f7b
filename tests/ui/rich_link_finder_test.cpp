#include "ui/rich_link_finder.h"

#include <gtest/gtest.h>

namespace {

using ui::TextSpan;

struct LinkCase {
    const char* name;
    const char* text;
    std::vector<TextSpan> expected;
};

class RichLinkFinder : public testing::TestWithParam<LinkCase> {};

TEST_P(RichLinkFinder, FindsLinks) {
    EXPECT_EQ(ui::FindLinks(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RichLinkFinder, testing::Values(
    LinkCase{"None", "no links here", {}},
    LinkCase{"Http", "see http://example.com/a?b=c now", {{4, 24}}},
    LinkCase{"Https", "https://x.ch", {{0, 12}}},
    LinkCase{"Www", "go to www.example.com.", {{6, 15}}},
    LinkCase{"CaseIgnored", "WWW.EXAMPLE.COM", {{0, 15}}},
    LinkCase{"MailtoAndFile", "mailto:a@b.ch file:///tmp/x", {{0, 13}, {14, 13}}},
    LinkCase{"TrailingPunctuation", "(http://a.b/c), http://d.e!", {{1, 12}, {16, 10}}},
    LinkCase{"BalancedParenthesisKept", "http://w.org/Foo_(bar) x", {{0, 22}}},
    LinkCase{"NotInsideWord", "xwww.a.b notahttp://c.d", {}},
    LinkCase{"PrefixAlone", "http:// and www. only", {}},
    LinkCase{"EndsAtQuoteAndAngle", "\"http://a.b\" <www.c.d>", {{1, 10}, {14, 7}}},
    LinkCase{"EndsAtTab", "http://a.b\tnext", {{0, 10}}},
    LinkCase{"NonAscii", "http://bücher.de/ü", {{0, 18}}}),
    [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
