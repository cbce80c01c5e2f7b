// Loads arbitrary bytes as order lines into the preview's grid: never crashes, and what the grid saves
// from them loads back into the same lines (saving that again gives the same bytes). Each line is also
// split into fields by the loader's fast splitter and field by field by the plain reader: both must
// give the same fields.
#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "grid/grid_stream.h"
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

void CompareSplitters(const std::string& bytes) {
    constexpr size_t kMax = 40;
    core::MemoryStream in(bytes);
    grid::StreamLineReader reader(in);
    grid::FieldSplitter splitter;
    std::string_view line;
    while (reader.Next(line)) {
        auto out = std::make_unique<char[]>(line.size() + grid::FieldSplitter::kSlack);
        uint32_t ends[kMax];
        bool percents[kMax];
        for (size_t start : {size_t{0}, size_t{1}}) {  // from the line's start, and from within it
            splitter.Scan(line);
            size_t pos = start;
            const size_t n = splitter.Read(line, pos, kMax, out.get(), ends, percents);
            size_t plainPos = start, k = 0;
            for (; k < kMax && grid::MoreFields(line, plainPos); ++k) {
                std::string field;
                const bool percent = grid::AppendField(line, plainPos, field);
                if (k >= n || percent != percents[k]) std::abort();
                const size_t begin = k ? ends[k - 1] : 0;
                if (std::string_view(out.get() + begin, ends[k] - begin) != field) std::abort();
            }
            if (k != n || pos != plainPos) std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CompareSplitters(std::string(reinterpret_cast<const char*>(data), size));
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
