// Loading and saving a footer of 200 formatted paragraphs as rich text (our reader into a text document,
// the document back out through our writer). Baseline: Qt's own HTML import and export of the same
// content into and out of a text document.
#include <QApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdlib>

#include "bench/ratio_main.h"
#include "ui/rtf_reader.h"
#include "ui/rtf_text_document.h"
#include "ui/rtf_writer.h"

namespace {

constexpr int kParagraphs = 200;

// Paragraphs in three alignments, each with plain, bold, italic, underlined, coloured and resized
// words in two fonts, umlauts and a line break.
void FillFooter(QTextDocument& document) {
    QTextCursor cursor(&document);
    const Qt::Alignment alignments[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (int i = 0; i < kParagraphs; ++i) {
        if (i > 0) cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(alignments[i % 3]);
        cursor.setBlockFormat(block);
        QTextCharFormat plain;
        plain.setFontFamilies({i % 2 ? "Arial" : "Tahoma"});
        plain.setFontPointSize(10);
        QTextCharFormat bold = plain, italic = plain, under = plain, red = plain, big = plain;
        bold.setFontWeight(QFont::Bold);
        italic.setFontItalic(true);
        under.setFontUnderline(true);
        red.setForeground(QColor(192, 0, 0));
        big.setFontPointSize(14);
        cursor.insertText(QString("Position %1: Zahlbar innert 30 Tagen ").arg(i), plain);
        cursor.insertText("netto ohne Abzug, ", bold);
        cursor.insertText(QString::fromUtf8("Grüße aus Zürich "), italic);
        cursor.insertText("Bankverbindung ", under);
        cursor.insertText(QString("IBAN CH93 0076 2011 6238 5295 7") + QChar::LineSeparator, red);
        cursor.insertText(QString::fromUtf8("Mehrwertsteuer 8,1 % – Danke für Ihren Auftrag."), big);
    }
}

struct Footer {
    std::string rtf;
    QString html;
    Footer() {
        QTextDocument document;
        FillFooter(document);
        rtf = rtf::Write(rtf::FromTextDocument(document));
        html = document.toHtml();
    }
};

const Footer& Data() {
    static const Footer footer;
    return footer;
}

void BM_RtfLoadSave(benchmark::State& state) {
    const std::string& rtf = Data().rtf;
    for (auto _ : state) {
        QTextDocument document;
        rtf::ToTextDocument(rtf::Read(rtf), document);
        const std::string saved = rtf::Write(rtf::FromTextDocument(document));
        if (saved != rtf) state.SkipWithError("the footer changed on its way through");
        benchmark::DoNotOptimize(saved.data());
    }
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
}

void BM_HtmlLoadSaveBaseline(benchmark::State& state) {
    const QString& html = Data().html;
    for (auto _ : state) {
        QTextDocument document;
        document.setHtml(html);
        const QString saved = document.toHtml();
        benchmark::DoNotOptimize(saved.constData());
    }
    state.counters["html_chars"] = static_cast<double>(html.size());
}

BENCHMARK(BM_RtfLoadSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlLoadSaveBaseline)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return bench::RunWithRatios(argc, argv, {{"BM_RtfLoadSave", "BM_HtmlLoadSaveBaseline"}});
}
