#pragma once
// The base of the system's windows: a dialog with a modal result (Escape and the close box give the
// cancel result), key preview (the form sees keys before the focused control), stay-on-top, a border
// style and position mode for placement, a help context, a face colour, and alignment of its children.
#include <QDialog>

#include "platform/gui/color.h"
#include "platform/gui/keys.h"

namespace gui {

enum TModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};
enum TBorderStyle : int {
    bsNone = 0,
    bsSingle = 1,
    bsSizeable = 2,
    bsDialog = 3,
    bsToolWindow = 4,
    bsSizeToolWin = 5
};
enum TPosition : int { poDesigned = 0, poDefault = 1, poScreenCenter = 4, poDesktopCenter = 5 };

class Form : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int ModalResult READ ModalResult WRITE SetModalResult)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool KeyPreview READ KeyPreview WRITE SetKeyPreview)
    Q_PROPERTY(int HelpContext READ HelpContext WRITE SetHelpContext)
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(int Position READ Position WRITE SetPosition)
    Q_PROPERTY(bool StayOnTop READ StayOnTop WRITE SetStayOnTop)

  public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    // Shows the form modally and returns its modal result.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    // A non-zero result closes a modally shown form with that result.
    void SetModalResult(int result);

    TColor Color() const { return color_; }
    void SetColor(TColor c);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool on) { keyPreview_ = on; }
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int id) { helpContext_ = id; }
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);
    int Position() const { return position_; }
    void SetPosition(int mode) { position_ = mode; }
    bool StayOnTop() const { return stayOnTop_; }
    void SetStayOnTop(bool on);

    // Lays out the aligned children again (after showing or hiding one of them).
    void Realign();

    void done(int result) override;
    void reject() override;
    void accept() override;

  protected:
    // Key preview hooks, called before the focused control sees the key when KeyPreview is on.
    // Setting key.key to 0 (or ch to a null QChar) consumes it.
    virtual void FormKeyDown(KeyInfo& key) { (void)key; }
    virtual void FormKeyPress(QChar& ch) { (void)ch; }
    virtual void FormShow() {}

    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool PreviewKey(QKeyEvent* event);
    void ApplyWindowFlags();

    int modalResult_ = mrNone;
    TColor color_ = clBtnFace;
    bool keyPreview_ = false;
    int helpContext_ = 0;
    int borderStyle_ = bsSizeable;
    int position_ = poDesigned;
    bool stayOnTop_ = false;
    bool filterInstalled_ = false;
};

}  // namespace gui
