// Rendered pictures of the grid: the texts appear where the geometry puts their cells.
#include <gtest/gtest.h>
#include <QImage>
#include <QPainter>

#include "gridcontrol/string_grid.h"
#include "platform/gui/application.h"

namespace {

class GridRender : public testing::Test {
  protected:
    GridRender() { gui::EnsureApplication(); }
};

const QColor kTextColor(255, 0, 0);

// A frameless string grid drawing its texts in pure red.
std::unique_ptr<T_StringGrid> RedTextGrid(int width, int height) {
    auto g = std::make_unique<T_StringGrid>();
    g->SetBorderStyle(T_CustomGrid::bsNone);
    QPalette pal = g->palette();
    pal.setColor(QPalette::Text, kTextColor);
    pal.setColor(QPalette::Base, Qt::white);
    g->setPalette(pal);
    g->resize(width, height);
    return g;
}

QImage Render(T_CustomGrid& g) {
    QImage image(g.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    g.render(&image);
    return image;
}

bool IsText(QRgb p) {
    return qRed(p) > 160 && qGreen(p) < 110 && qBlue(p) < 110;
}

// The bounding box of the text pixels inside r (null when there are none).
QRect TextBox(const QImage& image, const QRect& r) {
    QRect box;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.rect().contains(x, y) && IsText(image.pixel(x, y))) box |= QRect(x, y, 1, 1);
    return box;
}

QRect ToQRect(const grid::Rect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

}  // namespace

TEST_F(GridRender, TextsAppearInsideTheirCells) {
    auto g = RedTextGrid(320, 200);
    g->SetRowCount(50);
    g->SetColWidth(2, -1);                                                 // hidden: its text must not show
    const std::pair<int, int> cells[] = {{1, 3}, {3, 2}, {4, 4}, {0, 3}};  // not the cursor cell (1, 1)
    for (auto [c, r] : cells) g->SetCellText(c, r, "MM");
    g->SetCellText(2, 1, "MM");
    QImage image = Render(*g);
    QRect all = TextBox(image, image.rect());
    QRect union_;
    for (auto [c, r] : cells) {
        QRect cell = ToQRect(g->CellBounds(c, r));
        ASSERT_FALSE(cell.isEmpty());
        QRect box = TextBox(image, cell);
        ASSERT_FALSE(box.isNull()) << c << "," << r;
        EXPECT_GE(box.left(), cell.left() + 2) << c << "," << r;
        EXPECT_GE(box.top(), cell.top() + 2) << c << "," << r;
        union_ |= box;
    }
    EXPECT_EQ(all, union_);  // no text anywhere else
}

TEST_F(GridRender, ScrolledGridPaintsTheRowsTheGeometryShows) {
    auto g = RedTextGrid(320, 200);
    g->SetRowCount(100);
    for (int r = 1; r < 100; ++r) g->SetCellText(1, r, r % 10 == 0 ? "MM" : "");
    g->ScrollTo(1, 44);
    QImage image = Render(*g);
    grid::Rect cell = g->CellBounds(1, 50);
    ASSERT_FALSE(cell.IsEmpty());
    QRect body(0, g->CellBounds(1, 44).Top, image.width(), image.height());
    EXPECT_EQ(TextBox(image, body), TextBox(image, ToQRect(cell)));  // row 50 only; row 40 scrolled away
    EXPECT_FALSE(TextBox(image, ToQRect(cell)).isNull());
}

TEST_F(GridRender, FixedCellsTakeTheFixedColourAndTheBodyTheWindowColour) {
    auto g = RedTextGrid(200, 100);
    g->SetFixedColor(gui::RGB(0, 0, 200));
    QImage image = Render(*g);
    grid::Rect fixed = g->CellBounds(0, 1), body = g->CellBounds(2, 2);
    EXPECT_EQ(QColor(image.pixel(fixed.Left + 5, fixed.Top + 5)), QColor(0, 0, 200));
    EXPECT_EQ(QColor(image.pixel(body.Left + 5, body.Top + 5)), QColor(Qt::white));
}

TEST_F(GridRender, SecondLinesAreDrawnBelowTheFirstLine) {
    auto g = RedTextGrid(320, 200);
    g->SetUseSecondLine(true);
    g->SetLeftStartSecond(1);
    g->SetRightEndSecond(2);
    g->SetRowHeight(1, 60);
    g->SetCellText(-2, 1, "MM");
    QImage image = Render(*g);
    grid::Rect first = g->CellBounds(1, 1);
    QRect box = TextBox(image, ToQRect(g->SecondLineBounds(1, false)));
    ASSERT_FALSE(box.isNull());
    EXPECT_GE(box.top(), first.Top + g->DefaultRowHeight());
}
