// The exchange path of one call with a full area: copy the area in, parse the table, decompress the order
// lines, compress them again, serialise the table, clear the area and copy the text in. Baseline: zlib's
// own inflate plus deflate of the same payload.
#include <zlib.h>

#include <QApplication>
#include <cstdlib>

#include "bench/ratio_main.h"
#include "plugin/calc_basis.h"
#include "plugin/param_table_text.h"
#include "plugin/payload_compression.h"
#include "tests/support/shm_area.h"

namespace {

// Order lines in the host's format: the sixteen columns of the order grid and the second line.
std::string OrderLines(int count) {
    const char* names[] = {"TColumn-1",     "Pos.",         "Stueck",        "Einheit",
                           "Bezeichnung1",  "Bezeichnung2", "BestellNummer", "Seriennummer",
                           "Artikelnummer", "Einzelbetrag", "Steuer",        "SummeBetrag",
                           "intern",        "ID_Artikel",   "benutzer",      "Rabatt"};
    std::string s = "\"@@DATADEF START@@\"\r\n";
    for (const char* n : names) s += std::string("\"") + n + "\"\r\n";
    s += "\"SecondField\"\r\n\"@@DATADEF END@@\"\r\n";
    for (const char* n : names) s += std::string("\"") + n + "\",";
    s += "\"SecondField\",\r\n";
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i + 1);
        s += std::string(i % 25 == 0 ? "\"t\"," : "\"\",") + "\"" + n + "\",\"" + std::to_string(i % 17 + 1) +
             "\",\"m\xB2\",\"Position " + std::to_string(i * 7919 % 100003) +
             " Wandfliesen verlegen\",\"\",\"\",\"\",\"A-" + std::to_string(i * 31 % 977) +
             "\",\"38,90\",\"7\",\"" + std::to_string(i % 400) + ",25\",\"\",\"" + n + "\",\"\",\"\",\"" +
             (i % 3 == 0 ? "inkl. Kleber und Fugenmasse" : "") + "\",\r\n";
    }
    return s;
}

struct Fixture {
    std::string lines = OrderLines(20000);
    std::string compressed;
    std::string areaText;
    Fixture() {
        core::MemoryStream src(lines), dst;
        plugin::CompressStream(src, dst);
        compressed = dst.Bytes();
        plugin::ParamTable t;
        for (auto [k, v] : {std::pair{"Netto", "1"}, {"CANCOMPRESS", "1"}, {"CPSTEUERHIGH", "19"}})
            t.AddRow(plugin::ParamRow{k, std::nullopt, v});
        t.AddRow(plugin::ParamRow{"DATA", compressed, std::nullopt});
        areaText = plugin::ParamTableToText(t);
    }
};

const Fixture& Data() {
    static Fixture f;
    return f;
}

// The frame with the order lines carried through as bytes: the exchange work alone, without the grid.
class PassThroughFrame : public plugin::TFCalcBasisClass {
  public:
    void LoadOrderLines() override {
        if (MapKM.Locate("DATA")) lines_ = OpenPayloadStream()->Bytes();
    }
    void SaveOrderLines() override {
        core::MemoryStream stream(lines_);
        StorePayload("DATA", stream);
    }

  protected:
    void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }

  private:
    std::string lines_;
};

// The frame as the module runs it: the order lines go through the grid.
class Frame : public plugin::TFCalcBasisClass {
  protected:
    void ShowMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

template <typename FrameType>
void BM_ModuleExchange(benchmark::State& state) {
    testing_support::ShmArea area(plugin::kExchangeSize);
    for (auto _ : state) {
        state.PauseTiming();
        area.Fill(Data().areaText);
        auto frame = plugin::TFCalcBasisClass::Create<FrameType>();
        state.ResumeTiming();
        frame->OpenExchange(area.Name());
        frame->StartCalculation();
        if (!frame->WriteBack()) state.SkipWithError("write-back failed");
        frame->CloseExchange();
    }
    state.counters["area_text_bytes"] = static_cast<double>(Data().areaText.size());
}

void BM_ZlibBaseline(benchmark::State& state) {
    const std::string& in = Data().compressed;
    const std::string& raw = Data().lines;
    std::string out(raw.size() + 1024, '\0');
    std::string packed(compressBound(raw.size()), '\0');
    for (auto _ : state) {
        uLongf n = out.size();
        uncompress(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(in.data()),
                   in.size());
        uLongf m = packed.size();
        compress2(reinterpret_cast<Bytef*>(packed.data()), &m, reinterpret_cast<const Bytef*>(out.data()), n,
                  1);
        benchmark::DoNotOptimize(packed.data());
    }
    state.counters["payload_bytes"] = static_cast<double>(raw.size());
}

BENCHMARK(BM_ModuleExchange<PassThroughFrame>)->Name("BM_ModuleExchange")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ModuleExchange<Frame>)->Name("BM_ModuleExchangeWithGrid")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibBaseline)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return bench::RunWithRatios(
        argc, argv,
        {{"BM_ModuleExchange", "BM_ZlibBaseline"}, {"BM_ModuleExchangeWithGrid", "BM_ZlibBaseline"}});
}
