#pragma once
// A message made fit for a message box: a long run without blanks gets break points so it wraps,
// and a text that would run past the screen keeps its beginning and end around an ellipsis.

#include <QFont>
#include <QSize>
#include <QString>

namespace ore::gui {

// wrapWidth is the widest the box's text may be, screen the space the box has, both in pixels.
QString fitMessageText(const QString& text, const QFont& font, int wrapWidth, QSize screen);

}  // namespace ore::gui
