#include "ui/rich_combo_boxes.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QPixmap>
#include <algorithm>

namespace ui {

namespace {

struct NamedColor {
    const char* name;
    QRgb rgb;
};

// The sixteen standard colours, as the colour boxes of the class library list them.
constexpr NamedColor kStandardColors[] = {
    {"Schwarz", 0x000000},  {"Kastanienbraun", 0x800000}, {"Grün", 0x008000},
    {"Oliv", 0x808000},     {"Marineblau", 0x000080},     {"Purpur", 0x800080},
    {"Blaugrün", 0x008080}, {"Grau", 0x808080},           {"Silber", 0xC0C0C0},
    {"Rot", 0xFF0000},      {"Hellgrün", 0x00FF00},       {"Gelb", 0xFFFF00},
    {"Blau", 0x0000FF},     {"Fuchsia", 0xFF00FF},        {"Aqua", 0x00FFFF},
    {"Weiß", 0xFFFFFF},
};

constexpr int kSwatchWidth = 12;

QPixmap Swatch(QColor color, int height) {
    QPixmap swatch(kSwatchWidth, height);
    swatch.fill(color);
    return swatch;
}

}  // namespace

RichColorComboBox::RichColorComboBox(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setIconSize(QSize(kSwatchWidth, 10));
    for (const NamedColor& c : kStandardColors) {
        const QColor color(c.rgb);
        addItem(QIcon(Swatch(color, 10)), QString::fromUtf8(c.name), color);
    }
    view()->setMinimumWidth(100);
    SetValue(Qt::black);
}

QColor RichColorComboBox::Value() const {
    return currentData().value<QColor>();
}

void RichColorComboBox::SetValue(const QColor& color) {
    setCurrentIndex(IndexOfColor(color));
}

int RichColorComboBox::IndexOfColor(const QColor& color) const {
    for (int i = 0; i < count(); ++i)
        if (itemData(i).value<QColor>().rgb() == color.rgb()) return i;
    return -1;
}

RichFontComboBox::RichFontComboBox(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::ClickFocus);
    QStringList families = QFontDatabase::families();
    std::sort(families.begin(), families.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    for (const QString& family : families) {
        addItem(family);
        setItemData(count() - 1, QFont(family), Qt::FontRole);  // the name is its own sample
    }
    setMaxVisibleItems(20);
    view()->setMinimumWidth(300);
    setCurrentIndex(-1);  // blank until a selection's font is found in the list
}

int RichFontComboBox::IndexOfFont(const QString& name) const {
    for (int i = 0; i < count(); ++i)
        if (itemText(i).compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool RichFontComboBox::DroppedDown() const {
    return view()->isVisible();
}

RichSizeComboBox::RichSizeComboBox(QWidget* parent) : QComboBox(parent) {
    setFocusPolicy(Qt::ClickFocus);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems({"5", "8", "10", "11", "12", "14", "16", "18", "20", "22", "24", "36", "72"});
    QFont arial("Arial");
    arial.setPointSize(7);
    setFont(arial);
}

int RichSizeComboBox::IndexOfSize(int size) const {
    for (int i = 0; i < count(); ++i)
        if (itemText(i).toInt() == size) return i;
    return -1;
}

}  // namespace ui
