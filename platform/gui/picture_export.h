#pragma once
// Keeping the pictures: a context menu "Сохранить как…" on the histogram (PNG, SVG, PDF) and on
// the diagram (PNG, PDF), and the histogram as PDF when there is no printer.

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "graph/histogram_picture.h"

class QWidget;

namespace ore::gui {

class BarChart;
class ErrorBox;

// Asks for the file to save to, offering these types ("PNG (*.png)", ...); the empty text when
// the user cancels. Tests replace the dialog.
using PictureFileChooser = std::function<QString(QWidget* parent, const QStringList& types)>;
void setPictureFileChooser(PictureFileChooser chooser);
QString choosePictureFile(QWidget* parent, const QStringList& types);

// Saves the chart as shown: .png as on the screen, .pdf as printed, .svg drawn from bars.
// Throws ore::Error when the file cannot be written.
void saveChart(BarChart* chart, const std::vector<graph::HistogramBar>& bars, const QString& title,
               const QString& path);
// Saves a picture as .png or .pdf (one page holding it). Throws ore::Error on failure.
void saveImage(const QImage& image, const QString& path);

// The right-click menu of the histogram and of the diagram. Failures go to errors.
void addChartSaveMenu(BarChart* chart, std::function<std::vector<graph::HistogramBar>()> bars,
                      const QString& title, ErrorBox& errors);
void addImageSaveMenu(QWidget* widget, std::function<QImage()> image, ErrorBox& errors);

// After a print that found no printer: offers to keep the chart as a PDF file instead.
void offerChartAsPdf(BarChart* chart, ErrorBox& errors);

}  // namespace ore::gui
