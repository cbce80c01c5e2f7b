#pragma once
// What the grid needs of an in-place editor: its window, its text and the inner text rectangle. The
// editors themselves (text, pick-list, lookup, numeric, second-line memo) implement this.
#include <string>

class QRect;
class QWidget;

namespace grid {

class CellEditor {
  public:
    virtual ~CellEditor() = default;
    virtual QWidget* EditorWidget() = 0;
    virtual std::string EditorText() const = 0;
    // Width taken by the editor's own buttons on the right.
    virtual int ButtonWidth() const { return 0; }
    // Inner text rectangle in editor coordinates; the caret is scrolled into view.
    virtual void SetTextRect(const QRect& rect) = 0;
};

}  // namespace grid
