// Renders the presentation controls to PNG files for a person to look at:
//   ui_render_samples <output folder>
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <cstdio>
#include <memory>

#include "platform/gui/application.h"
#include "platform/gui/text.h"
#include "ui/flat_button.h"
#include "ui/html_draw.h"
#include "ui/html_label.h"
#include "ui/html_message_box.h"

namespace {

QString g_dir;

void Save(const QImage& image, const char* name) {
    QString path = g_dir + QLatin1Char('/') + QLatin1String(name);
    std::printf("%s %s\n", image.save(path) ? "wrote" : "FAILED", qPrintable(path));
}

void Box(ui::TFKT_BOX::Kind kind, const std::string& text, const std::string& help, const char* name,
         bool unfold = false) {
    ui::TFKT_BOX box;
    box.Fill(kind, gui::ToQString(text), gui::ToQString(help), QStringLiteral("Paragraph 13b entfernen"));
    box.show();
    QApplication::processEvents();
    if (unfold) (kind == ui::TFKT_BOX::Kind::Question ? box.FBhelpQ : box.FBhelpS)->Click();
    QApplication::processEvents();
    Save(box.grab().toImage(), name);
}

void Buttons() {
    QWidget form;
    form.resize(300, 45);
    form.setStyleSheet(QString());
    auto* take = new ui::TFlatButton(&form);
    take->setGeometry(10, 10, 127, 25);
    take->SetCaption(QString::fromUtf8("&Übernehmen"));
    take->SetVKKey(QStringLiteral("F3"));
    take->SetLayout(ui::blGlyphLeft);
    auto* cancel = new ui::TFlatButton(&form);
    cancel->setGeometry(150, 10, 127, 25);
    cancel->SetCaption(QStringLiteral("&Abbrechen"));
    cancel->SetVKKey(QStringLiteral("Esc"));
    cancel->SetLayout(ui::blGlyphLeft);
    cancel->SetDefault(true);
    form.show();
    QApplication::processEvents();
    Save(form.grab().toImage().scaled(600, 90), "buttons.png");
}

void Markup() {
    QImage image(420, 220, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    auto canvas = std::make_unique<gui::Canvas>(p);
    canvas->SetBrushColor(gui::clWhite);
    ui::HtmlDraw(*canvas,
                 "<B>Fett</B> normal <I>kursiv</I> <U>unter</U> <S>durch</S> <SH>Schatten</SH><BR>"
                 "<FONT color=\"#808080\">grau</FONT> <FONT size=\"4\" color=\"clRed\">gross rot</FONT> "
                 "<A href=\"http://example.test\">ein Verweis</A> <E>Fehlre</E> <HI>markiert</HI><HR>"
                 "<P align=\"center\">zentriert</P><P align=\"right\">rechts ab cd i</P>"
                 "<UL><LI>Punkt eins<BR><LI>Punkt zwei</UL><BR>x<SUB>tief</SUB> y<SUP>hoch</SUP> "
                 "&euro; &sect; &amp; &lt;tag&gt;<BR><P bgcolor=\"#C0FFC0\">Absatz mit Hintergrund, der "
                 "umbricht, weil er laenger ist als die Zeile</P>",
                 gui::Rect{0, 0, 420, 220});
    canvas.reset();
    p.end();
    Save(image.scaled(840, 440), "markup.png");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    gui::EnsureApplication();
    g_dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(g_dir);
    Markup();
    Buttons();
    Box(ui::TFKT_BOX::Kind::Message, "<B>Der Auftrag muss im Bearbeitungsmodus sein, und in Netto vorliegen.",
        "", "refusal.png");
    Box(ui::TFKT_BOX::Kind::Message,
        ui::PossibleErrorText() + ui::EscapeMessageText("Stream read error <DATA>\nZeile zwei & mehr"), "",
        "error.png");
    Box(ui::TFKT_BOX::Kind::Question,
        "<B>Die Datei kann nicht ge\xF6"
        "ffnet werden.</B><BR>Trotzdem fortfahren?",
        "Die verkn\xFCpfte Datei fehlt.<BR><FONT color=\"#808080\">C:\\Daten\\Plan.pdf</FONT>",
        "question.png", true);
    std::string many;
    for (int i = 1; i <= 30; ++i) many += "Zeile " + std::to_string(i) + "<BR>";
    Box(ui::TFKT_BOX::Kind::Message, many, "", "long.png");
    return 0;
}
