// Loads arbitrary bytes as order lines into the preview's grid: never crashes, and what the grid saves
// from them loads back into the same lines (saving that again gives the same bytes).
#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "grid/smart_data_grid_view.h"

namespace {

TDataGrid& Grid() {
    static int argc = 1;
    static char name[] = "fuzz_grid_stream";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QApplication(argc, argv);
    }();
    (void)app;
    static TFSmartDataGridView* view = [] {
        auto* v = new TFSmartDataGridView();
        v->DataGridOrder->SetUseSecondLine(true);
        return v;
    }();
    return *view->DataGridOrder;
}

std::string SaveGrid(TDataGrid& g) {
    core::MemoryStream out;
    if (!g.SaveToStream(out)) std::abort();
    return out.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TDataGrid& g = Grid();
    core::MemoryStream in(std::string(reinterpret_cast<const char*>(data), size));
    if (!g.LoadFromStream(in)) std::abort();  // a memory stream never fails to read
    if (g.RowCount() < 2) std::abort();
    const std::string first = SaveGrid(g);
    core::MemoryStream again(first);
    if (!g.LoadFromStream(again)) std::abort();
    if (SaveGrid(g) != first) std::abort();
    return 0;
}
