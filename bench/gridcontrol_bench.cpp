// The string grid's storage and the grid control's painting and scrolling.
// - Filling and reading 20,000 rows x 16 columns of order-line-like texts, against a plain vector of
//   strings holding the same texts; the memory the grid takes is reported as a ratio to the text bytes.
// - Painting one screen and scrolling to the last row of a grid with 1,000,000 rows, against the same
//   with 100 rows: the cost must follow what is visible, not the row count.
#include <malloc.h>

#include <QApplication>
#include <QImage>
#include <cstdlib>
#include <memory>

#include "bench/ratio_main.h"
#include "gridcontrol/string_grid.h"

namespace {

constexpr int kRows = 20000;
constexpr int kCols = 16;

// Texts shaped like order lines: a marker, short numbers, a unit, descriptions and article numbers.
std::string CellText(int row, int col) {
    switch (col) {
        case 0:
            return row % 9 == 0 ? "t" : "";
        case 1:
            return std::to_string(row);
        case 2:
            return std::to_string(row % 17 + 1);
        case 3:
            return "m\xB2";
        case 4:
            return "Position " + std::to_string(row * 7919 % 100003) + " Wandfliesen glasiert";
        case 5:
            return row % 3 ? "" : "Farbe wei\xDF, 30 x 60 cm";
        case 6:
            return "B-" + std::to_string(row * 13 % 9973);
        case 7:
            return "";
        case 8:
            return "A-" + std::to_string(row * 31 % 977) + "-" + std::to_string(row % 50);
        case 9:
            return std::to_string(row % 400) + ",25";
        case 10:
            return "19";
        case 11:
            return std::to_string(row % 400 * 3) + ",75";
        case 12:
            return "0";
        case 13:
            return std::to_string(100000 + row);
        case 14:
            return "";
        default:
            return row % 5 ? "" : "10";
    }
}

size_t TextBytes() {
    size_t n = 0;
    for (int r = 1; r <= kRows; ++r)
        for (int c = 0; c < kCols; ++c) n += CellText(r, c).size();
    return n;
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

void FillGrid(T_StringGrid& g) {
    g.SetColCount(kCols);
    g.SetRowCount(kRows + 1);
    for (int r = 1; r <= kRows; ++r)
        for (int c = 0; c < kCols; ++c) g.SetCellText(c, r, CellText(r, c));
}

size_t ReadGrid(const T_StringGrid& g) {
    size_t n = 0;
    for (int r = 1; r <= kRows; ++r)
        for (int c = 0; c < kCols; ++c) n += g.GetCellText(c, r).size();
    return n;
}

void BM_StringGridFillRead(benchmark::State& state) {
    size_t memory = 0;
    for (auto _ : state) {
        size_t before = HeapInUse();
        auto g = std::make_unique<T_StringGrid>();
        FillGrid(*g);
        benchmark::DoNotOptimize(ReadGrid(*g));
        memory = HeapInUse() - before;
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
    state.counters["memory_per_text_byte"] = static_cast<double>(memory) / static_cast<double>(TextBytes());
}

void BM_VectorFillRead(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::string> v;
        for (int r = 1; r <= kRows; ++r)
            for (int c = 0; c < kCols; ++c) v.push_back(CellText(r, c));
        size_t n = 0;
        for (const std::string& s : v) n += s.size();
        benchmark::DoNotOptimize(n);
    }
}

// A frameless 440 x 300 grid of `rows` rows with the first screen filled.
std::unique_ptr<T_StringGrid> ScreenGrid(int rows) {
    auto g = std::make_unique<T_StringGrid>();
    g->SetBorderStyle(T_CustomGrid::bsNone);
    g->resize(440, 300);
    g->SetColCount(8);
    g->SetRowCount(rows);
    g->SetDefaultRowHeight(17);
    g->SetRowHeight(rows - 1, 20);  // a height list over every row
    for (int r : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, rows - 20, rows - 10, rows - 1})
        for (int c = 0; c < 8; ++c) g->SetCellText(c, r, CellText(r, c + 1));
    return g;
}

void BM_PaintScreen(benchmark::State& state) {
    auto g = ScreenGrid(static_cast<int>(state.range(0)));
    QImage image(g->size(), QImage::Format_RGB32);
    for (auto _ : state) g->render(&image);
}

void BM_ScrollToLastRow(benchmark::State& state) {
    auto g = ScreenGrid(static_cast<int>(state.range(0)));
    QImage image(g->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        g->MoveCursor(false, 1, g->RowCount() - 1, true, true);
        g->render(&image);
        g->MoveCursor(false, 1, 1, true, true);
        g->render(&image);
    }
}

BENCHMARK(BM_StringGridFillRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VectorFillRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintScreen)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollToLastRow)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return bench::RunWithRatios(argc, argv,
                                {{"BM_StringGridFillRead", "BM_VectorFillRead"},
                                 {"BM_PaintScreen/1000000", "BM_PaintScreen/100"},
                                 {"BM_ScrollToLastRow/1000000", "BM_ScrollToLastRow/100"}});
}
