#include "platform/gui/printing.h"

#include <dlfcn.h>

#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <cstring>

#include "data/errors.h"
#include "platform/files/safe_file_writer.h"

namespace ore::gui {

namespace {

// libcups as Qt's printing plugin loaded it, looked up at run time: building needs no CUPS
// headers, and a Qt that prints some other way is left alone. The two structures are libcups's
// public cups_option_t and cups_dest_t, unchanged since the library's soname 2.
struct CupsOption {
  char* name;
  char* value;
};
struct CupsDest {
  char* name;
  char* instance;
  int isDefault;
  int numOptions;
  CupsOption* options;
};

class CupsSpooler : public PrintSpooler {
 public:
  ~CupsSpooler() override {
    if (lib_) dlclose(lib_);
  }

  std::string refusal(const QString& printer) override {
    if (!bind()) return {};
    // A queue's name may carry an instance after '/'; CUPS takes the two apart.
    const int slash = printer.indexOf('/');
    const QByteArray name = printer.left(slash).toLocal8Bit();
    const QByteArray instance = slash < 0 ? QByteArray() : printer.mid(slash + 1).toLocal8Bit();
    // The request also leaves the library's last error at success, so that an error read after
    // the job is the job's own.
    CupsDest* dest = getNamedDest_(nullptr, name.constData(),
                                   instance.isEmpty() ? nullptr : instance.constData());
    if (!dest) return lastErrorString_();
    const char* accepting =
        getOption_("printer-is-accepting-jobs", dest->numOptions, dest->options);
    const bool refuses = accepting && std::strcmp(accepting, "false") == 0;
    freeDests_(1, dest);
    return refuses ? "принтер не принимает задания" : "";
  }

  std::string submissionError() override {
    if (!lib_) return {};
    // IPP statuses below client-error-bad-request are successes.
    return lastError_() >= 0x400 ? lastErrorString_() : "";
  }

 private:
  bool bind() {
    if (lib_) return true;
    void* lib = dlopen("libcups.so.2", RTLD_LAZY | RTLD_NOLOAD);
    if (!lib) return false;
    lastError_ = reinterpret_cast<int (*)()>(dlsym(lib, "cupsLastError"));
    lastErrorString_ = reinterpret_cast<const char* (*)()>(dlsym(lib, "cupsLastErrorString"));
    getNamedDest_ = reinterpret_cast<CupsDest* (*)(void*, const char*, const char*)>(
        dlsym(lib, "cupsGetNamedDest"));
    getOption_ = reinterpret_cast<const char* (*)(const char*, int, CupsOption*)>(
        dlsym(lib, "cupsGetOption"));
    freeDests_ = reinterpret_cast<void (*)(int, CupsDest*)>(dlsym(lib, "cupsFreeDests"));
    if (!lastError_ || !lastErrorString_ || !getNamedDest_ || !getOption_ || !freeDests_) {
      dlclose(lib);
      return false;
    }
    lib_ = lib;
    return true;
  }

  void* lib_ = nullptr;
  int (*lastError_)() = nullptr;
  const char* (*lastErrorString_)() = nullptr;
  CupsDest* (*getNamedDest_)(void*, const char*, const char*) = nullptr;
  const char* (*getOption_)(const char*, int, CupsOption*) = nullptr;
  void (*freeDests_)(int, CupsDest*) = nullptr;
};

class SilentSpooler : public PrintSpooler {
 public:
  std::string refusal(const QString&) override { return {}; }
  std::string submissionError() override { return {}; }
};

}  // namespace

std::unique_ptr<PrintSpooler> systemSpooler() {
  return std::make_unique<CupsSpooler>();
}

void printOnePage(QPrinter& printer, const QString& title, const PageDrawer& draw,
                  const std::string& failure, PrintSpooler& spooler) {
  printer.setDocName(title);
  printer.setPageOrientation(QPageLayout::Landscape);
  printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
  if (std::string why = spooler.refusal(printer.printerName()); !why.empty())
    throw Error(failure + ": " + why);
  QPainter painter;
  if (!painter.begin(&printer)) throw Error(failure);
  const QRect area = printer.pageLayout().paintRectPixels(printer.resolution());
  draw(painter, QRectF(0, 0, area.width(), area.height()));
  // Ending the painter hands the job over.
  const bool ended = painter.end();
  if (std::string why = spooler.submissionError(); !why.empty()) throw Error(failure + ": " + why);
  if (!ended || printer.printerState() == QPrinter::Error) throw Error(failure);
}

void DefaultPrinterTarget::printPage(const QString& title, const PageDrawer& draw) {
  const QPrinterInfo info = lookup_();
  if (info.isNull()) throw NoPrinter();
  QPrinter printer(info, QPrinter::HighResolution);
  if (!printer.isValid()) throw NoPrinter();
  const std::unique_ptr<PrintSpooler> spooler = systemSpooler();
  printOnePage(printer, title, draw,
               "Не удалось напечатать на принтере «" + info.printerName().toStdString() + "»",
               *spooler);
}

void PdfFileTarget::printPage(const QString& title, const PageDrawer& draw) {
  // Qt's PDF engine truncates the named file before the page is drawn and may leave it cut short:
  // the page goes to a temporary file beside the target, which replaces the target only when the
  // document is whole (it ends with the trailer's end-of-file mark).
  const std::string failure = "Не удалось записать файл «" + path_.toStdString() + "»";
  try {
    SafeFileWriter file(QFile::encodeName(path_).toStdString());
    const QString temporary = QFile::decodeName(file.temporaryPath().c_str());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temporary);
    SilentSpooler spooler;
    printOnePage(printer, title, draw, failure, spooler);
    QFile written(temporary);
    if (!written.open(QIODevice::ReadOnly) || written.size() < 16 ||
        !written.seek(written.size() - 16) || !written.read(16).trimmed().endsWith("%%EOF"))
      throw Error(failure);
    written.close();
    file.commit();
  } catch (const FileWriteError&) {
    throw Error(failure);
  }
}

}  // namespace ore::gui
