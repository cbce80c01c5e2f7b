#include "ui/rich_toolbar.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

#include "platform/gui/color.h"
#include "platform/gui/registry.h"
#include "ui/flat_speed_button.h"
#include "ui/rich_toolbar_glyphs.h"

namespace ui {

namespace {

constexpr int kButtonWidth = 25;
constexpr int kMinSize = 5;
constexpr int kMaxSize = 72;
constexpr int kSizeWhenNotANumber = 8;

// The form class an add-on registers for the table/picture button, and the base it must derive from.
constexpr const char* kAddonClassName = "TFSimpleRTFAddonClass";
constexpr const char* kAddonBaseClassNames[] = {"TFCalcBasisClass"};

}  // namespace

TBxRichToolBar::TBxRichToolBar(QWidget* parent) : QWidget(parent) {
    setObjectName("BxRichToolBar");
    resize(478, kHeight);
    CreateButtons();
    CreateBoxes();
    BxRichToolBarCreate();
}

TBxRichToolBar::~TBxRichToolBar() {
    Unbind();
}

namespace {

// The speed buttons, left to right, 25 pixels apart.
struct ButtonSpec {
    TFlatSpeedButton* TBxRichToolBar::*button;
    const char* name;
    const char* hint;
    RichGlyph glyph;
    void (TBxRichToolBar::*click)();
    int group;  // 0 for a plain button, else a toggle in that group that may be up
};

const ButtonSpec kButtons[] = {
    {&TBxRichToolBar::scut, "scut", "Ausschneiden", RichGlyph::Cut, &TBxRichToolBar::scutClick, 0},
    {&TBxRichToolBar::scopy, "scopy", "Kopieren", RichGlyph::Copy, &TBxRichToolBar::scopyClick, 0},
    {&TBxRichToolBar::spaste, "spaste", "Einfügen", RichGlyph::Paste, &TBxRichToolBar::spasteClick, 0},
    {&TBxRichToolBar::sbold, "sbold", "Text fett", RichGlyph::Bold, &TBxRichToolBar::sboldClick, 4},
    {&TBxRichToolBar::sitalic, "sitalic", "Text kursiv", RichGlyph::Italic, &TBxRichToolBar::sitalicClick, 5},
    {&TBxRichToolBar::sunderline, "sunderline", "Text unterstrichen", RichGlyph::Underline,
     &TBxRichToolBar::sunderlineClick, 6},
    {&TBxRichToolBar::sl, "sl", "Linksbündig ausrichten", RichGlyph::AlignLeft, &TBxRichToolBar::slClick, 20},
    {&TBxRichToolBar::sc, "sc", "Zentriert ausrichten", RichGlyph::AlignCenter, &TBxRichToolBar::scClick, 20},
    {&TBxRichToolBar::sr, "sr", "Rechts ausrichten", RichGlyph::AlignRight, &TBxRichToolBar::srClick, 20},
    {&TBxRichToolBar::sBullet, "sBullet", "Einfache Tabelle oder Bild einfügen", RichGlyph::Table,
     &TBxRichToolBar::sBulletClick, 0},
    {&TBxRichToolBar::sundo, "sundo", "Rückgängig", RichGlyph::Undo, &TBxRichToolBar::sundoClick, 0},
};

}  // namespace

void TBxRichToolBar::CreateButtons() {
    int left = 0;
    for (const ButtonSpec& def : kButtons) {
        auto* button = new TFlatSpeedButton(this);
        button->setObjectName(def.name);
        button->setGeometry(left, 0, kButtonWidth, kButtonHeight);
        button->setToolTip(QString::fromUtf8(def.hint));
        button->SetColor(gui::clBtnFace);
        button->SetColorBorder(gui::clBtnFace);
        button->SetRound(0);
        button->SetGlyph(RichToolbarGlyph(def.glyph));
        if (def.group != 0) {
            button->SetGroupIndex(def.group);
            button->SetAllowAllUp(true);
        }
        button->OnClick = [this, click = def.click](TFlatButton*) { (this->*click)(); };
        this->*def.button = button;
        left += kButtonWidth;
    }
}

void TBxRichToolBar::CreateBoxes() {
    FontColorButton = new RichColorComboBox(this);
    FontColorButton->setObjectName("FontColorButton");
    FontColorButton->setGeometry(275, 0, 68, kButtonHeight);
    FontColorButton->setToolTip(QString::fromUtf8("Textfarbe"));
    FontName = new RichFontComboBox(this);
    FontName->setObjectName("FontName");
    FontName->setGeometry(343, 0, 95, kButtonHeight);
    FontSizes = new RichSizeComboBox(this);
    FontSizes->setObjectName("FontSizes");
    FontSizes->setGeometry(438, 0, 40, kButtonHeight);

    connect(FontColorButton, &QComboBox::activated, this, &TBxRichToolBar::FontColorButtonClick);
    connect(FontSizes, &QComboBox::currentTextChanged, this, &TBxRichToolBar::FontSizesChange);
    for (QWidget* box : {static_cast<QWidget*>(FontColorButton), static_cast<QWidget*>(FontName),
                         static_cast<QWidget*>(FontSizes), static_cast<QWidget*>(FontSizes->lineEdit())})
        box->installEventFilter(this);
}

// Hidden and disabled until an editor is bound; no child grows beyond 1.2 times its designed width.
void TBxRichToolBar::BxRichToolBarCreate() {
    SetControlsEnabled(false);
    hide();
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setMaximumWidth(static_cast<int>(std::lround(child->width() * 1.2)));
}

void TBxRichToolBar::SetControlsEnabled(bool enabled) {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) child->setEnabled(enabled);
}

// --- binding ------------------------------------------------------------------------------------

void TBxRichToolBar::SetRichEditor(RichEdit* editor) {
    if (editor == editor_) return;
    Unbind();
    editor_ = editor;
    if (editor) {
        editorConnections_.push_back(
            connect(editor, &QObject::destroyed, this, &TBxRichToolBar::EditorDestroyed));
        editorConnections_.push_back(
            connect(editor, &RichEdit::SelectionChange, this, &TBxRichToolBar::SelectionChange));
        fontNameConnection_ = connect(FontName, &QComboBox::activated, this, &TBxRichToolBar::FontNameChange);
        SelectionChange();
        SetControlsEnabled(true);
        show();
    } else {
        SetControlsEnabled(false);
        hide();
    }
}

void TBxRichToolBar::Unbind() {
    for (const QMetaObject::Connection& connection : editorConnections_) disconnect(connection);
    editorConnections_.clear();
    disconnect(fontNameConnection_);
}

// The editor is going away: forget it without touching it.
void TBxRichToolBar::EditorDestroyed() {
    Unbind();
    editor_ = nullptr;
    SetControlsEnabled(false);
    hide();
}

// --- following the selection --------------------------------------------------------------------

void TBxRichToolBar::SelectionChange() {
    if (updating_ || !editor_) return;
    updating_ = true;
    try {
        const TextAttributes a = editor_->SelAttributes();
        sbold->SetDown(a.bold);
        sitalic->SetDown(a.italic);
        sunderline->SetDown(a.underline);
        currentSize_ = a.size;
        FontSizes->setCurrentIndex(FontSizes->IndexOfSize(currentSize_));
        FontSizes->setEditText(QString::number(currentSize_));
        if (const int font = FontName->IndexOfFont(a.name); font >= 0) FontName->setCurrentIndex(font);
        const QColor color = a.autoColor ? gui::ToQColor(gui::clWindowText) : a.color;
        if (const int item = FontColorButton->IndexOfColor(color); item >= 0)
            FontColorButton->setCurrentIndex(item);
        switch (editor_->SelAlignment()) {
            case rtf::Alignment::Left:
                sl->SetDown(true);
                break;
            case rtf::Alignment::Right:
                sr->SetDown(true);
                break;
            case rtf::Alignment::Center:
                sc->SetDown(true);
                break;
            case rtf::Alignment::Justify:
                break;
        }
    } catch (...) {
        // Showing the formatting must never break the editor's selection handling.
    }
    updating_ = false;
}

// --- actions ------------------------------------------------------------------------------------

bool TBxRichToolBar::Blocked() const {
    return editor_->isReadOnly() || editor_->SelectionProtected();
}

void TBxRichToolBar::scutClick() {
    if (editor_ && !Blocked()) editor_->Cut();
}

void TBxRichToolBar::scopyClick() {
    if (editor_) editor_->Copy();
}

void TBxRichToolBar::spasteClick() {
    if (editor_ && !Blocked()) editor_->Paste();
}

void TBxRichToolBar::ApplyStyle(TFlatSpeedButton* button, int style) {
    if (!editor_ || updating_) return;
    if (Blocked()) {
        SelectionChange();  // the click toggled the button; show the unchanged text again
        return;
    }
    editor_->SetSelStyle(static_cast<FontStyle>(style), button->Down());
}

void TBxRichToolBar::sboldClick() {
    ApplyStyle(sbold, int(FontStyle::Bold));
}
void TBxRichToolBar::sitalicClick() {
    ApplyStyle(sitalic, int(FontStyle::Italic));
}
void TBxRichToolBar::sunderlineClick() {
    ApplyStyle(sunderline, int(FontStyle::Underline));
}

void TBxRichToolBar::ApplyAlignment(int alignment) {
    if (!editor_ || updating_) return;
    if (!Blocked()) editor_->SetSelAlignment(static_cast<rtf::Alignment>(alignment));
    SelectionChange();
}

void TBxRichToolBar::slClick() {
    ApplyAlignment(int(rtf::Alignment::Left));
}
void TBxRichToolBar::scClick() {
    ApplyAlignment(int(rtf::Alignment::Center));
}
void TBxRichToolBar::srClick() {
    ApplyAlignment(int(rtf::Alignment::Right));
}

void TBxRichToolBar::sundoClick() {
    if (editor_ && !Blocked()) editor_->Undo();
}

void TBxRichToolBar::FontColorButtonClick() {
    if (!editor_ || Blocked()) return;
    editor_->SetSelColor(FontColorButton->Value());
}

void TBxRichToolBar::FontNameChange() {
    if (!editor_ || Blocked() || updating_) return;
    KeepSelectionVisible(true);
    if (!FontName->DroppedDown() && FontName->currentIndex() >= 0)
        editor_->SetSelFontName(FontName->currentText());
}

void TBxRichToolBar::FontSizesChange() {
    if (!editor_ || Blocked() || updating_) return;
    KeepSelectionVisible(true);
    bool isNumber = false;
    const int size = FontSizes->currentText().trimmed().toInt(&isNumber);
    currentSize_ = isNumber ? size : kSizeWhenNotANumber;
    ApplySize();
}

void TBxRichToolBar::ApplySize() {
    if (!editor_ || Blocked() || updating_) return;
    currentSize_ = std::clamp(currentSize_, kMinSize, kMaxSize);
    editor_->SetSelSize(currentSize_);
}

// The add-on button opens a form registered by an add-on under a fixed name; this system registers
// none, so without one the button does nothing.
void TBxRichToolBar::sBulletClick() {
    if (!editor_ || Blocked() || updating_) return;
    const QMetaObject* addon = gui::FindClass(kAddonClassName);
    if (!addon) return;
    const bool derived = std::any_of(std::begin(kAddonBaseClassNames), std::end(kAddonBaseClassNames),
                                     [addon](const char* base) {
                                         const QMetaObject* meta = gui::FindClass(base);
                                         return meta && addon->inherits(meta);
                                     });
    if (!derived) return;
    try {
        QWidget* form = qobject_cast<QWidget*>(addon->newInstance());
        if (!form) return;
        form->setAttribute(Qt::WA_DeleteOnClose);
        gui::SetPublishedProperty(form, "RichEditor",
                                  QVariant::fromValue(static_cast<QObject*>(editor_.data())));
        form->move(sBullet->mapToGlobal(QPoint(0, sBullet->height())));
        form->show();
    } catch (...) {
        // An add-on's failure is its own; the editor carries on.
    }
}

// --- the boxes keep the editor's selection visible while they have the focus ---------------------

void TBxRichToolBar::KeepSelectionVisible(bool keep) {
    if (editor_) editor_->SetHideSelection(!keep);
}

void TBxRichToolBar::FontColorButtonEnter() {
    KeepSelectionVisible(true);
}
void TBxRichToolBar::FontColorButtonExit() {
    KeepSelectionVisible(false);
}
void TBxRichToolBar::FontNameEnter() {
    KeepSelectionVisible(true);
}
void TBxRichToolBar::FontNameExit() {
    KeepSelectionVisible(false);
}
void TBxRichToolBar::FontSizesEnter() {
    KeepSelectionVisible(true);
}
void TBxRichToolBar::FontSizesExit() {
    KeepSelectionVisible(false);
}

bool TBxRichToolBar::eventFilter(QObject* watched, QEvent* event) {
    const bool enter = event->type() == QEvent::FocusIn;
    if (!enter && event->type() != QEvent::FocusOut) return QWidget::eventFilter(watched, event);
    if (watched == FontColorButton)
        enter ? FontColorButtonEnter() : FontColorButtonExit();
    else if (watched == FontName)
        enter ? FontNameEnter() : FontNameExit();
    else if (watched == FontSizes || watched == FontSizes->lineEdit())
        enter ? FontSizesEnter() : FontSizesExit();
    return QWidget::eventFilter(watched, event);
}

}  // namespace ui
