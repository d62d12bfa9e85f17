#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPrinterInfo>
#include <QTemporaryDir>

#include "data/results_layout.h"
#include "platform/gui/picture_export.h"
#include "platform/gui/string_grid.h"
#include "results/gui/histogram_window.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

// The histogram's right-click menu keeps it as PNG (as shown), SVG or PDF; "Печать" without a
// printer asks whether to keep it as a PDF and, answered yes, asks for the file; a bar's tooltip
// names its pocket, limit, lump count and yield.
TEST(HistogramPicturesTest, SavedAsPngSvgPdfAndAsPdfWhenThereIsNoPrinter) {
  Harness h;
  TForm5* f = h.ctx.Form5;
  f->setPoints({{1, 3, "5", 0xFF0000}, {2, 0, "10,0", 0xFF0000}});
  TextGrid& results = h.find<StringGrid>("TForm4", "StringGrid1")->grid();
  results.resize(11, 3);
  results.setCell(ResultsLayout::pocketYield(), 1, "42,5");
  f->show();
  QTemporaryDir dir;
  std::vector<QStringList> asked;
  QString next;
  h.ctx.choosePictureFile = [&](QWidget*, const QStringList& types) {
    asked.push_back(types);
    return next;
  };

  for (const char* ending : {"png", "svg", "pdf"}) {
    SCOPED_TRACE(ending);
    next = dir.filePath(QString("h.") + ending);
    pickSaveAs();
    emit f->Chart1->customContextMenuRequested(QPoint(100, 100));
    ASSERT_TRUE(QFile::exists(next));
    QFile file(next);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    if (QString(ending) == "png")
      EXPECT_EQ(QImage(next).size(), f->Chart1->size());
    else if (QString(ending) == "svg")
      EXPECT_TRUE(bytes.contains(">10,0<"));
    else
      EXPECT_TRUE(bytes.startsWith("%PDF"));
  }
  EXPECT_EQ(asked.back(), (QStringList{"PNG (*.png)", "SVG (*.svg)", "PDF (*.pdf)"}));

  f->setPrintTarget(std::make_unique<DefaultPrinterTarget>([] { return QPrinterInfo(); }));
  next = dir.filePath("printed.pdf");
  h.answer = true;
  f->Button1->click();
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_EQ(h.questions,
            std::vector<std::string>{"Нет доступного принтера. Сохранить гистограмму в PDF?"});
  EXPECT_EQ(asked.back(), QStringList{"PDF (*.pdf)"});
  EXPECT_TRUE(QFile::exists(next));

  EXPECT_EQ(f->barToolTip(0), QString("Карман 1\nВерхней предел, h: 5\nКусков: 3\nВыход, %: 42,5"));
}

}  // namespace
}  // namespace ore::gui::test
