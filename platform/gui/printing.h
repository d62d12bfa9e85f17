#pragma once
// Printing one page: to the default printer without a dialog, or (for checking what would be
// printed) to a PDF file. Failures throw ore::Error with a message for the user.

#include <QPrinterInfo>
#include <QRectF>
#include <QString>
#include <functional>

class QPainter;
class QPrinter;

namespace ore::gui {

// Draws the page's content into page (the printable area, in the painter's coordinates).
using PageDrawer = std::function<void(QPainter& painter, const QRectF& page)>;

class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  // Prints exactly one page. Throws Error when nothing could be printed.
  virtual void printPage(const PageDrawer& draw) = 0;
};

// The system's default printer, landscape. Throws Error("Нет доступного принтера") when there is
// none; defaultPrinter is how the printer is looked up (tests pass a lookup that finds none).
class DefaultPrinterTarget : public PrintTarget {
 public:
  explicit DefaultPrinterTarget(
      std::function<QPrinterInfo()> defaultPrinter = &QPrinterInfo::defaultPrinter)
      : lookup_(std::move(defaultPrinter)) {}
  void printPage(const PageDrawer& draw) override;

 private:
  std::function<QPrinterInfo()> lookup_;
};

// A one-page PDF file at path, laid out as the printed page would be.
class PdfFileTarget : public PrintTarget {
 public:
  explicit PdfFileTarget(QString path) : path_(std::move(path)) {}
  void printPage(const PageDrawer& draw) override;

 private:
  QString path_;
};

}  // namespace ore::gui
