#pragma once
// The three boxes of the rich-text toolbar: text colour (the standard colours with their names), font
// name (the installed fonts, sorted, each shown in its own face) and font size (a list of sizes that
// also takes typed numbers). None of them is reached with the Tab key.
#include <QColor>
#include <QComboBox>

namespace ui {

class RichColorComboBox : public QComboBox {
    Q_OBJECT

  public:
    explicit RichColorComboBox(QWidget* parent = nullptr);

    QColor Value() const;
    // Selects the first item of this colour; a colour without an item selects nothing.
    void SetValue(const QColor& color);
    int IndexOfColor(const QColor& color) const;
};

class RichFontComboBox : public QComboBox {
    Q_OBJECT

  public:
    explicit RichFontComboBox(QWidget* parent = nullptr);

    // The item whose name equals `name` without regard to letter case, or -1.
    int IndexOfFont(const QString& name) const;
    bool DroppedDown() const;
};

class RichSizeComboBox : public QComboBox {
    Q_OBJECT

  public:
    explicit RichSizeComboBox(QWidget* parent = nullptr);

    // The first item whose number is `size`, or -1.
    int IndexOfSize(int size) const;
};

}  // namespace ui
