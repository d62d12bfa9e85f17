#pragma once
// Printing one page: to the default printer without a dialog, or (for checking what would be
// printed) to a PDF file. Failures throw ore::Error with a message for the user.

#include <QPrinterInfo>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "data/errors.h"

class QPainter;
class QPrinter;

namespace ore::gui {

// Draws the page's content into page (the printable area, in the painter's coordinates).
using PageDrawer = std::function<void(QPainter& painter, const QRectF& page)>;

class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  // Prints exactly one page as the job (or document) named title. Throws Error when nothing
  // could be printed.
  virtual void printPage(const QString& title, const PageDrawer& draw) = 0;
};

// What the print system says about a queue around one job. Qt hands the job over when the
// painter ends and keeps the system's answer to itself, so a refused job would pass for printed.
class PrintSpooler {
 public:
  virtual ~PrintSpooler() = default;
  // Before the job: why the queue named printer takes no job now, or "" when it does (or when
  // the print system cannot be asked).
  virtual std::string refusal(const QString& printer) = 0;
  // After the job was handed over: the print system's error for it, or "".
  virtual std::string submissionError() = 0;
};

// The spooler Qt prints through: CUPS when Qt's printing uses it, otherwise one that knows
// nothing.
std::unique_ptr<PrintSpooler> systemSpooler();

// Paints one landscape page on printer as the job named title. Throws Error(failure) when the
// painter or the printer fail, Error(failure + ": " + reason) when spooler refuses the queue
// (nothing is painted then) or reports an error for the job handed over.
void printOnePage(QPrinter& printer, const QString& title, const PageDrawer& draw,
                  const std::string& failure, PrintSpooler& spooler);

// There is no printer to print on: what() is "Нет доступного принтера".
class NoPrinter : public Error {
 public:
  NoPrinter() : Error("Нет доступного принтера") {}
};

// The system's default printer, landscape. Throws NoPrinter when there is none; defaultPrinter is
// how the printer is looked up (tests pass a lookup that finds none).
class DefaultPrinterTarget : public PrintTarget {
 public:
  explicit DefaultPrinterTarget(
      std::function<QPrinterInfo()> defaultPrinter = &QPrinterInfo::defaultPrinter)
      : lookup_(std::move(defaultPrinter)) {}
  void printPage(const QString& title, const PageDrawer& draw) override;

 private:
  std::function<QPrinterInfo()> lookup_;
};

// A one-page PDF file at path, laid out as the printed page would be.
class PdfFileTarget : public PrintTarget {
 public:
  explicit PdfFileTarget(QString path) : path_(std::move(path)) {}
  void printPage(const QString& title, const PageDrawer& draw) override;

 private:
  QString path_;
};

}  // namespace ore::gui
