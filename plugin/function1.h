#pragma once
// The module's one function window: on acceptance it sets the full tax rate on every article line and
// replaces the order's footer by the user's own rich text.
#include <QPushButton>

#include "plugin/calc_basis.h"

class QKeyEvent;

namespace plugin {

class TFFunction1 : public TFCalcBasisClass {
    Q_OBJECT
  public:
    explicit TFFunction1(QWidget* parent = nullptr);
    ~TFFunction1() override;

    void FormCreate() override;
    void FormShow() override;
    void AfterLoad() override;

    void fcaClick();
    void fca_abortClick();
    // Escape closes, F3 accepts, whatever modifier keys are held; returns whether the key was consumed.
    bool FormKeyDown(int key);

    QPushButton* fca = nullptr;
    QPushButton* fca_abort = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace plugin
