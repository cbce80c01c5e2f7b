#pragma once
// The base window of every calc-module function: it owns the conversation with the host. It opens the
// exchange area, loads the parameter table, reads the host's parameters, loads the order lines, lets the
// function window work, and on acceptance writes everything back.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/memory_mapped_file_stream.h"
#include "platform/gui/form.h"
#include "plugin/param_table.h"

class TFSmartDataGridView;
class TDataGrid;

namespace plugin {

inline constexpr int64_t kExchangeSize = 1000000;
inline constexpr int kStartMessage = 1025;

class TFCalcBasisClass : public gui::Form {
    Q_OBJECT
  public:
    explicit TFCalcBasisClass(QWidget* parent = nullptr);
    ~TFCalcBasisClass() override;

    // Constructs a function window and runs its creation handler, as creating a form does.
    template <typename T>
    static std::unique_ptr<T> Create() {
        auto window = std::make_unique<T>();
        window->FormCreate();
        return window;
    }

    void OpenExchange(const std::string& name);
    void CloseExchange();

    void FormShow() override;
    virtual void FormCreate();
    virtual void FormDestroy() {}
    virtual void LoadOrderLines();
    virtual void SaveOrderLines();
    virtual bool WriteBack();
    virtual void AfterLoad() {}
    virtual void ExtraLoadStep() {}

    // The start sequence, run from the posted start message.
    void StartCalculation();

    // A readable stream on "ValueA" of the current row, decompressed when the host compresses payloads.
    std::unique_ptr<core::MemoryStream> OpenPayloadStream();
    // Stores the whole stream into "ValueA" of the row `key` (appended when missing), compressed when the
    // host compresses payloads.
    void StorePayload(const std::string& key, core::MemoryStream& stream);

    ParamTable MapKM;
    // Never shown: it holds the order-line grid for the whole call.
    TFSmartDataGridView* OrderView = nullptr;
    TDataGrid& DataGridOrder() const;
    std::string CalcFileName;
    std::unique_ptr<core::TMemoryMappedFileStream> ExchangeStream;
    bool RunExtraLoadStep = false;
    bool Netto = false;
    bool DM = false;
    int32_t CPID = 0;
    int32_t CPID_ORDER = 0;
    int32_t CPAdressID = 0;
    std::string AdressName;
    bool Browse = false;
    std::string ExchangeName;
    double TaxHigh = 0;
    double TaxLow = 0;
    bool V5 = false;
    uint8_t ServerType = 0;
    bool CanCompress = false;
    int32_t ScreenIndex = 0;
    std::string ConnectPath;

  protected:
    bool event(QEvent* event) override;
    // Shows one of the frame's own messages (start failure, write-back failure, refusals).
    virtual void ShowMessage(const std::string& text);

  private:
    void ReadHostParameters();
    bool startPosted_ = false;
};

}  // namespace plugin
