#include "ui/rich_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/core/errors.h"
#include "platform/core/stream.h"
#include "ui/rtf_reader.h"
#include "ui/rtf_text_document.h"
#include "ui/rtf_writer.h"

namespace ui {

namespace {

enum class KeyEdit { None, Insert, DeleteBackward, DeleteForward, Remove };

// What a key does to the text, as far as protection cares.
KeyEdit KeyEditOf(QKeyEvent* e) {
    if (e == QKeySequence::Cut || e == QKeySequence::DeleteCompleteLine) return KeyEdit::Remove;
    if (e == QKeySequence::Paste || e == QKeySequence::InsertParagraphSeparator ||
        e == QKeySequence::InsertLineSeparator)
        return KeyEdit::Insert;
    if (e == QKeySequence::DeleteStartOfWord || e->key() == Qt::Key_Backspace) return KeyEdit::DeleteBackward;
    if (e == QKeySequence::Delete || e == QKeySequence::DeleteEndOfWord || e == QKeySequence::DeleteEndOfLine)
        return KeyEdit::DeleteForward;
    const QString text = e->text();
    if (!text.isEmpty() && (text.at(0).isPrint() || text.at(0) == u'\t') &&
        !(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)))
        return KeyEdit::Insert;
    return KeyEdit::None;
}

}  // namespace

RichEdit::RichEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichEdit::NotifySelection);
    connect(this, &QTextEdit::selectionChanged, this, &RichEdit::NotifySelection);
    connect(document(), &QTextDocument::contentsChanged, this, [this] {
        if (autoUrlDetect_) UpdateLinks();
    });
    viewport()->setMouseTracking(true);
}

// --- rich text in and out ------------------------------------------------------------------------

void RichEdit::SetRtfText(std::string_view bytes) {
    const rtf::Document content = rtf::Read(bytes);
    QTextDocument* doc = document();
    doc->setUndoRedoEnabled(false);
    rtf::ToTextDocument(content, *doc);
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    moveCursor(QTextCursor::Start);
    NotifySelection();
}

std::string RichEdit::RtfText() const {
    return rtf::Write(rtf::FromTextDocument(*document()));
}

void RichEdit::LoadFromStream(core::Stream& stream) {
    SetRtfText(stream.ReadRest());
}

void RichEdit::SaveToStream(core::Stream& stream) const {
    stream.WriteString(RtfText());
}

void RichEdit::LoadFromFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw core::EFOpenError("Cannot open file \"" + path + "\"");
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) throw core::EReadError("Stream read error");
    SetRtfText(bytes);
}

void RichEdit::SaveToFile(const std::string& path) const {
    // A file marked read-only stays as it is, as its owner asked, although replacing it would work.
    std::error_code error;
    const auto permissions = std::filesystem::status(path, error).permissions();
    const auto anyWrite = std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                          std::filesystem::perms::others_write;
    if (!error && std::filesystem::exists(path, error) &&
        (permissions & anyWrite) == std::filesystem::perms::none)
        throw core::EFCreateError("Cannot create file \"" + path + "\"");
    const std::string bytes = RtfText();
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) throw core::EFCreateError("Cannot create file \"" + path + "\"");
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.flush();
        if (!file) {
            file.close();
            std::remove(temporary.c_str());
            throw core::EWriteError("Stream write error");
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw core::EFCreateError("Cannot create file \"" + path + "\"");
    }
}

int RichEdit::LineCount() const {
    const QTextDocument* doc = document();
    int count = doc->blockCount();
    if (doc->lastBlock().length() <= 1) --count;
    return count;
}

// --- selection attributes ------------------------------------------------------------------------

TextAttributes RichEdit::SelAttributes() const {
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        const int start = cursor.selectionStart();
        cursor.setPosition(start);
        cursor.setPosition(start + 1);
    }
    const rtf::CharFormat f = rtf::FromQtFormat(cursor.charFormat(), document()->defaultFont());
    TextAttributes a;
    a.name = f.fontName;
    a.size = (f.halfPoints + 1) / 2;
    a.bold = f.bold;
    a.italic = f.italic;
    a.underline = f.underline;
    a.strikeOut = f.strikeOut;
    a.protect = f.protect;
    a.autoColor = f.autoColor;
    a.color = f.autoColor ? palette().color(QPalette::Text) : QColor(QRgb(0xFF000000u | f.color));
    return a;
}

namespace {

// A stretch of one fragment inside the selection, with its format as it will be.
struct FormatPiece {
    int start, end;
    QTextCharFormat format;
};

std::vector<FormatPiece> ModifiedPieces(const QTextBlock& block, int start, int end,
                                        const std::function<void(QTextCharFormat&)>& modify) {
    std::vector<FormatPiece> pieces;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int from = std::max(fragment.position(), start);
        const int to = std::min(fragment.position() + fragment.length(), end);
        if (from >= to) continue;
        QTextCharFormat format = fragment.charFormat();
        modify(format);
        pieces.push_back({from, to, format});
    }
    return pieces;
}

}  // namespace

// Changes the format of every character in the selection (and of the paragraph marks of the paragraphs
// it starts), as one undo step; at a caret, the format of the text typed next.
void RichEdit::ModifySelection(const std::function<void(QTextCharFormat&)>& modify) {
    const QTextCursor selection = textCursor();
    if (!selection.hasSelection()) {
        QTextCharFormat format = selection.charFormat();
        modify(format);
        setCurrentCharFormat(format);
        return;
    }
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (const FormatPiece& piece : ModifiedPieces(block, start, end, modify)) {
            edit.setPosition(piece.start);
            edit.setPosition(piece.end, QTextCursor::KeepAnchor);
            edit.setCharFormat(piece.format);
        }
        if (block.position() < start) continue;
        QTextCharFormat mark = block.charFormat();
        modify(mark);
        edit.setPosition(block.position());
        edit.setBlockCharFormat(mark);
    }
    edit.endEditBlock();
}

void RichEdit::SetSelStyle(FontStyle style, bool on) {
    ModifySelection([&](QTextCharFormat& f) {
        switch (style) {
            case FontStyle::Bold:
                f.setFontWeight(on ? QFont::Bold : QFont::Normal);
                break;
            case FontStyle::Italic:
                f.setFontItalic(on);
                break;
            case FontStyle::Underline:
                f.setFontUnderline(on);
                break;
            case FontStyle::StrikeOut:
                f.setFontStrikeOut(on);
                break;
        }
    });
}

void RichEdit::SetSelSize(int points) {
    ModifySelection([&](QTextCharFormat& f) {
        f.clearProperty(QTextFormat::FontPixelSize);
        f.setFontPointSize(points);
    });
}

void RichEdit::SetSelFontName(const QString& name) {
    ModifySelection([&](QTextCharFormat& f) { f.setFontFamilies(QStringList{name}); });
}

void RichEdit::SetSelColor(const QColor& color) {
    ModifySelection([&](QTextCharFormat& f) {
        if (color.isValid())
            f.setForeground(color);
        else
            f.clearForeground();
    });
}

void RichEdit::SetSelProtected(bool on) {
    ModifySelection([&](QTextCharFormat& f) {
        if (on)
            f.setProperty(rtf::kProtectedProperty, true);
        else
            f.clearProperty(rtf::kProtectedProperty);
    });
}

rtf::Alignment RichEdit::SelAlignment() const {
    return rtf::FromQtAlignment(textCursor().blockFormat().alignment());
}

void RichEdit::SetSelAlignment(rtf::Alignment alignment) {
    setAlignment(rtf::ToQtAlignment(alignment));
}

// --- protected text ------------------------------------------------------------------------------

bool RichEdit::RangeProtected(int start, int end) const {
    if (start >= end) {
        QTextCursor at(document());
        at.setPosition(std::clamp(start, 0, document()->characterCount() - 1));
        const QTextCursor current = textCursor();
        if (!current.hasSelection() && current.position() == at.position())
            return current.charFormat().boolProperty(rtf::kProtectedProperty);
        return at.charFormat().boolProperty(rtf::kProtectedProperty);
    }
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() >= end || fragment.position() + fragment.length() <= start) continue;
            if (fragment.charFormat().boolProperty(rtf::kProtectedProperty)) return true;
        }
    }
    return false;
}

bool RichEdit::ChangeAllowed(int start, int end) const {
    if (!RangeProtected(start, end)) return true;
    return OnProtectChange && OnProtectChange(start, end);
}

bool RichEdit::SelectionProtected() const {
    const QTextCursor cursor = textCursor();
    return RangeProtected(cursor.selectionStart(), cursor.selectionEnd());
}

bool RichEdit::SelectionChangeAllowed() const {
    const QTextCursor cursor = textCursor();
    return ChangeAllowed(cursor.selectionStart(), cursor.selectionEnd());
}

bool RichEdit::KeyChangeAllowed(QKeyEvent* e) const {
    const KeyEdit edit = KeyEditOf(e);
    if (edit == KeyEdit::None || isReadOnly()) return true;
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection() || edit == KeyEdit::Insert || edit == KeyEdit::Remove)
        return SelectionChangeAllowed();
    const int p = cursor.position();
    if (edit == KeyEdit::DeleteBackward) return p == 0 || ChangeAllowed(p - 1, p);
    return p + 1 >= document()->characterCount() || ChangeAllowed(p, p + 1);
}

void RichEdit::keyPressEvent(QKeyEvent* e) {
    if (!KeyChangeAllowed(e)) {
        e->accept();
        return;
    }
    QTextEdit::keyPressEvent(e);
}

void RichEdit::inputMethodEvent(QInputMethodEvent* e) {
    if (!e->commitString().isEmpty() && !isReadOnly() && !SelectionChangeAllowed()) {
        e->accept();
        return;
    }
    QTextEdit::inputMethodEvent(e);
}

QMimeData* RichEdit::createMimeDataFromSelection() const {
    // A plain QMimeData: the editor's own one lists a fixed set of formats and would hide rich text.
    auto* data = new QMimeData;
    const QTextDocumentFragment fragment = textCursor().selection();
    data->setText(fragment.toPlainText());
    data->setHtml(fragment.toHtml());
    QTextDocument selection;
    selection.setDefaultFont(document()->defaultFont());
    QTextCursor(&selection).insertFragment(fragment);
    const std::string rtf = rtf::Write(rtf::FromTextDocument(selection));
    data->setData(kRtfMimeType, QByteArray(rtf.data(), static_cast<qsizetype>(rtf.size())));
    return data;
}

bool RichEdit::canInsertFromMimeData(const QMimeData* source) const {
    return SelectionChangeAllowed() &&
           (source->hasFormat(kRtfMimeType) || QTextEdit::canInsertFromMimeData(source));
}

void RichEdit::insertFromMimeData(const QMimeData* source) {
    if (!SelectionChangeAllowed()) return;
    if (!acceptRichText() || !(source->hasFormat(kRtfMimeType) || source->hasHtml())) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    rtf::Document pasted;
    if (source->hasFormat(kRtfMimeType)) {
        const QByteArray bytes = source->data(kRtfMimeType);
        pasted = rtf::Read(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } else {
        QTextDocument html;
        html.setDefaultFont(document()->defaultFont());
        html.setHtml(source->html());
        pasted = rtf::FromTextDocument(html);
    }
    QTextDocument reduced;
    reduced.setDefaultFont(document()->defaultFont());
    rtf::ToTextDocument(pasted, reduced);
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.insertFragment(QTextDocumentFragment(&reduced));
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

// --- clipboard and undo --------------------------------------------------------------------------

void RichEdit::Cut() {
    if (isReadOnly() || !SelectionChangeAllowed()) return;
    cut();
}

void RichEdit::Copy() {
    copy();
}

void RichEdit::Paste() {
    if (isReadOnly() || !SelectionChangeAllowed()) return;
    paste();
}

void RichEdit::Undo() {
    if (isReadOnly()) return;
    undo();
}

void RichEdit::SetReadOnly(bool readOnly) {
    setReadOnly(readOnly);
    // Read-only text can still be selected and copied with the keyboard.
    if (readOnly) setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

// --- selection -----------------------------------------------------------------------------------

void RichEdit::NotifySelection() {
    const QTextCursor cursor = textCursor();
    if (cursor.anchor() == lastAnchor_ && cursor.position() == lastPosition_) return;
    lastAnchor_ = cursor.anchor();
    lastPosition_ = cursor.position();
    emit SelectionChange();
}

void RichEdit::SetHideSelection(bool hide) {
    if (hideSelection_ == hide) return;
    hideSelection_ = hide;
    viewport()->update();
}

bool RichEdit::SelectionShown() const {
    return !hideSelection_ || hasFocus();
}

void RichEdit::focusInEvent(QFocusEvent* e) {
    QTextEdit::focusInEvent(e);
    viewport()->update();
}

void RichEdit::focusOutEvent(QFocusEvent* e) {
    QTextEdit::focusOutEvent(e);
    viewport()->update();
}

void RichEdit::paintEvent(QPaintEvent* e) {
    if (SelectionShown() || !textCursor().hasSelection()) {
        QTextEdit::paintEvent(e);
        return;
    }
    PaintWithoutSelection(e);
}

// The document as QTextEdit paints it, with the links but without the selection and the caret.
void RichEdit::PaintWithoutSelection(QPaintEvent* e) {
    QPainter painter(viewport());
    const QPoint offset(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const QRect area = e->rect().translated(offset);
    painter.translate(-offset);
    painter.setClipRect(area);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.clip = area;
    context.cursorPosition = -1;
    for (const QTextEdit::ExtraSelection& extra : extraSelections())
        context.selections.append({extra.cursor, extra.format});
    document()->documentLayout()->draw(&painter, context);
}

// --- links ---------------------------------------------------------------------------------------

void RichEdit::SetAutoUrlDetect(bool on) {
    if (autoUrlDetect_ == on) return;
    autoUrlDetect_ = on;
    UpdateLinks();
}

void RichEdit::UpdateLinks() {
    links_.clear();
    QList<QTextEdit::ExtraSelection> marks;
    if (autoUrlDetect_) {
        QTextCharFormat look;
        look.setForeground(palette().color(QPalette::Link));
        look.setFontUnderline(true);
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            for (const TextSpan& span : FindLinks(block.text())) {
                const TextSpan link{block.position() + span.start, span.length};
                links_.push_back(link);
                QTextCursor cursor(document());
                cursor.setPosition(link.start);
                cursor.setPosition(link.end(), QTextCursor::KeepAnchor);
                marks.append({cursor, look});
            }
        }
    }
    setExtraSelections(marks);
}

std::optional<TextSpan> RichEdit::LinkAt(int position) const {
    for (const TextSpan& link : links_)
        if (position >= link.start && position < link.end()) return link;
    return std::nullopt;
}

int RichEdit::CharacterAt(const QPoint& viewportPos) const {
    const int caret = cursorForPosition(viewportPos).position();
    for (int candidate : {caret - 1, caret}) {
        if (candidate < 0 || candidate + 1 >= document()->characterCount()) continue;
        QTextCursor at(document());
        at.setPosition(candidate);
        const QRect left = cursorRect(at);
        at.setPosition(candidate + 1);
        const QRect right = cursorRect(at);
        if (left.top() != right.top()) continue;
        if (viewportPos.x() >= left.left() && viewportPos.x() < right.left() &&
            viewportPos.y() >= left.top() && viewportPos.y() <= left.bottom())
            return candidate;
    }
    return -1;
}

void RichEdit::mouseMoveEvent(QMouseEvent* e) {
    QTextEdit::mouseMoveEvent(e);
    if (!autoUrlDetect_) return;
    const bool overLink = LinkAt(CharacterAt(e->position().toPoint())).has_value();
    viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void RichEdit::mouseReleaseEvent(QMouseEvent* e) {
    QTextEdit::mouseReleaseEvent(e);
    if (!autoUrlDetect_ || e->button() != Qt::LeftButton) return;
    if (const std::optional<TextSpan> link = LinkAt(CharacterAt(e->position().toPoint()))) {
        QTextCursor range(document());
        range.setPosition(link->start);
        range.setPosition(link->end(), QTextCursor::KeepAnchor);
        const QString text = range.selectedText();
        emit LinkReleased(link->start, link->end(), text);
    }
}

}  // namespace ui
