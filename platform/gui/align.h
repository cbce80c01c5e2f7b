#pragma once
// Alignment of child controls to the edges of their parent, as forms and panels do it: every visible
// child whose published "Align" property is alTop, alBottom, alLeft, alRight or alClient is docked in
// that order into the space the previous ones left. Among equal alignments the one nearer its edge
// goes first, so re-aligning keeps the order the user sees.
class QWidget;

namespace gui {

enum TAlign : int { alNone = 0, alTop = 1, alBottom = 2, alLeft = 3, alRight = 4, alClient = 5 };

void AlignControls(QWidget* parent);

}  // namespace gui
