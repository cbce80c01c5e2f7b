// Loading and saving 20,000 order lines through the order-line grid, against a plain copy of the same
// bytes; and the memory the grid holds for them as a ratio to the payload's size.
#include <malloc.h>

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/ratio_main.h"
#include "grid/grid_stream.h"
#include "grid/smart_data_grid_view.h"

namespace {

const char* kNames[] = {"TColumn-1",     "Pos.",         "Stueck",        "Einheit",
                        "Bezeichnung1",  "Bezeichnung2", "BestellNummer", "Seriennummer",
                        "Artikelnummer", "Einzelbetrag", "Steuer",        "SummeBetrag",
                        "intern",        "ID_Artikel",   "benutzer",      "Rabatt"};

std::string Payload(int lines) {
    std::string s = "\"@@DATADEF START@@\"\r\n";
    for (const char* n : kNames) s += grid::Quote(n) + "\r\n";
    s += "\"SecondField\"\r\n\"@@DATADEF END@@\"\r\n";
    for (const char* n : kNames) s += grid::Quote(n) + ",";
    s += "\"SecondField\",\r\n";
    for (int i = 0; i < lines; ++i) {
        const std::string fields[] = {
            i % 9 == 0 ? "t" : "",
            std::to_string(i + 1),
            std::to_string(i % 17 + 1),
            "m\xB2",
            "Position " + std::to_string(i * 7919 % 100003) + " Wandfliesen glasiert",
            i % 3 ? "" : "Farbe wei\xDF, 30 x 60 cm",
            "B-" + std::to_string(i * 13 % 9973),
            "",
            "A-" + std::to_string(i * 31 % 977),
            std::to_string(i % 400) + ",25",
            "19",
            std::to_string(i % 400 * 3) + ",75",
            "0",
            std::to_string(100000 + i),
            "",
            i % 5 ? "" : "10"};
        for (const std::string& f : fields) s += grid::Quote(f) + ",";
        s += grid::Quote(grid::EscapeText(i % 4 ? "" : "Langtext zur Position\r\nzweite Zeile")) + ",\r\n";
    }
    return s;
}

const std::string& Data() {
    static const std::string payload = Payload(20000);
    return payload;
}

void BM_GridLoadSave(benchmark::State& state) {
    size_t memory = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto view = std::make_unique<TFSmartDataGridView>();
        view->DataGridOrder->SetUseSecondLine(true);
        core::MemoryStream in(Data());
        size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        bool loaded = view->DataGridOrder->LoadFromStream(in);
        // Counting the heap walks the allocator's lists: not part of the work measured.
        state.PauseTiming();
        memory = mallinfo2().uordblks - before;
        state.ResumeTiming();
        core::MemoryStream out;
        bool saved = view->DataGridOrder->SaveToStream(out);
        state.PauseTiming();  // the check of the result is not part of the work either
        if (!loaded || !saved || out.Bytes() != Data()) {
            size_t at =
                std::mismatch(out.Bytes().begin(), out.Bytes().end(), Data().begin(), Data().end()).first -
                out.Bytes().begin();
            std::fprintf(stderr, "loaded %d saved %d first difference at %zu: %s\n", loaded, saved, at,
                         out.Bytes().substr(at > 40 ? at - 40 : 0, 80).c_str());
            state.SkipWithError("the round trip failed or changed the payload");
            break;
        }
        view.reset();
        state.ResumeTiming();
    }
    state.counters["memory_per_payload_byte"] =
        static_cast<double>(memory) / static_cast<double>(Data().size());
    state.counters["payload_bytes"] = static_cast<double>(Data().size());
}

// The two halves apart, to show where the time goes.
void BM_GridLoad(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto view = std::make_unique<TFSmartDataGridView>();
        view->DataGridOrder->SetUseSecondLine(true);
        core::MemoryStream in(Data());
        state.ResumeTiming();
        view->DataGridOrder->LoadFromStream(in);
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
}

void BM_GridSave(benchmark::State& state) {
    auto view = std::make_unique<TFSmartDataGridView>();
    view->DataGridOrder->SetUseSecondLine(true);
    core::MemoryStream in(Data());
    view->DataGridOrder->LoadFromStream(in);
    for (auto _ : state) {
        core::MemoryStream out;
        view->DataGridOrder->SaveToStream(out);
        benchmark::DoNotOptimize(out.Bytes().data());
    }
}

void BM_PlainCopy(benchmark::State& state) {
    for (auto _ : state) {
        core::MemoryStream in(Data());
        core::MemoryStream out;
        core::CopyStreamWhole(in, out);
        benchmark::DoNotOptimize(out.Bytes().data());
    }
}

BENCHMARK(BM_GridLoadSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the heap, so that every case (the copy too) meets the allocator in the same
    // warm state instead of the first ones paying for fresh pages that later ones get for free.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return bench::RunWithRatios(argc, argv,
                                {{"BM_GridLoadSave", "BM_PlainCopy"},
                                 {"BM_GridLoad", "BM_PlainCopy"},
                                 {"BM_GridSave", "BM_PlainCopy"}});
}
