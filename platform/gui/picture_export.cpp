#include "platform/gui/picture_export.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "data/errors.h"
#include "graph/picture_files.h"
#include "platform/gui/bar_chart.h"
#include "platform/gui/error_box.h"
#include "platform/gui/printing.h"

namespace ore::gui {

namespace {

PictureFileChooser& chooserHook() {
  static PictureFileChooser hook;
  return hook;
}

const QString kPng = QStringLiteral("PNG (*.png)");
const QString kSvg = QStringLiteral("SVG (*.svg)");
const QString kPdf = QStringLiteral("PDF (*.pdf)");

std::string localPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

void showMenuAt(QWidget* widget, const QPoint& pos, const std::function<void()>& save) {
  QMenu menu(widget);
  QAction* action = menu.addAction(QStringLiteral("Сохранить как…"));
  action->setObjectName(QStringLiteral("SaveAsAction"));
  if (menu.exec(widget->mapToGlobal(pos)) == action) save();
}

}  // namespace

void setPictureFileChooser(PictureFileChooser chooser) {
  chooserHook() = std::move(chooser);
}

QString choosePictureFile(QWidget* parent, const QStringList& types) {
  if (chooserHook()) return chooserHook()(parent, types);
  QFileDialog dialog(parent, QStringLiteral("Сохранить как"));
  dialog.setObjectName(QStringLiteral("PictureSaveDialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(types);
  // The type chosen in the list gives a name typed without an ending its ending.
  auto suffixOf = [](const QString& type) { return type.section("*.", 1).chopped(1); };
  dialog.setDefaultSuffix(suffixOf(types.first()));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog, suffixOf](const QString& t) { dialog.setDefaultSuffix(suffixOf(t)); });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

void saveChart(BarChart* chart, const std::vector<graph::HistogramBar>& bars, const QString& title,
               const QString& path) {
  const QString ending = QFileInfo(path).suffix().toLower();
  if (ending == "pdf") {
    PdfFileTarget(path).printPage(
        [chart](QPainter& painter, const QRectF& page) { chart->renderTo(painter, page); });
  } else if (ending == "svg") {
    graph::saveHistogram(localPath(path), bars, title.toStdString());
  } else {
    if (!chart->grab().save(path, "PNG"))
      throw Error("Не удалось записать файл «" + path.toStdString() + "»");
  }
}

void saveImage(const QImage& image, const QString& path) {
  if (QFileInfo(path).suffix().toLower() == "pdf") {
    PdfFileTarget(path).printPage([&image](QPainter& painter, const QRectF& page) {
      const QSizeF size = QSizeF(image.size()).scaled(page.size(), Qt::KeepAspectRatio);
      painter.drawImage(QRectF(page.topLeft(), size), image);
    });
    return;
  }
  if (!image.save(path, "PNG"))
    throw Error("Не удалось записать файл «" + path.toStdString() + "»");
}

void addChartSaveMenu(BarChart* chart, std::function<std::vector<graph::HistogramBar>()> bars,
                      const QString& title, ErrorBox& errors) {
  chart->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(chart, &QWidget::customContextMenuRequested, chart,
                   [chart, bars, title, &errors](const QPoint& pos) {
                     showMenuAt(chart, pos, [&] {
                       guarded(errors, [&] {
                         const QString file = choosePictureFile(chart, {kPng, kSvg, kPdf});
                         if (!file.isEmpty()) saveChart(chart, bars(), title, file);
                       });
                     });
                   });
}

void addImageSaveMenu(QWidget* widget, std::function<QImage()> image, ErrorBox& errors) {
  widget->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(widget, &QWidget::customContextMenuRequested, widget,
                   [widget, image, &errors](const QPoint& pos) {
                     showMenuAt(widget, pos, [&] {
                       guarded(errors, [&] {
                         const QString file = choosePictureFile(widget, {kPng, kPdf});
                         if (!file.isEmpty()) saveImage(image(), file);
                       });
                     });
                   });
}

void offerChartAsPdf(BarChart* chart, ErrorBox& errors) {
  guarded(errors, [&] {
    const QString file = choosePictureFile(chart, {kPdf});
    if (!file.isEmpty()) saveChart(chart, {}, QString(), file);
  });
}

}  // namespace ore::gui
