#pragma once
// Controls inside a group box are laid out from the group's client area: below its caption and
// inside its frame, whatever the style and the font make of those.

class QGroupBox;
class QWidget;

namespace ore::gui {

// Moves the group's controls down (right) by as much as the nearest one reaches into the caption
// (frame), keeping their places to each other, and grows the group when they would then reach
// into its frame. Idempotent.
void keepInClientArea(QGroupBox* group);
// The same for every group box inside window.
void keepGroupsInClientArea(QWidget* window);

}  // namespace ore::gui
