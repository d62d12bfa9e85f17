#include "platform/gui/grid_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace ore::gui {

QString gridAsTabSeparated(const TextGrid& grid) {
  QString out;
  for (int r = 0; r < grid.rowCount(); ++r) {
    for (int c = 0; c < grid.colCount(); ++c) {
      if (c) out += '\t';
      out += QString::fromStdString(grid.cell(c, r));
    }
    out += '\n';
  }
  return out;
}

QString gridAsHtml(const TextGrid& grid) {
  QString out = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table>\n");
  for (int r = 0; r < grid.rowCount(); ++r) {
    out += QStringLiteral("<tr>");
    const QString tag = r == 0 ? QStringLiteral("th") : QStringLiteral("td");
    for (int c = 0; c < grid.colCount(); ++c)
      out += '<' + tag + '>' + QString::fromStdString(grid.cell(c, r)).toHtmlEscaped() +
             QStringLiteral("</") + tag + '>';
    out += QStringLiteral("</tr>\n");
  }
  out += QStringLiteral("</table></body></html>\n");
  return out;
}

void copyGridToClipboard(const TextGrid& grid) {
  auto* data = new QMimeData;
  data->setText(gridAsTabSeparated(grid));
  data->setHtml(gridAsHtml(grid));
  QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace ore::gui
