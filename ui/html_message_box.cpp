#include "ui/html_message_box.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QTimer>
#include <cmath>
#include <memory>

#include "platform/gui/align.h"
#include "platform/gui/application.h"
#include "platform/gui/canvas.h"
#include "platform/gui/monitors.h"
#include "platform/gui/panel.h"
#include "platform/gui/text.h"
#include "plugin/placement.h"
#include "ui/box_glyphs.h"
#include "ui/flat_button.h"
#include "ui/html_label.h"

namespace ui {

namespace {

constexpr int kMaxLines = 21;
constexpr int kPanelHeight = 35;

// A picture with a transparent colour (its bottom-left pixel).
class Picture : public QWidget {
  public:
    Picture(QWidget* parent, const QImage& image) : QWidget(parent), image_(image) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        gui::Canvas canvas(p);
        canvas.DrawImage(0, 0, image_, gui::FromQColor(image_.pixelColor(0, image_.height() - 1)));
    }

  private:
    QImage image_;
};

QString ApplicationTitle() {
    QString title = QGuiApplication::applicationDisplayName();
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}

int RunBox(TFKT_BOX::Kind kind, const std::string& text, const std::string& help,
           const std::string& caption) {
    gui::EnsureApplication();
    auto box = std::make_unique<TFKT_BOX>();
    box->SetColor(gui::clWhite);
    plugin::PlaceOnMonitor(box.get());
    box->Fill(kind, gui::ToQString(text), gui::ToQString(help), gui::ToQString(caption));
    return box->ShowModal();
}

}  // namespace

QString PrepareMessageText(const QString& text) {
    static const QRegularExpression br(QStringLiteral("<BR>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("<BR>"));
    s.replace(br, QStringLiteral("\r\n"));
    QStringList lines = s.split(lineBreak);
    if (s.endsWith(u'\n') || s.endsWith(u'\r')) lines.removeLast();  // a final break starts no line
    while (!lines.isEmpty() && lines.first().isEmpty()) lines.removeFirst();
    QString out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        out += i == 0 ? lines[i] : QStringLiteral("<br>") + lines[i];
        if (i == kMaxLines - 1 && i + 1 < lines.size()) {
            out += QStringLiteral("<br>................<br>") + lines.last();
            break;
        }
    }
    return out;
}

std::string PossibleErrorText() {
    return "<B>M\xF6glicher Fehler:</B><BR>";
}

std::string EscapeMessageText(std::string_view plain) {
    std::string out;
    out.reserve(plain.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        char c = plain[i];
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '\n' && (i == 0 || plain[i - 1] != '\r'))
            out += "<BR>";
        else
            out += c;
    }
    return out;
}

void ShowHtmlMessage(const std::string& text, const std::string& helpText, const std::string& caption) {
    RunBox(TFKT_BOX::Kind::Message, text, helpText, caption);
}

bool AskHtmlQuestion(const std::string& text, const std::string& helpText, const std::string& caption) {
    return RunBox(TFKT_BOX::Kind::Question, text, helpText, caption) == gui::mrOk;
}

TFKT_BOX::TFKT_BOX(QWidget* parent) : gui::Form(parent) {
    setObjectName(QStringLiteral("FKT_BOX"));
    SetBorderStyle(gui::bsDialog);
    SetStayOnTop(true);
    SetPosition(gui::poScreenCenter);
    SetKeyPreview(true);
    SetColor(gui::clWhite);
    setModal(true);
    resize(406, 187);
    FormCreate();
}

gui::Panel* TFKT_BOX::MakeButtonPanel(const char* name, int innerWidth) {
    auto* panel = new gui::Panel(this);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(0, height() - kPanelHeight, width(), kPanelHeight);
    panel->SetAlign(gui::alBottom);
    panel->hide();
    auto* inner = new gui::Panel(panel);
    inner->setGeometry(width() - innerWidth, 0, innerWidth, kPanelHeight);
    inner->SetAlign(gui::alRight);
    return panel;
}

TFlatButton* TFKT_BOX::MakeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* b = new TFlatButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->SetCaption(caption);
    b->SetLayout(blGlyphLeft);
    b->SetTabStop(true);
    return b;
}

void TFKT_BOX::FormCreate() {
    plugin::FormCreateHook(this, true);
    linkOpened_ = false;

    FP_help = new gui::Panel(this);
    FP_help->setObjectName(QStringLiteral("FP_help"));
    FP_help->setGeometry(0, height() - 23, width(), 23);
    FP_help->SetAlign(gui::alBottom);
    FP_help->SetColor(gui::clWhite);
    FP_help->hide();

    Pquestion = MakeButtonPanel("Pquestion", 173);
    Pmsg = MakeButtonPanel("Pmsg", 89);
    auto* image2 = new Picture(Pquestion, glyphs::QuestionIcon());
    image2->setGeometry(5, 5, 24, 24);
    auto* image1 = new Picture(Pmsg, glyphs::MessageIcon());
    image1->setGeometry(5, 5, 24, 24);
    gui::Panel* questionButtons = Pquestion->findChild<gui::Panel*>();
    gui::Panel* messageButtons = Pmsg->findChild<gui::Panel*>();
    FB_OK = MakeButton(questionButtons, "FB_OK", QStringLiteral("Ja"), {8, 4, 77, 25});
    FB_BREAK1 = MakeButton(questionButtons, "FB_BREAK1", QStringLiteral("Nein"), {91, 4, 77, 25});
    FBhelpQ = MakeButton(Pquestion, "FBhelpQ", QStringLiteral("Hilfe"), {93, 4, 94, 25});
    FB_BREAK2 = MakeButton(messageButtons, "FB_BREAK2", QString::fromUtf8("Schließen"), {7, 4, 77, 25});
    FBhelpS = MakeButton(Pmsg, "FBhelpS", QStringLiteral("Hilfe"), {93, 4, 94, 25});
    FB_OK->SetGlyph(glyphs::YesGlyph());
    FB_BREAK1->SetGlyph(glyphs::NoGlyph());
    FB_BREAK2->SetGlyph(glyphs::NoGlyph());
    FBhelpQ->SetGlyph(glyphs::HelpGlyph());
    FBhelpS->SetGlyph(glyphs::HelpGlyph());

    MessageLabel = new TKTHTM(this);
    MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
    MessageLabel->SetAutoSizeType(asVertical);
    MessageLabel->SetAutoSizing(true);
    MessageLabel->move(0, 0);
    MessageLabel->SetAlign(gui::alTop);
    HelpLabel = new TKTHTM(FP_help);
    HelpLabel->setObjectName(QStringLiteral("HelpLabel"));
    HelpLabel->SetAutoSizeType(asVertical);
    HelpLabel->SetAutoSizing(true);
    HelpLabel->move(0, 0);
    HelpLabel->SetAlign(gui::alTop);
    MessageLabel->OnLinkOpened = [this](QObject*) { LinkOpenedHandler(); };
    HelpLabel->OnLinkOpened = [this](QObject*) { LinkOpenedHandler(); };

    // Enter answers; every other key that merely walks the focus does not.
    auto answer = [this](int result) {
        return [this, result](QWidget*&, QWidget*&, int charCode, bool&) {
            if (charCode == gui::VK_RETURN) SetModalResult(result);
        };
    };
    FB_OK->OnSelectNext = answer(gui::mrOk);
    FB_BREAK2->OnSelectNext = answer(gui::mrOk);
    FB_BREAK1->OnSelectNext = answer(gui::mrCancel);
    FB_OK->OnClick = [this](TFlatButton*) { SetModalResult(gui::mrOk); };
    FB_BREAK1->OnClick = [this](TFlatButton*) { SetModalResult(gui::mrCancel); };
    FB_BREAK2->OnClick = [this](TFlatButton*) { SetModalResult(gui::mrCancel); };
    FBhelpQ->OnClick = [this](TFlatButton* b) { FBhelpQClick(b); };
    FBhelpS->OnClick = [this](TFlatButton* b) { FBhelpQClick(b); };

    // After the skin, so that it never recolours the button panels.
    Pmsg->SetColor(gui::clBtnFace);
    Pquestion->SetColor(gui::clBtnFace);
    questionButtons->SetColor(gui::clBtnFace);
    messageButtons->SetColor(gui::clBtnFace);
    const int screenHeight = gui::CurrentDesktop().MonitorBounds(0).Height();
    if (screenHeight > 0) setMaximumHeight(static_cast<int>(std::lround(screenHeight * 0.7)));
    Realign();
}

void TFKT_BOX::Fill(Kind kind, const QString& text, const QString& helpText, const QString& caption) {
    kind_ = kind;
    helpText_.clear();
    FP_help->hide();
    MessageLabel->SetPreparedText(PrepareMessageText(text));
    gui::Panel* panel = kind == Kind::Question ? Pquestion : Pmsg;
    panel->show();
    setWindowTitle(caption.isEmpty() ? ApplicationTitle() : caption);
    TFlatButton* help = kind == Kind::Question ? FBhelpQ : FBhelpS;
    help->setVisible(!helpText.isEmpty());
    helpText_ = helpText;
    Realign();
    (kind == Kind::Question ? FB_OK : FB_BREAK2)->setFocus();
}

QString TFKT_BOX::MessageText() const {
    return MessageLabel->RenderingText();
}

void TFKT_BOX::FormShow() {
    SetColor(gui::clWhite);
    Realign();
    MessageLabel->RenderOnce();
    gui::Panel* panel = Pquestion->isVisible() ? Pquestion : Pmsg;
    panel->move(0, MessageLabel->height() + 2);
    resize(width(), MessageLabel->height() + 2 + kPanelHeight);
    Realign();
    raise();
    activateWindow();
}

void TFKT_BOX::FBhelpQClick(TFlatButton* sender) {
    if (helpText_.isEmpty()) return;
    HelpLabel->SetPreparedText(PrepareMessageText(helpText_));
    HelpLabel->resize(width(), HelpLabel->height());
    HelpLabel->RenderOnce();
    const int grow = HelpLabel->height() + 5;
    FP_help->resize(width(), grow);
    FP_help->move(0, height());
    resize(width(), height() + grow);
    sender->setEnabled(false);
    FP_help->show();
    Realign();
}

void TFKT_BOX::LinkOpenedHandler() {
    linkOpened_ = true;
    SetModalResult(gui::mrCancel);
}

void TFKT_BOX::FormKeyDown(gui::KeyInfo& key) {
    if (key.key == gui::VK_F1) {
        key.key = 0;
        return;
    }
    // Enter with no button focused (sent to the box itself) answers like the default button.
    if (key.key == gui::VK_RETURN && !qobject_cast<TFlatButton*>(QApplication::focusWidget())) {
        SetModalResult(gui::mrOk);
        key.key = 0;
        return;
    }
    if (kind_ == Kind::Message) {
        const bool walks = key.key == gui::VK_RETURN || key.key == gui::VK_TAB || key.key == gui::VK_UP ||
                           key.key == gui::VK_DOWN;
        if (!walks && (key.shift & (gui::ssShift | gui::ssCtrl | gui::ssAlt)) == 0) {
            SetModalResult(gui::mrCancel);
            key.key = 0;
        }
        return;
    }
    if (key.key == gui::VK_ESCAPE) {
        SetModalResult(gui::mrCancel);
        key.key = 0;
    } else if (key.key == gui::VK_LEFT || key.key == gui::VK_RIGHT) {
        (FB_OK->hasFocus() ? FB_BREAK1 : FB_OK)->setFocus(Qt::OtherFocusReason);
        key.key = 0;
    }
}

void TFKT_BOX::changeEvent(QEvent* e) {
    gui::Form::changeEvent(e);
    // While shown, the box stays in front; after a link was opened the opened program may stay there.
    if (e->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() && !linkOpened_) {
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !linkOpened_ && !isActiveWindow()) {
                raise();
                activateWindow();
            }
        });
    }
}

}  // namespace ui
