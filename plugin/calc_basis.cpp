#include "plugin/calc_basis.h"

#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QShowEvent>
#include <QTimer>

#include "grid/smart_data_grid_view.h"
#include "platform/core/errors.h"
#include "platform/core/strings.h"
#include "platform/gui/text.h"
#include "platform/gui/window_message.h"
#include "plugin/param_table_text.h"
#include "plugin/payload_compression.h"
#include "plugin/placement.h"
#include "ui/animated_cursors.h"
#include "ui/html_message_box.h"

namespace plugin {

namespace {

const char kCannotSaveText[] = "<B>Kalkulation kann nicht gespeichert werden:</B><BR>";

uint8_t LowByte(int32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

// Reads a decimal number with a comma or a point as decimal separator; 0 when the text is no number.
double ParseDecimalOrZero(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        if (c == ',') c = '.';
    try {
        size_t used = 0;
        double v = std::stod(s, &used);
        return used == s.size() ? v : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace

TFCalcBasisClass::TFCalcBasisClass(QWidget* parent) : gui::Form(parent) {
    setWindowTitle("FCalcBasisClass");
    QFont f("Tahoma");
    f.setPixelSize(11);
    setFont(f);
    resize(372, 109);
}

TFCalcBasisClass::~TFCalcBasisClass() {
    FormDestroy();
}

void TFCalcBasisClass::FormCreate() {
    ScreenIndex = 0;
    OrderView = new TFSmartDataGridView(this);
    OrderView->hide();
    RunExtraLoadStep = true;
    // No placement yet (the host names its monitor only with the parameters), but styling.
    FormCreateHook(this, false);
}

void TFCalcBasisClass::OpenExchange(const std::string& name) {
    ExchangeStream.reset();
    ExchangeName = name;
    core::MemoryStream memory;
    ExchangeStream = std::make_unique<core::TMemoryMappedFileStream>(ExchangeName, kExchangeSize, 2);
    ExchangeStream->SetPosition(0);
    core::CopyStreamWhole(*ExchangeStream, memory);
    LoadParamTable(memory, MapKM);
}

void TFCalcBasisClass::CloseExchange() {
    if (!ExchangeStream) return;
    auto stream = std::move(ExchangeStream);
    stream->Close();
}

void TFCalcBasisClass::FormShow() {
    // The window is shown again when it is restored after minimising; the order is loaded only once.
    if (startPosted_) return;
    startPosted_ = true;
    gui::PostWindowMessage(this, kStartMessage);
}

bool TFCalcBasisClass::event(QEvent* event) {
    if (gui::WindowMessage::NumberOf(event) == kStartMessage) {
        StartCalculation();
        return true;
    }
    return gui::Form::event(event);
}

void TFCalcBasisClass::ReadHostParameters() {
    auto integer = [](const std::string& text) { return core::StrToIntDef(text, 0); };
    for (MapKM.First(); !MapKM.Eof(); MapKM.Next()) {
        const std::string ident = MapKM.FieldAsText(ParamField::Ident);
        const std::string value = MapKM.FieldAsText(ParamField::ValueB);
        if (ident == "ConnectPath") ConnectPath = value;
        if (ident == "V5") V5 = LowByte(integer(value)) != 0;
        if (ident == "CANCOMPRESS") CanCompress = value == "1";
        if (ident == "Servertype") ServerType = LowByte(integer(value));
        if (ident == "Netto") Netto = LowByte(integer(value)) != 0;
        if (ident == "DM") DM = LowByte(integer(value)) != 0;
        if (ident == "CPID") CPID = integer(value);
        if (ident == "CPAdressID") CPAdressID = integer(value);
        if (ident == "CPID_ORDER") CPID_ORDER = integer(value);
        if (ident == "Browse") Browse = LowByte(integer(value)) != 0;
        if (ident == "ADRESSNAME") AdressName = value;
        if (ident == "CPSTEUERHIGH") TaxHigh = ParseDecimalOrZero(value);
        if (ident == "CPSTEUERLOW") TaxLow = ParseDecimalOrZero(value);
        if (ident == "CalcFileName") CalcFileName = value;
        if (ident == "Screen") ScreenIndex = integer(value);
    }
}

void TFCalcBasisClass::StartCalculation() {
    ui::BeginWaitCursor();
    try {
        V5 = false;
        CanCompress = false;
        ReadHostParameters();
        if (ScreenIndex != 0) {
            SetPreferredMonitor(ScreenIndex);
            PlaceOnMonitor(this);
        }
        LoadOrderLines();
        if (RunExtraLoadStep) ExtraLoadStep();
        AfterLoad();
    } catch (const std::exception& e) {
        ShowMessage(ui::PossibleErrorText() + ui::EscapeMessageText(e.what()));
        QTimer::singleShot(0, this, &QWidget::close);
    }
    ui::EndWaitCursor();
}

std::unique_ptr<core::MemoryStream> TFCalcBasisClass::OpenPayloadStream() {
    auto stream = std::make_unique<core::MemoryStream>();
    const std::string payload = MapKM.FieldAsText(ParamField::ValueA);
    if (CanCompress) {
        core::MemoryStream source(payload);
        DecompressStream(source, *stream);
    } else {
        stream->WriteString(payload);
        stream->SetPosition(0);
    }
    return stream;
}

void TFCalcBasisClass::StorePayload(const std::string& key, core::MemoryStream& stream) {
    MapKM.LocateOrAppend(key);
    stream.SetPosition(0);
    core::MemoryStream blob;
    if (CanCompress) {
        if (!CompressStream(stream, blob))
            throw core::Exception("Die Auftragszeilen konnten nicht komprimiert werden.");
    } else {
        core::CopyStreamWhole(stream, blob);
    }
    MapKM.SetField(ParamField::ValueA, blob.Bytes());
}

TDataGrid& TFCalcBasisClass::DataGridOrder() const {
    return *OrderView->DataGridOrder;
}

void TFCalcBasisClass::LoadOrderLines() {
    if (!MapKM.Locate("DATA")) return;
    // The payload is read whole (decompressed when the host compresses) before the grid sees it. Whether
    // the grid could read all of it is not asked: a damaged payload leaves the rows read so far.
    std::unique_ptr<core::MemoryStream> stream = OpenPayloadStream();
    DataGridOrder().BeginUpdate();
    try {
        DataGridOrder().LoadFromStream(*stream);
    } catch (...) {
        DataGridOrder().EndUpdate(false);
        throw;
    }
    DataGridOrder().EndUpdate(false);
}

void TFCalcBasisClass::SaveOrderLines() {
    // A failed save has shown its own message; the write-back goes on with what was written.
    core::MemoryStream stream;
    DataGridOrder().SaveToStream(stream);
    StorePayload("DATA", stream);
}

bool TFCalcBasisClass::WriteBack() {
    try {
        MapKM.LocateOrAppend("CalcFileName");
        MapKM.SetField(ParamField::ValueB, CalcFileName);
        MapKM.LocateOrAppend("ACTION");
        MapKM.SetField(ParamField::ValueB, "WRITE");
        SaveOrderLines();
        if (!ExchangeStream) throw core::Exception("Map defekt.");
        ExchangeStream->SetPosition(0);
        core::MemoryStream memory;
        SaveParamTable(MapKM, memory);
        if (memory.Size() > kExchangeSize) throw core::Exception("Auftragsdaten sind zu umfangreich");
        memory.SetPosition(0);
        // Clear the whole area, so that nothing of a longer earlier text stays behind the new one.
        const int64_t size = ExchangeStream->Size();
        ExchangeStream->SetPosition(0);
        const std::string zeros(static_cast<size_t>(size), '\0');
        ExchangeStream->WriteBuffer(zeros.data(), size);
        ExchangeStream->SetPosition(0);
        core::CopyStreamWhole(memory, *ExchangeStream);
        return true;
    } catch (const std::exception& e) {
        ShowMessage(kCannotSaveText + ui::EscapeMessageText(e.what()));
        return false;
    }
}

void TFCalcBasisClass::ShowMessage(const std::string& text) {
    ui::ShowHtmlMessage(text);
}

}  // namespace plugin
