#pragma once
// The mini-HTML renderer: lays a marked-up message text out in a rectangle line by line, measures it,
// draws it and tells whether a point lies on an anchor. It keeps no state between calls: each call
// starts from the canvas's font and brush colour and leaves both as it found them.
//
// The markup is deliberately not HTML: tags are recognised by their first letters, attributes by plain
// substring search, and closing tags return to the canvas's starting font rather than to an enclosing
// tag's state.
#include <QString>

#include "platform/gui/canvas.h"

namespace ui {

struct HtmlDrawParams {
    int hitX = -1;  // point tested for anchors, in the canvas's coordinates
    int hitY = -1;
    bool noDraw = false;  // lay out and hit-test only
    int shadowOffset = 2;
    gui::TColor shadowColor = 0x808080;
    gui::TColor anchorColor = 0xFF0000;
};

struct HtmlDrawResult {
    bool overAnchor = false;  // the test point lies on an anchor
    QString anchorHref;       // its target (when overAnchor)
    int textWidth = 0;        // widest line, trailing spaces excluded
    int textHeight = 0;       // sum of the laid-out lines' heights; "gh" height for an empty text
    int mouseAnchor = -1;     // number (1, 2, ...) of the anchor under the test point, else -1
    int lineCount = 0;        // lines laid out
};

HtmlDrawResult HtmlDraw(gui::Canvas& canvas, const QString& text, const gui::Rect& rect,
                        const HtmlDrawParams& params = {});

// Removes every line feed; a carriage return becomes "<BR>" with toTags, else it is removed.
QString ConvertLineBreaks(const QString& text, bool toTags);

// A colour attribute value: "#RRGGBB" (missing pairs count as 0) or a colour name such as "clRed";
// unknown names give black.
gui::TColor HtmlColor(const QString& value);

}  // namespace ui
