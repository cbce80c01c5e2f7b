#include "ui/rich_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/core/errors.h"
#include "platform/core/stream.h"
#include "platform/gui/application.h"
#include "tests/support/temp_dir.h"
#include "ui/rtf_reader.h"
#include "ui/rtf_text_document.h"

namespace {

using ui::FontStyle;
using ui::RichEdit;

std::string ReadFixture(const char* name) {
    std::ifstream file(std::string(RTF_DATA_DIR) + name, std::ios::binary);
    EXPECT_TRUE(file.good()) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class RichEditTest : public testing::Test {
  public:
    static void SetUpTestSuite() { gui::EnsureApplication(); }

    void SetUp() override {
        QFont tahoma("Tahoma");
        tahoma.setPixelSize(13);
        editor.setFont(tahoma);
        editor.resize(400, 200);
    }

    // Selects the first occurrence of `text`.
    void Select(const QString& text) {
        const int at = editor.toPlainText().indexOf(text);
        ASSERT_GE(at, 0) << text.toStdString();
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(at);
        cursor.setPosition(at + static_cast<int>(text.size()), QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
    }

    void PlaceCaret(int position) {
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(position);
        editor.setTextCursor(cursor);
    }

    void Key(int key, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QApplication::sendEvent(&editor, &press);
    }

    // The model format of the first character of `text`.
    rtf::CharFormat FormatOf(const QString& text) {
        Select(text);
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(cursor.selectionStart() + 1);
        return rtf::FromQtFormat(cursor.charFormat(), editor.document()->defaultFont());
    }

    RichEdit editor;
};

const char* const kFormatted =
    R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Courier New;}}{\colortbl ;\red0\green128\blue0;})"
    R"(\f0\fs20 plain \b bold\b0  \i italic\i0  \ul under\ulnone  \strike struck\strike0  \cf1 green\cf0  )"
    R"(\protect locked\protect0  \f1\fs26 courier\par\qc centred\par\pard\qr right\par})";

// --- selection attributes ---------------------------------------------------------------------

struct AttributeCase {
    const char* word;
    QString name;
    int size;
    bool bold, italic, underline, strikeOut, protect, autoColor;
    QColor color;  // invalid: the palette's text colour
};

class RichEditAttributes : public RichEditTest, public testing::WithParamInterface<AttributeCase> {};

TEST_P(RichEditAttributes, SelectionReportsItsFormat) {
    const AttributeCase& c = GetParam();
    editor.SetRtfText(kFormatted);
    Select(c.word);
    const ui::TextAttributes a = editor.SelAttributes();
    EXPECT_EQ(a.name, c.name);
    EXPECT_EQ(a.size, c.size);
    EXPECT_EQ(a.bold, c.bold);
    EXPECT_EQ(a.italic, c.italic);
    EXPECT_EQ(a.underline, c.underline);
    EXPECT_EQ(a.strikeOut, c.strikeOut);
    EXPECT_EQ(a.protect, c.protect);
    EXPECT_EQ(a.autoColor, c.autoColor);
    EXPECT_EQ(a.color, c.color.isValid() ? c.color : editor.palette().color(QPalette::Text));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RichEditAttributes, testing::Values(
    AttributeCase{"plain",   "Arial", 10, false, false, false, false, false, true, {}},
    AttributeCase{"bold",    "Arial", 10, true,  false, false, false, false, true, {}},
    AttributeCase{"italic",  "Arial", 10, false, true,  false, false, false, true, {}},
    AttributeCase{"under",   "Arial", 10, false, false, true,  false, false, true, {}},
    AttributeCase{"struck",  "Arial", 10, false, false, false, true,  false, true, {}},
    AttributeCase{"green",   "Arial", 10, false, false, false, false, false, false, QColor(0, 128, 0)},
    AttributeCase{"locked",  "Arial", 10, false, false, false, false, true,  true, {}},
    AttributeCase{"courier", "Courier New", 13, false, false, false, false, false, true, {}}),
    [](const testing::TestParamInfo<AttributeCase>& info) { return std::string(info.param.word); });
// clang-format on

TEST_F(RichEditTest, PixelFontReportsItsPointsAt96Dpi) {
    // "Tahoma" of height -13 is 9.75 points at 96 dpi: shown as 10 and written as \fs20.
    editor.setPlainText("text");
    const ui::TextAttributes a = editor.SelAttributes();
    EXPECT_EQ(a.name, "Tahoma");
    EXPECT_EQ(a.size, 10);
    EXPECT_NE(editor.RtfText().find("\\fs20 text"), std::string::npos) << editor.RtfText();
}

TEST_F(RichEditTest, AlignmentOfTheCaretParagraph) {
    editor.SetRtfText(kFormatted);
    const std::pair<const char*, rtf::Alignment> cases[] = {{"plain", rtf::Alignment::Left},
                                                            {"centred", rtf::Alignment::Center},
                                                            {"right", rtf::Alignment::Right}};
    for (const auto& [word, alignment] : cases) {
        Select(word);
        EXPECT_EQ(editor.SelAlignment(), alignment) << word;
    }
}

// --- changing the selection's format ------------------------------------------------------------

struct ChangeCase {
    const char* name;
    std::function<void(RichEdit&)> change;
    std::function<void(rtf::CharFormat&)> expected;  // applied to the format before the change
};

class RichEditChanges : public RichEditTest, public testing::WithParamInterface<ChangeCase> {};

TEST_P(RichEditChanges, ChangeTheSelectionOnlyAndUndoInOneStep) {
    editor.SetRtfText(R"({\rtf1{\fonttbl{\f0 Arial;}}\f0\fs20\b one \b0 middle two\par})");
    const std::string before = editor.RtfText();
    rtf::CharFormat expected = FormatOf("middle");
    GetParam().expected(expected);
    const rtf::CharFormat outside = FormatOf("two");

    Select("dd");  // inside "middle"
    GetParam().change(editor);
    EXPECT_EQ(FormatOf("dd"), expected);
    EXPECT_NE(FormatOf("mi"), expected);
    EXPECT_EQ(FormatOf("two"), outside);

    editor.undo();
    EXPECT_EQ(editor.RtfText(), before);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RichEditChanges, testing::Values(
    ChangeCase{"Bold", [](RichEdit& e) { e.SetSelStyle(FontStyle::Bold, true); },
               [](rtf::CharFormat& f) { f.bold = true; }},
    ChangeCase{"Italic", [](RichEdit& e) { e.SetSelStyle(FontStyle::Italic, true); },
               [](rtf::CharFormat& f) { f.italic = true; }},
    ChangeCase{"Underline", [](RichEdit& e) { e.SetSelStyle(FontStyle::Underline, true); },
               [](rtf::CharFormat& f) { f.underline = true; }},
    ChangeCase{"StrikeOut", [](RichEdit& e) { e.SetSelStyle(FontStyle::StrikeOut, true); },
               [](rtf::CharFormat& f) { f.strikeOut = true; }},
    ChangeCase{"Size", [](RichEdit& e) { e.SetSelSize(18); }, [](rtf::CharFormat& f) { f.halfPoints = 36; }},
    ChangeCase{"FontName", [](RichEdit& e) { e.SetSelFontName("Courier New"); },
               [](rtf::CharFormat& f) { f.fontName = "Courier New"; }},
    ChangeCase{"Color", [](RichEdit& e) { e.SetSelColor(QColor(255, 0, 0)); },
               [](rtf::CharFormat& f) { f.autoColor = false; f.color = 0xFF0000; }},
    ChangeCase{"Protected", [](RichEdit& e) { e.SetSelProtected(true); },
               [](rtf::CharFormat& f) { f.protect = true; }}),
    [](const testing::TestParamInfo<ChangeCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(RichEditTest, RemovingStylesAndAutomaticColour) {
    editor.SetRtfText(R"({\rtf1{\colortbl ;\red255\green0\blue0;}\b\i\ul\strike\cf1 all\par})");
    Select("all");
    editor.SetSelStyle(FontStyle::Bold, false);
    editor.SetSelStyle(FontStyle::Italic, false);
    editor.SetSelStyle(FontStyle::Underline, false);
    editor.SetSelStyle(FontStyle::StrikeOut, false);
    editor.SetSelColor(QColor());
    const ui::TextAttributes a = editor.SelAttributes();
    EXPECT_FALSE(a.bold || a.italic || a.underline || a.strikeOut);
    EXPECT_TRUE(a.autoColor);
}

TEST_F(RichEditTest, SizeReplacesAPixelSize) {
    editor.setHtml("<span style=\"font-size:30px\">big</span>");
    Select("big");
    editor.SetSelSize(8);
    EXPECT_EQ(editor.SelAttributes().size, 8);
}

TEST_F(RichEditTest, FormatAtTheCaretAppliesToTypedText) {
    editor.setPlainText("ab");
    PlaceCaret(1);
    editor.SetSelStyle(FontStyle::Bold, true);
    editor.SetSelSize(20);
    Key(Qt::Key_X, "x");
    EXPECT_EQ(editor.toPlainText(), "axb");
    EXPECT_TRUE(FormatOf("x").bold);
    EXPECT_EQ(FormatOf("x").halfPoints, 40);
    EXPECT_FALSE(FormatOf("b").bold);
}

TEST_F(RichEditTest, AlignmentOfEverySelectedParagraph) {
    editor.setPlainText("one\ntwo\nthree");
    Select("e\ntwo");
    editor.SetSelAlignment(rtf::Alignment::Center);
    const QTextDocument* doc = editor.document();
    EXPECT_EQ(rtf::FromQtAlignment(doc->findBlockByNumber(0).blockFormat().alignment()),
              rtf::Alignment::Center);
    EXPECT_EQ(rtf::FromQtAlignment(doc->findBlockByNumber(1).blockFormat().alignment()),
              rtf::Alignment::Center);
    EXPECT_EQ(rtf::FromQtAlignment(doc->findBlockByNumber(2).blockFormat().alignment()),
              rtf::Alignment::Left);
}

// --- protected text and read-only ---------------------------------------------------------------

struct ProtectCase {
    const char* name;
    int caret;  // in "free LOCKED free"; -1 selects "LOCKED"
    std::function<void(RichEditTest&)> act;
    bool changes;
};

class RichEditProtectionTest : public RichEditTest, public testing::WithParamInterface<ProtectCase> {};

TEST_P(RichEditProtectionTest, ProtectedTextCannotBeChanged) {
    const ProtectCase& c = GetParam();
    editor.SetRtfText(R"({\rtf1 free \protect LOCKED\protect0  free\par})");
    if (c.caret < 0)
        Select("LOCKED");
    else
        PlaceCaret(c.caret);
    const QString before = editor.toPlainText();
    c.act(*this);
    EXPECT_EQ(editor.toPlainText() != before, c.changes) << editor.toPlainText().toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, RichEditProtectionTest, testing::Values(
    ProtectCase{"TypeInside", 8, [](RichEditTest& t) { t.Key(Qt::Key_Z, "z"); }, false},
    ProtectCase{"TypeAfterLockedChar", 11, [](RichEditTest& t) { t.Key(Qt::Key_Z, "z"); }, false},
    ProtectCase{"TypeInFreeText", 2, [](RichEditTest& t) { t.Key(Qt::Key_Z, "z"); }, true},
    ProtectCase{"BackspaceIntoLocked", 11, [](RichEditTest& t) { t.Key(Qt::Key_Backspace); }, false},
    ProtectCase{"BackspaceInFree", 3, [](RichEditTest& t) { t.Key(Qt::Key_Backspace); }, true},
    ProtectCase{"DeleteIntoLocked", 5, [](RichEditTest& t) { t.Key(Qt::Key_Delete); }, false},
    ProtectCase{"DeleteInFree", 12, [](RichEditTest& t) { t.Key(Qt::Key_Delete); }, true},
    ProtectCase{"EnterInside", 8, [](RichEditTest& t) { t.Key(Qt::Key_Return, "\r"); }, false},
    ProtectCase{"TypeOverSelection", -1, [](RichEditTest& t) { t.Key(Qt::Key_Z, "z"); }, false},
    ProtectCase{"CutKey", -1, [](RichEditTest& t) { t.Key(Qt::Key_X, {}, Qt::ControlModifier); }, false},
    ProtectCase{"CutCall", -1, [](RichEditTest& t) { t.editor.Cut(); }, false},
    ProtectCase{"PasteCall", -1, [](RichEditTest& t) {
        QApplication::clipboard()->setText("pasted"); t.editor.Paste(); }, false},
    ProtectCase{"PasteInFree", 2, [](RichEditTest& t) {
        QApplication::clipboard()->setText("pasted"); t.editor.Paste(); }, true},
    ProtectCase{"HandlerAllows", 8, [](RichEditTest& t) {
        t.editor.OnProtectChange = [](int, int) { return true; }; t.Key(Qt::Key_Z, "z"); }, true}),
    [](const testing::TestParamInfo<ProtectCase>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(RichEditTest, SelectionProtected) {
    editor.SetRtfText(R"({\rtf1 free \protect LOCKED\protect0  free\par})");
    Select("LOCKED");
    EXPECT_TRUE(editor.SelectionProtected());
    Select("e LO");  // partly protected
    EXPECT_TRUE(editor.SelectionProtected());
    Select("free");
    EXPECT_FALSE(editor.SelectionProtected());
    PlaceCaret(8);
    EXPECT_TRUE(editor.SelectionProtected());
}

TEST_F(RichEditTest, CopyWorksOnProtectedAndReadOnlyText) {
    editor.SetRtfText(R"({\rtf1 free \protect LOCKED\protect0  free\par})");
    editor.SetReadOnly(true);
    Select("LOCKED");
    QApplication::clipboard()->clear();
    editor.Copy();
    EXPECT_EQ(QApplication::clipboard()->text(), "LOCKED");
    editor.Cut();
    QApplication::clipboard()->setText("new");
    editor.Paste();
    Key(Qt::Key_Z, "z");
    EXPECT_EQ(editor.toPlainText(), "free LOCKED free");
}

// --- the clipboard carries rich text -------------------------------------------------------------

TEST_F(RichEditTest, CopyPutsRichTextOnTheClipboard) {
    editor.SetRtfText(kFormatted);
    Select("bold italic");
    editor.Copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(RichEdit::kRtfMimeType)) << data->formats().join(",").toStdString();
    const QByteArray bytes = data->data(RichEdit::kRtfMimeType);
    const rtf::Document copied = rtf::Read(std::string_view(bytes.constData(), bytes.size()));
    ASSERT_EQ(copied.paragraphs.size(), 1u);
    ASSERT_EQ(copied.paragraphs[0].runs.size(), 3u);
    EXPECT_EQ(copied.paragraphs[0].runs[0].text, "bold");
    EXPECT_TRUE(copied.paragraphs[0].runs[0].format.bold);
    EXPECT_TRUE(copied.paragraphs[0].runs[2].format.italic);
    EXPECT_EQ(QApplication::clipboard()->text(), "bold italic");
}

TEST_F(RichEditTest, PastesRichTextFromOtherPrograms) {
    editor.setPlainText("ab");
    PlaceCaret(1);
    auto* data = new QMimeData;
    data->setData(RichEdit::kRtfMimeType, R"({\rtf1{\colortbl ;\red255\green0\blue0;}\cf1 red\par})");
    data->setText("red");
    QApplication::clipboard()->setMimeData(data);
    editor.Paste();
    EXPECT_EQ(editor.toPlainText(), "aredb");
    EXPECT_EQ(FormatOf("red").color, 0xFF0000u);
    EXPECT_FALSE(FormatOf("red").autoColor);
    editor.undo();
    EXPECT_EQ(editor.toPlainText(), "ab");
}

TEST_F(RichEditTest, PastedHtmlKeepsOnlyWhatCanBeSaved) {
    editor.setPlainText("ab");
    PlaceCaret(1);
    auto* data = new QMimeData;
    data->setHtml("<b style=\"background-color:yellow\">fett</b>");
    QApplication::clipboard()->setMimeData(data);
    editor.Paste();
    EXPECT_EQ(editor.toPlainText(), "afettb");
    EXPECT_TRUE(FormatOf("fett").bold);
    Select("fett");
    QTextCursor inside = editor.textCursor();
    inside.setPosition(inside.selectionStart() + 1);
    EXPECT_FALSE(inside.charFormat().hasProperty(QTextFormat::BackgroundBrush));
}

// --- rich text in and out -----------------------------------------------------------------------

TEST_F(RichEditTest, LoadingReplacesContentAndClearsUndo) {
    editor.setPlainText("old");
    Key(Qt::Key_A, "a");
    ASSERT_TRUE(editor.document()->isUndoAvailable());
    core::MemoryStream stream(std::string("ignored") + kFormatted);
    stream.SetPosition(7);
    editor.LoadFromStream(stream);
    EXPECT_TRUE(editor.toPlainText().startsWith("plain bold"));
    EXPECT_FALSE(editor.document()->isUndoAvailable());
    EXPECT_FALSE(editor.document()->isModified());
    EXPECT_EQ(editor.textCursor().position(), 0);
}

TEST_F(RichEditTest, PlainTextLoadsAsText) {
    editor.SetRtfText("Zeile 1\r\nZeile 2\r\n");
    EXPECT_EQ(editor.toPlainText(), "Zeile 1\nZeile 2");
}

// A file saved, loaded and saved again is byte-identical the second time.
TEST_F(RichEditTest, SecondSaveIsByteIdentical) {
    const std::vector<std::string> inputs = {
        "",
        kFormatted,
        ReadFixture("libreoffice_footer.rtf"),
        R"({\rtf1\b bold at the end\par\par\i\fs40\par})",
        "plain text\r\nwith lines",
    };
    for (const std::string& input : inputs) {
        editor.SetRtfText(input);
        const std::string first = editor.RtfText();
        RichEdit other;
        other.setFont(editor.font());
        other.SetRtfText(first);
        EXPECT_EQ(other.RtfText(), first) << input;
    }
}

TEST_F(RichEditTest, EditedContentRoundTrips) {
    editor.setPlainText(QString::fromUtf8("Grüße € {x}\\ Łódź\ttab\nzweite"));
    Select("Grüße");
    editor.SetSelStyle(FontStyle::Bold, true);
    editor.SetSelColor(QColor(1, 2, 3));
    Select("zweite");
    editor.SetSelAlignment(rtf::Alignment::Right);
    editor.SetSelSize(72);
    editor.SetSelProtected(true);
    PlaceCaret(3);
    QKeyEvent lineBreak(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, "\r");
    QApplication::sendEvent(&editor, &lineBreak);

    const std::string first = editor.RtfText();
    RichEdit other;
    other.setFont(editor.font());
    other.SetRtfText(first);
    EXPECT_EQ(other.toPlainText(), editor.toPlainText());
    EXPECT_EQ(rtf::FromTextDocument(*other.document()), rtf::FromTextDocument(*editor.document()));
    EXPECT_EQ(other.RtfText(), first);
}

TEST_F(RichEditTest, Files) {
    testing_support::TempDir dir;
    editor.SetRtfText(kFormatted);
    editor.SaveToFile(dir.File("Vorlux.RTF"));
    EXPECT_EQ(dir.Read("Vorlux.RTF"), editor.RtfText());

    RichEdit loaded;
    loaded.LoadFromFile(dir.File("Vorlux.RTF"));
    EXPECT_EQ(loaded.toPlainText(), editor.toPlainText());

    EXPECT_THROW(loaded.LoadFromFile(dir.File("missing.rtf")), core::EFOpenError);
    EXPECT_EQ(loaded.toPlainText(), editor.toPlainText());  // a failed load keeps the content
    EXPECT_THROW(editor.SaveToFile(dir.File("no/such/dir/x.rtf")), core::EFCreateError);
}

TEST_F(RichEditTest, ReadOnlyFileIsNotReplaced) {
    testing_support::TempDir dir;
    dir.Write("Vorlux.RTF", "kept");
    std::filesystem::permissions(dir.File("Vorlux.RTF"), std::filesystem::perms::owner_read);
    editor.setPlainText("new text");
    EXPECT_THROW(editor.SaveToFile(dir.File("Vorlux.RTF")), core::EFCreateError);
    EXPECT_EQ(dir.Read("Vorlux.RTF"), "kept");
    EXPECT_FALSE(std::filesystem::exists(dir.File("Vorlux.RTF.tmp")));
}

TEST_F(RichEditTest, LineCount) {
    const std::pair<const char*, int> cases[] = {{"", 0}, {"a", 1}, {"a\n", 1}, {"a\nb", 2}, {"\n\nc", 3}};
    for (const auto& [text, lines] : cases) {
        editor.setPlainText(text);
        EXPECT_EQ(editor.LineCount(), lines) << text;
    }
}

// --- selection notification and hiding ----------------------------------------------------------

TEST_F(RichEditTest, SelectionChangeOnMovesOnly) {
    editor.setPlainText("some text");
    int notified = 0;
    QObject::connect(&editor, &RichEdit::SelectionChange, [&] { ++notified; });
    PlaceCaret(2);
    EXPECT_EQ(notified, 1);
    Select("text");
    EXPECT_EQ(notified, 2);
    editor.SetSelStyle(FontStyle::Bold, true);
    editor.SelAttributes();
    EXPECT_EQ(notified, 2);
}

// Pixels of the palette's highlight colour in a picture of the editor.
int HighlightPixels(RichEdit& editor) {
    QImage image(editor.size(), QImage::Format_RGB32);
    editor.render(&image);
    const QRgb highlight = editor.palette().color(QPalette::Inactive, QPalette::Highlight).rgb();
    const QRgb activeHighlight = editor.palette().color(QPalette::Active, QPalette::Highlight).rgb();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == highlight || image.pixel(x, y) == activeHighlight) ++count;
    return count;
}

TEST_F(RichEditTest, SelectionHiddenWithoutFocusUnlessAskedToShowIt) {
    editor.setPlainText("selected words in the editor");
    Select("selected words");
    ASSERT_FALSE(editor.hasFocus());
    EXPECT_EQ(HighlightPixels(editor), 0);
    editor.SetHideSelection(false);
    const QFontMetrics metrics(editor.font());
    // The highlight covers at least the selected text's width at one line's height.
    EXPECT_GE(HighlightPixels(editor), metrics.horizontalAdvance("selected words") * metrics.height() / 2);
}

// --- links --------------------------------------------------------------------------------------

TEST_F(RichEditTest, DetectsLinksWithoutChangingTheDocument) {
    editor.setPlainText("Info: http://example.com/x und\nwww.example.ch.");
    const std::string before = editor.RtfText();
    editor.SetAutoUrlDetect(true);
    ASSERT_EQ(editor.Links().size(), 2u);
    EXPECT_EQ(editor.Links()[0], (ui::TextSpan{6, 20}));
    EXPECT_EQ(editor.Links()[1], (ui::TextSpan{31, 14}));
    EXPECT_EQ(editor.RtfText(), before);
    EXPECT_EQ(editor.extraSelections().size(), 2);

    Key(Qt::Key_End, {}, Qt::ControlModifier);
    Key(Qt::Key_Space, " ");
    for (char c : std::string("ftp://a.b")) Key(0, QString(QChar(c)));
    EXPECT_EQ(editor.Links().size(), 3u);
    editor.SetAutoUrlDetect(false);
    EXPECT_TRUE(editor.Links().empty());
    EXPECT_TRUE(editor.extraSelections().isEmpty());
}

TEST_F(RichEditTest, ReleasingTheLeftButtonOverALinkReportsIt) {
    editor.setPlainText("Info: http://example.com/x und");
    editor.SetAutoUrlDetect(true);
    editor.show();
    std::vector<std::tuple<int, int, QString>> reported;
    QObject::connect(&editor, &RichEdit::LinkReleased, [&](int cpMin, int cpMax, const QString& text) {
        reported.emplace_back(cpMin, cpMax, text);
    });
    auto click = [&](int position) {
        QTextCursor at(editor.document());
        at.setPosition(position);
        const QRect left = editor.cursorRect(at);
        const QPointF point(left.x() + 2, left.center().y());
        QMouseEvent press(QEvent::MouseButtonPress, point, editor.viewport()->mapToGlobal(point),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor.viewport(), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, point, editor.viewport()->mapToGlobal(point),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(editor.viewport(), &release);
    };
    click(10);  // inside the address
    click(2);   // plain text
    click(27);  // "und"
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], std::make_tuple(6, 26, QString("http://example.com/x")));
}

}  // namespace
