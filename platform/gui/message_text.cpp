#include "platform/gui/message_text.h"

#include <QFontMetrics>
#include <algorithm>

namespace ore::gui {

QString fitMessageText(const QString& text, const QFont& font, int wrapWidth, QSize screen) {
  const QFontMetrics fm(font);
  // Characters per line and lines per screen, by the widest digit-and-letter glyphs.
  const int charWidth = std::max(1, fm.horizontalAdvance(QStringLiteral("W0")) / 2);
  const int perLine = std::max(8, wrapWidth / charWidth);
  const int lines = std::max(3, screen.height() / 2 / std::max(1, fm.lineSpacing()));
  const qsizetype maxChars = qsizetype(perLine) * lines;
  QString t = text;
  if (t.size() > maxChars) {
    const qsizetype keep = maxChars / 2 - 1;
    t = t.left(keep) + QChar(0x2026) + t.right(keep);
  }
  // A zero-width space is a break point the label may wrap at, invisible where it does not.
  QString out;
  out.reserve(t.size() + t.size() / perLine + 1);
  int run = 0;
  for (QChar c : t) {
    out += c;
    run = c.isSpace() ? 0 : run + 1;
    if (run >= perLine) {
      out += QChar(0x200B);
      run = 0;
    }
  }
  return out;
}

}  // namespace ore::gui
