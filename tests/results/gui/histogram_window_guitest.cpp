#include <gtest/gtest.h>

#include <QBarSet>
#include <QDir>
#include <QFile>
#include <QLegend>
#include <QStackedBarSeries>
#include <QTemporaryDir>

#include "results/gui/histogram_window.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

using analysis::HistogramPoint;

std::vector<HistogramPoint> points(const std::vector<std::pair<double, std::string>>& yl) {
  std::vector<HistogramPoint> out;
  double x = 1;
  for (const auto& [y, label] : yl) out.push_back({x++, y, label, 0xFF0000});
  return out;
}

QStringList labels(std::initializer_list<const char*> l) {
  QStringList out;
  for (const char* s : l) out << QString::fromUtf8(s);
  return out;
}

int countRgb(const QImage& img, QRgb rgb) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += (img.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
  return n;
}

TEST(HistogramWindowTest, ChartIsSetUpAsDesigned) {
  Harness h;
  BarChart* chart = h.find<BarChart>("TForm5", "Chart1");
  ASSERT_NE(chart, nullptr);
  EXPECT_EQ(chart->chart()->title(), "Гистограмма");
  EXPECT_FALSE(chart->chart()->legend()->isVisible());
  EXPECT_EQ(chart->series()->objectName(), "Series1");
}

TEST(HistogramWindowTest, PointsBecomeRedBarsLabelledWithTheLimitsAsTyped) {
  Harness h;
  TForm5* f = h.ctx.Form5;
  f->setPoints(points({{3, "0,5"}, {0, "1,0"}, {2, "2"}, {7, "3"}, {1, "4,25"}}));
  f->setPointsPerPage(5);
  BarChart* chart = f->Chart1;
  ASSERT_EQ(chart->bars().size(), 5u);
  EXPECT_EQ(chart->axisLabels(), labels({"0,5", "1,0", "2", "3", "4,25"}));
  QList<QBarSet*> sets = chart->series()->barSets();
  ASSERT_EQ(sets.size(), 1);
  EXPECT_EQ(sets[0]->color(), QColor(255, 0, 0));
  const double heights[] = {3, 0, 2, 7, 1};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(sets[0]->at(i), heights[i]) << i;
    EXPECT_EQ(chart->barColor(i), QColor(255, 0, 0)) << i;
    EXPECT_EQ(chart->bars()[i].x, i + 1);
  }
  // Automatic scale from 0, with room above the tallest bar for its mark.
  EXPECT_EQ(chart->axisMin(), 0);
  EXPECT_GT(chart->axisMax(), 7);
  EXPECT_LE(chart->axisMax(), 10);

  // Every bar, the empty one too, carries its mark over the bar.
  f->show();
  QImage img = chart->grab().toImage();
  EXPECT_GT(countRgb(img, qRgb(255, 0, 0)), 200);
  EXPECT_GT(countRgb(img, qRgb(255, 255, 225)), 5 * 100);

  // A second analysis replaces every bar.
  f->setPoints(points({{4, "10"}, {4, "20"}}));
  f->setPointsPerPage(2);
  EXPECT_EQ(chart->axisLabels(), labels({"10", "20"}));
  ASSERT_EQ(chart->series()->barSets().size(), 1);
  EXPECT_EQ(chart->series()->barSets()[0]->count(), 2);
}

TEST(HistogramWindowTest, RepeatedLimitTextsStillLabelEveryBar) {
  Harness h;
  h.ctx.Form5->setPoints(points({{1, "1"}, {2, "1"}, {3, ""}, {4, ""}}));
  h.ctx.Form5->setPointsPerPage(4);
  EXPECT_EQ(h.ctx.Form5->Chart1->axisLabels(), labels({"1", "1", "", ""}));
}

TEST(HistogramWindowTest, PointsPerPageLimitsTheBarsShown) {
  Harness h;
  BarChart* chart = h.ctx.Form5->Chart1;
  h.ctx.Form5->setPoints(points({{1, "a"}, {2, "b"}, {3, "c"}, {9, "d"}}));
  h.ctx.Form5->setPointsPerPage(2);
  EXPECT_EQ(chart->axisLabels(), labels({"a", "b"}));
  EXPECT_LE(chart->axisMax(), 5);  // scaled to the bars on the page
  h.ctx.Form5->setPointsPerPage(4);
  EXPECT_EQ(chart->axisLabels(), labels({"a", "b", "c", "d"}));
}

TEST(HistogramWindowTest, BarsStandInAscendingXOrder) {
  Harness h;
  h.ctx.Form5->setPoints({{3, 1, "c", 0xFF0000}, {1, 2, "a", 0xFF0000}, {2, 3, "b", 0xFF0000}});
  EXPECT_EQ(h.ctx.Form5->Chart1->axisLabels(), labels({"a", "b", "c"}));
  EXPECT_EQ(h.ctx.Form5->Chart1->series()->barSets()[0]->at(0), 2);
}

TEST(HistogramWindowTest, PrintGivesOnePage) {
  Harness h;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("histogram.pdf");
  TForm5* f = h.ctx.Form5;
  f->setPoints(points({{3, "0,5"}, {0, "1"}, {2, "2"}}));
  f->setPointsPerPage(3);
  f->setPrintTarget(std::make_unique<PdfFileTarget>(path));
  f->show();
  QTest::mouseClick(f->Button1, Qt::LeftButton);
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_TRUE(f->isVisible());
  QFile pdf(path);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_EQ(
      bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 1);
  EXPECT_EQ(bytes.count("/Type /Pages"), 1);
}

TEST(HistogramWindowTest, PrintingWithoutAPrinterSaysSoAndKeepsTheWindow) {
  Harness h;
  TForm5* f = h.ctx.Form5;
  f->setPrintTarget(std::make_unique<DefaultPrinterTarget>([] { return QPrinterInfo(); }));
  f->show();
  QTest::mouseClick(f->Button1, Qt::LeftButton);
  EXPECT_EQ(h.errors.messages, std::vector<std::string>{"Нет доступного принтера"});
  EXPECT_TRUE(f->isVisible());
}

TEST(HistogramWindowTest, PrintingToAnUnwritableFileIsReported) {
  Harness h;
  TForm5* f = h.ctx.Form5;
  const QString path = "/nonexistent-folder/h.pdf";
  f->setPrintTarget(std::make_unique<PdfFileTarget>(path));
  QTest::mouseClick(f->Button1, Qt::LeftButton);
  EXPECT_EQ(h.errors.messages,
            std::vector<std::string>{"Не удалось записать файл «/nonexistent-folder/h.pdf»"});
}

TEST(HistogramWindowTest, ExitHidesAndKeepsThePoints) {
  Harness h;
  TForm5* f = h.ctx.Form5;
  f->setPoints(points({{1, "1"}}));
  f->show();
  QTest::mouseClick(f->Button2, Qt::LeftButton);
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(f->Chart1->bars().size(), 1u);
}

}  // namespace
}  // namespace ore::gui::test
