#include "plugin/function1.h"

#include <QCoreApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "grid/data_grid.h"
#include "grid/line_amounts.h"
#include "grid/number_format.h"
#include "grid/number_settings.h"
#include "platform/core/paths.h"
#include "platform/core/strings.h"
#include "platform/gui/align.h"
#include "platform/gui/panel.h"
#include "platform/gui/plain_message.h"
#include "platform/gui/text.h"
#include "ui/flat_button.h"
#include "ui/flat_speed_button.h"
#include "ui/html_label.h"
#include "ui/rich_edit.h"
#include "ui/rich_toolbar.h"

namespace plugin {

namespace {

const char kExplanation[] =
    "<B><FONT size=\"10\">Diese Funktion setzt alle Steuers\xE4tze auf den vollen Steuersatz, und ersetzt "
    "den "
    "unteren Text durch einen Text Ihrer Wahl.<BR></FONT></B>";
const char kRefusal[] = "<B>Der Auftrag muss im Bearbeitungsmodus sein, und in Netto vorliegen.";
constexpr int kClientWidth = 566;
constexpr int kPanelHeight = 38;

ui::TFlatButton* MakeButton(QWidget* parent, const char* name, const char* caption, int left, int width) {
    auto* b = new ui::TFlatButton(parent);
    b->setObjectName(name);
    b->SetCaption(gui::ToQString(caption));
    b->setGeometry(left, 5, width, 25);
    b->SetLayout(0);  // glyph left of the caption
    b->SetMargin(30);
    b->SetSpacing(9);
    return b;
}

}  // namespace

TFFunction1::TFFunction1(QWidget* parent) : TFCalcBasisClass(parent) {
    setObjectName("FFunction1");
    SetBorderStyle(gui::bsDialog);
    SetPosition(gui::poScreenCenter);
    SetKeyPreview(true);
    QFont f("MS Sans Serif");
    f.setPixelSize(11);
    setFont(f);

    Panel1 = new gui::Panel(this);
    Panel1->setObjectName("Panel1");
    Panel1->SetAlign(2);  // bottom
    Panel1->resize(kClientWidth, kPanelHeight);
    fca_abort = MakeButton(Panel1, "fca_abort", "&Abbrechen", 296, 135);
    fca = MakeButton(Panel1, "fca",
                     "&\xDC"
                     "bernehmen",
                     434, 127);
    fca->SetVKKey("F3");
    fca->OnClick = [this](ui::TFlatButton*) { fcaClick(); };
    fca_abort->OnClick = [this](ui::TFlatButton*) { fca_abortClick(); };

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setFocusPolicy(Qt::NoFocus);
    PageControl1->tabBar()->setFocusPolicy(Qt::NoFocus);
    TabSheet1 = new gui::Panel;
    TabSheet1->setObjectName("TabSheet1");
    HTMLabel1 = new ui::TKTHTM(TabSheet1);
    HTMLabel1->setObjectName("HTMLabel1");
    HTMLabel1->SetAlign(gui::alTop);
    HTMLabel1->SetAutoSizing(true);
    HTMLabel1->SetHTMLText({gui::ToQString(kExplanation)});
    TabSheet2 = new gui::Panel;
    TabSheet2->setObjectName("TabSheet2");
    BxRichToolBar1 = new ui::TBxRichToolBar(TabSheet2);
    BxRichToolBar1->setObjectName("BxRichToolBar1");
    BxRichToolBar1->setProperty("Align", gui::alTop);
    BxRichToolBar1->resize(kClientWidth, ui::TBxRichToolBar::kHeight);
    PH = new ui::RichEdit(TabSheet2);
    PH->setObjectName("PH");
    PH->setProperty("Align", gui::alClient);
    QFont phFont("Tahoma");
    phFont.setPixelSize(13);
    PH->setFont(phFont);
    PH->document()->setDefaultFont(phFont);
    PH->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PH->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PH->setLineWrapMode(QTextEdit::NoWrap);
    PH->setFocusPolicy(Qt::ClickFocus);
    BxRichToolBar1->SetRichEditor(PH);
    PageControl1->addTab(TabSheet1, "Kalkulation");
    PageControl1->addTab(TabSheet2, "Einstellungen");
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    setFixedWidth(kClientWidth);
    SetWindowHeight(kFunctionHeight);
}

void TFFunction1::SetWindowHeight(int height) {
    setFixedHeight(height);
    Panel1->setGeometry(0, height - kPanelHeight, kClientWidth, kPanelHeight);
    PageControl1->setGeometry(0, 0, kClientWidth, height - kPanelHeight);
}

void TFFunction1::FormCreate() {
    TFCalcBasisClass::FormCreate();
    RunExtraLoadStep = false;
    // The rows' second text lines must survive loading and saving of the order lines.
    DataGridOrder().SetUseSecondLine(true);
    PageControl1->setCurrentWidget(TabSheet1);
    SetWindowHeight(kFunctionHeight);
    BxRichToolBar1->sBullet->hide();
}

void TFFunction1::FormShow() {
    TFCalcBasisClass::FormShow();
    raise();
    activateWindow();
}

std::string TFFunction1::ModuleDirectory() {
    static const char anchor = 0;
    return core::ModuleDirOf(&anchor);
}

void TFFunction1::AfterLoad() {
    LoadFooterFile();
    if (Browse || !Netto) {
        ShowMessage(kRefusal);
        QCoreApplication::processEvents();
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    setWindowTitle(gui::ToQString(AdressName));
    grid::ApplyCurrencyMode(DM, Netto, DataGridOrder());
}

void TFFunction1::LoadFooterFile() {
    // The editor always starts from the user's file, never from the footer the host sent.
    const std::string file = FooterFileName();
    if (!core::FileExists(file)) return;
    try {
        PH->LoadFromFile(file);
    } catch (const std::exception&) {
        // An unreadable footer file leaves the editor as it was.
    }
}

void TFFunction1::SaveFooterFile() {
    try {
        PH->SaveToFile(FooterFileName());
    } catch (const std::exception&) {
        // A footer file that cannot be written is not the user's problem at this moment.
    }
}

void TFFunction1::ApplyFullTax() {
    auto rateOf = [this](const char* key) {
        return MapKM.Locate(key) ? grid::ParseFloatOrZero(MapKM.FieldAsText(ParamField::ValueB)) : 0.0L;
    };
    const long double high = rateOf("CPSTEUERHIGH");
    const long double low = rateOf("CPSTEUERLOW");
    const long double rate = high > low ? high : low;
    TDataGrid& grid = DataGridOrder();
    grid.BeginUpdate();
    try {
        grid::Settings().FiveRappen =
            MapKM.Locate("5Rappen") &&
            (core::StrToIntDef(MapKM.FieldAsText(ParamField::ValueB), 0) & 0xFF) != 0;
        const int col = grid.ColumnIndex("Steuer");
        const std::string rateText = grid::FloatToStrGeneral(rate);
        // The lowest bit of DM inverted: 1 for the order's own currency, 0 for the second one.
        const int kind = DM ? 0 : 1;
        for (int row = 1; row < grid.RowCount(); ++row) {
            if (grid.IsNonArticleRow(row)) continue;
            if (col != -1) grid.SetCellText(col, row, rateText);
            grid::RecalcLine(grid, "Einzelbetrag", row, kind);
        }
    } catch (...) {
        grid.EndUpdate(false);
        throw;
    }
    grid.EndUpdate(false);
}

bool TFFunction1::WriteBack() {
    ApplyFullTax();
    // The footer is replaced only when the host sent one, and only by a footer that has text.
    if (PH->LineCount() > 0 && MapKM.Locate("RTFFOOT")) MapKM.SetField(ParamField::ValueA, PH->RtfText());
    return TFCalcBasisClass::WriteBack();
}

void TFFunction1::fcaClick() {
    try {
        SaveFooterFile();
        WriteBack();
        close();
    } catch (const std::exception& e) {
        // Errors of the tax update or the footer are not the write-back's: they are shown plainly and
        // the window stays open.
        gui::ShowPlainMessage(e.what());
    }
}

void TFFunction1::fca_abortClick() {
    close();
}

void TFFunction1::PageControl1Change() {
    if (PageControl1->currentWidget() == TabSheet2) {
        SetWindowHeight(kSettingsHeight);
    } else {
        SaveFooterFile();
        SetWindowHeight(kFunctionHeight);
    }
}

void TFFunction1::FormKeyDown(gui::KeyInfo& key) {
    if (key.key == gui::VK_ESCAPE) {
        key.key = 0;
        QCoreApplication::processEvents();
        close();
    } else if (key.key == gui::VK_F3) {
        key.key = 0;
        QCoreApplication::processEvents();
        fca->Click();
    }
}

void TFFunction1::done(int result) {
    // Every way of closing ends here: accept, cancel, Escape, the close box, the close after a refusal.
    FormCloseQuery();
    TFCalcBasisClass::done(result);
}

void TFFunction1::FormCloseQuery() {
    SaveFooterFile();
}

}  // namespace plugin
