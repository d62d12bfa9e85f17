#pragma once
// The report window's cell painting: texts run on over empty cells as in a spreadsheet.

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace ore::gui {

// Draws a text cell as a spreadsheet does: a text too wide for its cell runs on over the empty
// cells to its right (the report's titles rely on it) and is cut at the first cell that holds
// something; no grid line crosses the text where it runs on. Every cell draws its own part of
// the text and its own right and bottom grid lines, so a partial repaint stays right.
class SpillDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    const QString own = index.data(Qt::DisplayRole).toString();
    QModelIndex source = index;
    if (own.isEmpty()) {
      source = {};
      // A title is rarely wider than a few dozen columns; looking further costs every paint.
      for (int c = index.column() - 1; c >= 0 && c >= index.column() - 64; --c) {
        QModelIndex left = index.sibling(index.row(), c);
        if (left.data(Qt::DisplayRole).toString().isEmpty()) continue;
        if (flowsRight(left)) source = left;
        break;
      }
    }
    if (!view || !source.isValid() || !flowsRight(source)) {
      QStyledItemDelegate::paint(painter, option, index);
      drawGridLines(painter, option, false);
      return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    QStyle* style = view->style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, view);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const QRect from = view->visualRect(source);
    const QString shown = source.data(Qt::DisplayRole).toString();
    const QRect text(from.left() + margin, option.rect.top(), 1 << 20, option.rect.height());
    painter->save();
    painter->setClipRect(option.rect, Qt::IntersectClip);
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                         : QPalette::Text));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter->restore();

    // The text runs on into the next cell when it reaches past this one and that cell is empty.
    const int textRight = text.left() + QFontMetrics(opt.font).horizontalAdvance(shown);
    const QModelIndex next = index.sibling(index.row(), index.column() + 1);
    const bool runsOn = textRight > option.rect.right() && next.isValid() &&
                        next.data(Qt::DisplayRole).toString().isEmpty();
    drawGridLines(painter, option, runsOn);
  }

 private:
  static bool flowsRight(const QModelIndex& i) {
    return (i.data(Qt::TextAlignmentRole).toInt() & Qt::AlignHorizontal_Mask) == Qt::AlignLeft;
  }

  // The lines the view would draw on the cell's right and bottom edges (its own grid is off).
  static void drawGridLines(QPainter* painter, const QStyleOptionViewItem& option, bool openRight) {
    const QWidget* w = option.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    const QColor color = QColor::fromRgba(
        static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, w)));
    const QRect& r = option.rect;
    painter->save();
    painter->setPen(QPen(color, 0));
    painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    if (!openRight) painter->drawLine(r.right(), r.top(), r.right(), r.bottom());
    painter->restore();
  }
};

}  // namespace ore::gui
