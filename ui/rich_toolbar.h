#pragma once
// TBxRichToolBar: the flat formatting toolbar bound to one rich edit. It edits the formatting of the
// editor's selection (clipboard, bold/italic/underline, paragraph alignment, undo, colour, font name
// and size) and follows the selection: whenever it moves, the buttons and boxes show its formatting.
// Until an editor is bound the toolbar is hidden and its controls disabled.
//
//   auto* toolbar = new ui::TBxRichToolBar(page);
//   toolbar->SetRichEditor(editor);   // shows and enables the toolbar
//   toolbar->sBullet->hide();
//
// Every connection to the editor is owned by the toolbar: rebinding, unbinding or destroying either
// side leaves no handler behind.
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "ui/rich_combo_boxes.h"
#include "ui/rich_edit.h"

namespace ui {

class TFlatSpeedButton;

class TBxRichToolBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(ui::RichEdit* RichEditor READ RichEditor WRITE SetRichEditor)

  public:
    explicit TBxRichToolBar(QWidget* parent = nullptr);
    ~TBxRichToolBar() override;

    RichEdit* RichEditor() const { return editor_; }
    void SetRichEditor(RichEdit* editor);

    bool Updating() const { return updating_; }
    int CurrentSize() const { return currentSize_; }

    // The designed geometry of the toolbar.
    static constexpr int kHeight = 26;
    static constexpr int kButtonHeight = 21;
    static constexpr QRgb kColor = 0xC0C0C0;  // silver; the toolbar itself is transparent

    TFlatSpeedButton* scut;
    TFlatSpeedButton* scopy;
    TFlatSpeedButton* spaste;
    TFlatSpeedButton* sbold;
    TFlatSpeedButton* sitalic;
    TFlatSpeedButton* sunderline;
    TFlatSpeedButton* sl;
    TFlatSpeedButton* sc;
    TFlatSpeedButton* sr;
    TFlatSpeedButton* sBullet;
    TFlatSpeedButton* sundo;
    RichColorComboBox* FontColorButton;
    RichFontComboBox* FontName;
    RichSizeComboBox* FontSizes;

  public slots:
    // The editor's selection moved: show its formatting, without changing the document.
    void SelectionChange();

    void scutClick();
    void scopyClick();
    void spasteClick();
    void sboldClick();
    void sitalicClick();
    void sunderlineClick();
    void slClick();
    void scClick();
    void srClick();
    void sBulletClick();
    void sundoClick();
    void FontColorButtonClick();
    void FontNameChange();
    void FontSizesChange();
    void FontColorButtonEnter();
    void FontColorButtonExit();
    void FontNameEnter();
    void FontNameExit();
    void FontSizesEnter();
    void FontSizesExit();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateButtons();
    void CreateBoxes();
    void BxRichToolBarCreate();
    void SetControlsEnabled(bool enabled);
    void Unbind();
    void EditorDestroyed();
    // Formatting and editing actions do nothing on protected text or in a read-only editor.
    bool Blocked() const;
    void ApplyStyle(TFlatSpeedButton* button, int style);
    void ApplyAlignment(int alignment);
    void ApplySize();
    void KeepSelectionVisible(bool keep);

    QPointer<RichEdit> editor_;
    std::vector<QMetaObject::Connection> editorConnections_;
    QMetaObject::Connection fontNameConnection_;
    bool updating_ = false;
    int currentSize_ = 0;
};

}  // namespace ui
