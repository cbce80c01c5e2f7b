#pragma once
// The module's one function window: on acceptance it sets the full tax rate on every article line and
// replaces the order's footer by the user's own rich text, kept in "Vorlux.RTF" beside the module.
#include <string>

#include "plugin/calc_basis.h"

class QTabWidget;
class QWidget;

namespace gui {
class Panel;
}
namespace ui {
class RichEdit;
class TBxRichToolBar;
class TFlatButton;
class TKTHTM;
}  // namespace ui

namespace plugin {

inline constexpr int kFunctionHeight = 130;
inline constexpr int kSettingsHeight = 254;

class TFFunction1 : public TFCalcBasisClass {
    Q_OBJECT
  public:
    explicit TFFunction1(QWidget* parent = nullptr);

    void FormCreate() override;
    void FormShow() override;
    void AfterLoad() override;
    // Sets the full tax rate on every article line and recomputes it, stores the footer, then writes back.
    bool WriteBack() override;
    void ApplyFullTax();
    void LoadFooterFile();
    void SaveFooterFile();

    void fcaClick();
    void fca_abortClick();
    void PageControl1Change();

    // The directory of the module file itself, with a trailing separator.
    static std::string ModuleDirectory();
    static std::string FooterFileName() { return ModuleDirectory() + "Vorlux.RTF"; }

    QTabWidget* PageControl1 = nullptr;
    gui::Panel* TabSheet1 = nullptr;
    ui::TKTHTM* HTMLabel1 = nullptr;
    gui::Panel* TabSheet2 = nullptr;
    ui::TBxRichToolBar* BxRichToolBar1 = nullptr;
    ui::RichEdit* PH = nullptr;
    gui::Panel* Panel1 = nullptr;
    ui::TFlatButton* fca_abort = nullptr;
    ui::TFlatButton* fca = nullptr;

  protected:
    void FormKeyDown(gui::KeyInfo& key) override;
    void done(int result) override;
    void FormCloseQuery();

  private:
    void SetWindowHeight(int height);
};

}  // namespace plugin
