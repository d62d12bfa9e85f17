#include "platform/gui/printing.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "data/errors.h"

namespace ore::gui {

namespace {
void printOnePage(QPrinter& printer, const PageDrawer& draw, const std::string& failure) {
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
  QPainter painter;
  if (!painter.begin(&printer)) throw Error(failure);
  const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
  draw(painter, QRectF(0, 0, area.width(), area.height()));
  painter.end();
  if (printer.printerState() == QPrinter::Error) throw Error(failure);
}
}  // namespace

void DefaultPrinterTarget::printPage(const PageDrawer& draw) {
  const QPrinterInfo info = lookup_();
  if (info.isNull()) throw Error("Нет доступного принтера");
  QPrinter printer(info, QPrinter::HighResolution);
  if (!printer.isValid()) throw Error("Нет доступного принтера");
  printOnePage(printer, draw,
               "Не удалось напечатать на принтере «" + info.printerName().toStdString() + "»");
}

void PdfFileTarget::printPage(const PageDrawer& draw) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path_);
  printOnePage(printer, draw, "Не удалось записать файл «" + path_.toStdString() + "»");
}

}  // namespace ore::gui
