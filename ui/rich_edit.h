#pragma once
// RichEdit: the rich-text edit control of the platform, on QTextEdit. It loads and saves rich text
// (RTF, 8-bit Windows-1252) from and to streams and files, reads and sets the formatting of the
// selection, keeps protected text from being changed, hides its selection while it has no focus (unless
// asked not to), and can detect links in its text.
//
//   ui::RichEdit editor;
//   editor.setFont(gui-made "Tahoma", pixel size 13);
//   editor.LoadFromFile(dir + "Vorlux.RTF");          // throws core::EFOpenError
//   connect(&editor, &ui::RichEdit::SelectionChange, ...);
//   editor.SetSelStyle(ui::FontStyle::Bold, true);
//   editor.SaveToStream(stream);
#include <QColor>
#include <QTextEdit>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/rich_link_finder.h"
#include "ui/rtf_document.h"

namespace core {
class Stream;
}

namespace ui {

enum class FontStyle { Bold, Italic, Underline, StrikeOut };

// Formatting of the selection (of its first character; at a caret, of the text typed next).
struct TextAttributes {
    QString name;
    int size = 0;  // in points at 96 dpi, rounded
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool protect = false;
    bool autoColor = true;  // automatic colour: the window-text colour of the palette
    QColor color;           // the colour shown, also when automatic

    bool operator==(const TextAttributes&) const = default;
};

class RichEdit : public QTextEdit {
    Q_OBJECT
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(bool ReadOnly READ isReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool AutoUrlDetect READ AutoUrlDetect WRITE SetAutoUrlDetect)

  public:
    explicit RichEdit(QWidget* parent = nullptr);

    // Rich text in and out. Loading replaces the content, clears undo and the modified flag and puts
    // the caret at the start; input that is not rich text is loaded as plain text.
    void SetRtfText(std::string_view bytes);
    std::string RtfText() const;
    // From the stream's position to its end; to the stream's position.
    void LoadFromStream(core::Stream& stream);
    void SaveToStream(core::Stream& stream) const;
    // Raise core::EFOpenError, core::EFCreateError or core::EWriteError. Saving writes a new file and
    // then replaces the old one, so a failed save leaves the old file as it was; a read-only file is
    // not replaced.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;
    // Lines of text: the paragraphs, not counting an empty last one (0 for an empty editor).
    int LineCount() const;

    TextAttributes SelAttributes() const;
    void SetSelStyle(FontStyle style, bool on);
    void SetSelSize(int points);
    void SetSelFontName(const QString& name);
    void SetSelColor(const QColor& color);  // an invalid colour sets the automatic colour
    void SetSelProtected(bool on);
    rtf::Alignment SelAlignment() const;  // of the paragraph that holds the caret
    void SetSelAlignment(rtf::Alignment alignment);

    // True when the selection holds protected text, or, at a caret, when typing would be protected.
    bool SelectionProtected() const;
    // Asked before protected text is changed, with the character range; true allows the change.
    // Without a handler protected text cannot be changed.
    std::function<bool(int start, int end)> OnProtectChange;

    // The selection is painted only while the editor has the focus, unless HideSelection is off.
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hide);
    bool SelectionShown() const;

    void SetReadOnly(bool readOnly);

    // Clipboard and undo, as the platform's edit messages: cut and paste do nothing on read-only or
    // protected text; copy always works.
    void Cut();
    void Copy();
    void Paste();
    void Undo();

    // Automatic link detection: links are shown underlined in the link colour (without changing the
    // document) and a left-button release over one reports it.
    bool AutoUrlDetect() const { return autoUrlDetect_; }
    void SetAutoUrlDetect(bool on);
    const std::vector<TextSpan>& Links() const { return links_; }
    // The link whose characters include `position`, if any.
    std::optional<TextSpan> LinkAt(int position) const;
    // Character under a point of the viewport, or -1.
    int CharacterAt(const QPoint& viewportPos) const;

    // MIME type of rich text on the clipboard.
    static constexpr const char* kRtfMimeType = "text/rtf";

  signals:
    // The selection or the caret moved.
    void SelectionChange();
    // The left mouse button was released over a link: its character range and text.
    void LinkReleased(int cpMin, int cpMax, const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    // The clipboard carries the selection also as rich text ("text/rtf"), so formatting travels to and
    // from other programs. Pasted formatting is reduced to what the editor can save.
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    void NotifySelection();
    bool RangeProtected(int start, int end) const;
    bool ChangeAllowed(int start, int end) const;
    bool SelectionChangeAllowed() const;
    bool KeyChangeAllowed(QKeyEvent* e) const;
    void ModifySelection(const std::function<void(QTextCharFormat&)>& modify);
    void UpdateLinks();
    void PaintWithoutSelection(QPaintEvent* e);

    bool hideSelection_ = true;
    bool autoUrlDetect_ = false;
    int lastAnchor_ = -1;
    int lastPosition_ = -1;
    std::vector<TextSpan> links_;
};

}  // namespace ui
