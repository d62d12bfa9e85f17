#include "platform/gui/picture_export.h"

#include <QBuffer>
#include <QByteArray>
#include <QChartView>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <string_view>

#include "data/errors.h"
#include "graph/picture_files.h"
#include "platform/files/safe_file_writer.h"
#include "platform/gui/bar_chart.h"
#include "platform/gui/error_box.h"
#include "platform/gui/printing.h"

namespace ore::gui {

namespace {

const QString kPng = QStringLiteral("PNG (*.png)");
const QString kSvg = QStringLiteral("SVG (*.svg)");
const QString kPdf = QStringLiteral("PDF (*.pdf)");

std::string localPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

bool isPdf(const QString& path) {
  return QFileInfo(path).suffix().toLower() == "pdf";
}

void showMenuAt(QWidget* widget, const QPoint& pos, const std::function<void()>& save) {
  QMenu menu(widget);
  QAction* action = menu.addAction(QStringLiteral("Сохранить как…"));
  action->setObjectName(QStringLiteral("SaveAsAction"));
  if (menu.exec(widget->mapToGlobal(pos)) == action) save();
}

// The view's visible part, scaled to fit the page and centred on it.
void renderView(QChartView* view, QPainter& painter, const QRectF& page) {
  const QRect source = view->viewport()->rect();
  const QSizeF size = QSizeF(source.size()).scaled(page.size(), Qt::KeepAspectRatio);
  const QRectF centred(page.center().x() - size.width() / 2, page.center().y() - size.height() / 2,
                       size.width(), size.height());
  view->render(&painter, centred, source, Qt::KeepAspectRatio);
}

}  // namespace

void writePng(const QImage& image, const std::string& path) {
  // Encoded first, then replaced whole as the bitmap is.
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image))
    throw Error("Ошибка записи в файл " + path + ": " + writer.errorString().toStdString());
  writeFileSafely(path, std::string_view(png.constData(), static_cast<size_t>(png.size())));
}

QString choosePictureFile(const PictureFileChooser& chooser, QWidget* parent,
                          const QStringList& types) {
  if (chooser) return chooser(parent, types);
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
        title, [chart](QPainter& painter, const QRectF& page) { chart->renderTo(painter, page); });
  } else if (ending == "svg") {
    graph::saveHistogram(localPath(path), bars, title.toStdString());
  } else {
    writePng(chart->grab().toImage(), localPath(path));
  }
}

void saveChartView(QChartView* view, const QString& title, const QString& path) {
  if (isPdf(path)) {
    PdfFileTarget(path).printPage(
        title, [view](QPainter& painter, const QRectF& page) { renderView(view, painter, page); });
    return;
  }
  writePng(view->grab().toImage(), localPath(path));
}

void saveImage(const QImage& image, const QString& path) {
  if (isPdf(path)) {
    PdfFileTarget(path).printPage(QString(), [&image](QPainter& painter, const QRectF& page) {
      const QSizeF size = QSizeF(image.size()).scaled(page.size(), Qt::KeepAspectRatio);
      painter.drawImage(QRectF(page.topLeft(), size), image);
    });
    return;
  }
  writePng(image, localPath(path));
}

void addChartSaveMenu(BarChart* chart, std::function<std::vector<graph::HistogramBar>()> bars,
                      const QString& title, ErrorBox& errors, const PictureFileChooser& choose) {
  chart->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(chart, &QWidget::customContextMenuRequested, chart,
                   [chart, bars, title, &errors, &choose](const QPoint& pos) {
                     showMenuAt(chart, pos, [&] {
                       guarded(errors, [&] {
                         const QString file = choosePictureFile(choose, chart, {kPng, kSvg, kPdf});
                         if (!file.isEmpty()) saveChart(chart, bars(), title, file);
                       });
                     });
                   });
}

void addChartViewSaveMenu(QChartView* view, const QString& title, ErrorBox& errors,
                          const PictureFileChooser& choose) {
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(view, &QWidget::customContextMenuRequested, view,
                   [view, title, &errors, &choose](const QPoint& pos) {
                     showMenuAt(view, pos, [&] {
                       guarded(errors, [&] {
                         const QString file = choosePictureFile(choose, view, {kPng, kPdf});
                         if (!file.isEmpty()) saveChartView(view, title, file);
                       });
                     });
                   });
}

void addImageSaveMenu(QWidget* widget, std::function<QImage()> image, ErrorBox& errors,
                      const PictureFileChooser& choose) {
  widget->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(widget, &QWidget::customContextMenuRequested, widget,
                   [widget, image, &errors, &choose](const QPoint& pos) {
                     showMenuAt(widget, pos, [&] {
                       guarded(errors, [&] {
                         const QString file = choosePictureFile(choose, widget, {kPng, kPdf});
                         if (!file.isEmpty()) saveImage(image(), file);
                       });
                     });
                   });
}

void offerChartAsPdf(BarChart* chart, ErrorBox& errors, const PictureFileChooser& choose) {
  guarded(errors, [&] {
    const QString file = choosePictureFile(choose, chart, {kPdf});
    if (!file.isEmpty()) saveChart(chart, {}, chart->chart()->title(), file);
  });
}

}  // namespace ore::gui
