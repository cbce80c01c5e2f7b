#pragma once
// The HTML message box TFKT_BOX: every error, warning and question the module shows. A small modal,
// stay-on-top dialog with a white message area rendering mini-HTML, a row of flat buttons and a help
// text the user can unfold. A new box is made for every call and destroyed when the call returns.
//
// Driving it from outside (a host or a test): while shown it is QApplication::activeModalWidget(); its
// property "MessageText" holds the markup shown; Enter answers with the focused (default) button
// ("Ja" in a question, "Schließen" in a message) and Escape cancels.
#include <QString>
#include <string>
#include <string_view>

#include "platform/gui/form.h"
#include "platform/gui/panel.h"

namespace ui {

class TFlatButton;
class TKTHTM;

// Entry points. Texts are the system's 8-bit Windows-1252 strings in mini-HTML markup; an empty help
// text means no help, an empty caption the application's title.
void ShowHtmlMessage(const std::string& text, const std::string& helpText = {},
                     const std::string& caption = {});
// True exactly when the user answered "Ja".
bool AskHtmlQuestion(const std::string& text, const std::string& helpText = {},
                     const std::string& caption = {});
// "<B>Möglicher Fehler:</B><BR>", the lead-in for unexpected errors.
std::string PossibleErrorText();
// Makes a plain text (an exception's message) safe inside markup: "&", "<" and ">" become entities, so
// the text can neither swallow the rest of the message nor become a link; bare line feeds become
// line breaks.
std::string EscapeMessageText(std::string_view plain);

// The message as the box shows it: "<BR>" and CR LF both break lines, leading empty lines go, and
// after the 21st line only a row of dots and the last line follow.
QString PrepareMessageText(const QString& text);

class TFKT_BOX : public gui::Form {
    Q_OBJECT
    Q_PROPERTY(QString MessageText READ MessageText)

  public:
    enum class Kind { Message, Question };

    explicit TFKT_BOX(QWidget* parent = nullptr);

    // Fills the box for one call (message text, help, caption) and focuses the default button.
    void Fill(Kind kind, const QString& text, const QString& helpText, const QString& caption);
    QString MessageText() const;
    bool LinkOpened() const { return linkOpened_; }

    // The parts, as the form names them.
    TKTHTM* MessageLabel = nullptr;
    TKTHTM* HelpLabel = nullptr;
    gui::Panel* Pquestion = nullptr;
    gui::Panel* Pmsg = nullptr;
    gui::Panel* FP_help = nullptr;
    TFlatButton* FB_OK = nullptr;
    TFlatButton* FB_BREAK1 = nullptr;
    TFlatButton* FB_BREAK2 = nullptr;
    TFlatButton* FBhelpQ = nullptr;
    TFlatButton* FBhelpS = nullptr;

  protected:
    void FormKeyDown(gui::KeyInfo& key) override;
    void FormShow() override;
    void changeEvent(QEvent* e) override;

  private:
    void FormCreate();
    gui::Panel* MakeButtonPanel(const char* name, int innerWidth);
    TFlatButton* MakeButton(QWidget* parent, const char* name, const QString& caption, QRect geometry);
    void FBhelpQClick(TFlatButton* sender);
    void LinkOpenedHandler();

    Kind kind_ = Kind::Message;
    QString helpText_;
    bool linkOpened_ = false;
};

}  // namespace ui
