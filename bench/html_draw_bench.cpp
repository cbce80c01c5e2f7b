// Laying out and drawing the module's own messages (as the message box shows them, 406 pixels wide)
// with the mini-HTML renderer. Baseline: Qt's QTextDocument laying out and drawing the same texts as
// HTML into the same image.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>
#include <cstdlib>

#include "bench/ratio_main.h"
#include "platform/gui/application.h"
#include "ui/html_draw.h"

namespace {

constexpr int kWidth = 406;

const QStringList& Messages() {
    static const QStringList messages = [] {
        QStringList m = {
            QString::fromUtf8("<B>Der Auftrag muss im Bearbeitungsmodus sein, und in Netto vorliegen."),
            QString::fromUtf8("<B>Kalkulation kann nicht gespeichert werden:</B><BR>Stream write error"),
            QString::fromUtf8("<B>Möglicher Fehler:</B><BR>Die Datei &lt;Vorlux.RTF&gt; kann nicht geöffnet "
                              "werden, weil sie von einem anderen Prozess verwendet wird."),
            QString::fromUtf8("<B>Die verknüpfte Datei kann nicht geöffnet werden.</B><BR>Trotzdem "
                              "fortfahren?<BR><FONT color=\"#808080\">C:\\Daten\\Aufträge\\Plan.pdf</FONT>"),
        };
        QString lines;
        for (int i = 1; i <= 21; ++i)
            lines += QStringLiteral("Position %1: Artikel mit vollem Satz<br>").arg(i);
        m << lines;
        return m;
    }();
    return messages;
}

void BM_HtmlDraw(benchmark::State& state) {
    QImage image(kWidth, 400, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        gui::Canvas canvas(painter);
        canvas.SetBrushColor(gui::clWhite);
        int top = 0;
        for (const QString& m : Messages()) {
            ui::HtmlDrawResult r = ui::HtmlDraw(canvas, m, gui::Rect{0, top, kWidth, 400});
            top = (top + r.textHeight) % 300;
        }
        benchmark::DoNotOptimize(top);
    }
}

// The same with every piece of text drawn through the painter, as when the surface is no image of
// 32-bit pixels (or the painter is scaled, translucent or clipped by a shape).
void BM_HtmlDrawThroughPainter(benchmark::State& state) {
    gui::SetDirectGlyphBlending(false);
    BM_HtmlDraw(state);
    gui::SetDirectGlyphBlending(true);
}

void BM_QTextDocumentBaseline(benchmark::State& state) {
    QImage image(kWidth, 400, QImage::Format_RGB32);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        int top = 0;
        for (const QString& m : Messages()) {
            QTextDocument document;
            document.setDefaultFont(font);
            document.setDocumentMargin(1);
            document.setHtml(m);
            document.setTextWidth(kWidth);
            painter.save();
            painter.translate(0, top);
            document.drawContents(&painter);
            painter.restore();
            top = (top + static_cast<int>(document.size().height())) % 300;
        }
        benchmark::DoNotOptimize(top);
    }
}

BENCHMARK(BM_HtmlDraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTextDocumentBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HtmlDrawThroughPainter)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    gui::EnsureApplication();
    return bench::RunWithRatios(argc, argv,
                                {{"BM_HtmlDraw", "BM_QTextDocumentBaseline"},
                                 {"BM_HtmlDrawThroughPainter", "BM_QTextDocumentBaseline"}});
}
