#pragma once
// Keeping the pictures: PNG files in the formats Qt encodes (the BMP of the diagram is written by
// the core), and a context menu "Сохранить как…" on the histogram (PNG, SVG, PDF), on the diagram
// and on other charts (PNG, PDF), and the histogram as PDF when there is no printer.

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "graph/histogram_picture.h"

class QChartView;
class QWidget;

namespace ore::gui {

class BarChart;
class ErrorBox;

// Writes image as a PNG file under exactly this name, replacing it whole or not at all. Throws
// ore::Error when it cannot be encoded or written.
void writePng(const QImage& image, const std::string& path);

// Asks for the file to save to, offering these types ("PNG (*.png)", ...); the empty text when
// the user cancels. The program's is the file dialog; tests put theirs in the window context.
using PictureFileChooser = std::function<QString(QWidget* parent, const QStringList& types)>;
// Asks chooser, or the file dialog when chooser is empty.
QString choosePictureFile(const PictureFileChooser& chooser, QWidget* parent,
                          const QStringList& types);

// Saves the chart as shown: .png as on the screen, .pdf as printed, .svg drawn from bars.
// Throws ore::Error when the file cannot be written.
void saveChart(BarChart* chart, const std::vector<graph::HistogramBar>& bars, const QString& title,
               const QString& path);
// Saves any chart view as .png (as on the screen) or .pdf (as printed). Throws ore::Error on
// failure.
void saveChartView(QChartView* view, const QString& title, const QString& path);
// Saves a picture as .png or .pdf (one page holding it). Throws ore::Error on failure.
void saveImage(const QImage& image, const QString& path);

// The right-click menus: the histogram's, a chart view's and the diagram's. Failures go to errors;
// the file is asked of choose. Both are kept by reference and must outlive the widget.
void addChartSaveMenu(BarChart* chart, std::function<std::vector<graph::HistogramBar>()> bars,
                      const QString& title, ErrorBox& errors, const PictureFileChooser& choose);
void addChartViewSaveMenu(QChartView* view, const QString& title, ErrorBox& errors,
                          const PictureFileChooser& choose);
void addImageSaveMenu(QWidget* widget, std::function<QImage()> image, ErrorBox& errors,
                      const PictureFileChooser& choose);

// Asks for a PDF file and keeps the chart in it, as printed (when there is no printer to print
// on). Failures go to errors; cancelling the file dialog does nothing.
void offerChartAsPdf(BarChart* chart, ErrorBox& errors, const PictureFileChooser& choose);

}  // namespace ore::gui
