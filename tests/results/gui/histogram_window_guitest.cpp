#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QBarSet>
#include <QCategoryAxis>
#include <QDir>
#include <QFile>
#include <QLegend>
#include <QPrinter>
#include <QStackedBarSeries>
#include <QTemporaryDir>
#include <csignal>

#include "data/errors.h"
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

// The largest pocket count with every limit text alike (limits not typed yet): the axis keeps to
// labels that fit the plot, each a few characters at most, instead of one growing label per bar.
TEST(HistogramWindowTest, TenThousandPocketsWithOneLimitTextKeepTheAxisShort) {
  Harness h;
  TForm5* f = h.ctx.Form5;
  std::vector<HistogramPoint> pts;
  for (int i = 1; i <= 10000; ++i) pts.push_back({double(i), double(i % 7), "5", 0xFF0000});
  f->setPoints(pts);
  f->setPointsPerPage(10000);
  f->show();
  EXPECT_FALSE(f->Chart1->grab().isNull());
  ASSERT_EQ(f->Chart1->series()->barSets().size(), 1);
  EXPECT_EQ(f->Chart1->series()->barSets()[0]->count(), 10000);
  const QStringList shown = f->Chart1->axisLabels();
  EXPECT_GE(shown.size(), 2);
  EXPECT_LE(shown.size(), f->Chart1->width() / 10);
  EXPECT_EQ(shown.count("5"), shown.size());
  auto* axis = qobject_cast<QCategoryAxis*>(f->Chart1->chart()->axes(Qt::Horizontal).value(0));
  ASSERT_NE(axis, nullptr);
  for (const QString& label : axis->categoriesLabels()) EXPECT_LE(label.size(), 1 + 16);
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
  // The job carries the window's name as its title.
  QByteArray title("/Title (\xFE\xFF");
  for (QChar c : QString("Гистограмма"))
    title.append(char(c.unicode() >> 8)).append(char(c.unicode()));
  EXPECT_TRUE(bytes.contains(title));
}

// A print system that refuses the queue before the job or the job when it is handed over.
class RefusingSpooler : public PrintSpooler {
 public:
  RefusingSpooler(std::string before, std::string after, QString file)
      : before_(std::move(before)), after_(std::move(after)), file_(std::move(file)) {}
  std::string refusal(const QString&) override { return before_; }
  std::string submissionError() override {
    QFile f(file_);
    askedAfterHandOver = f.open(QIODevice::ReadOnly) && f.readAll().trimmed().endsWith("%%EOF");
    return after_;
  }
  bool askedAfterHandOver = false;

 private:
  std::string before_, after_;
  QString file_;
};

TEST(HistogramWindowTest, APrintTheSystemRefusesIsReportedWithItsReason) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  struct Case {
    const char* before;
    const char* after;
    const char* message;
    bool painted;
  };
  const Case cases[] = {
      {"принтер не принимает задания", "", "F: принтер не принимает задания", false},
      {"", "Destination \"PDF\" is not accepting jobs.",
       "F: Destination \"PDF\" is not accepting jobs.", true},
      {"", "", "", true},
  };
  int n = 0;
  for (const Case& c : cases) {
    const QString path = dir.filePath(QString("job%1.pdf").arg(n++));
    RefusingSpooler spooler(c.before, c.after, path);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    bool painted = false;
    std::string message;
    try {
      printOnePage(
          printer, "Гистограмма", [&](QPainter&, const QRectF&) { painted = true; }, "F", spooler);
    } catch (const Error& e) {
      message = e.what();
    }
    EXPECT_EQ(message, c.message) << c.message;
    EXPECT_EQ(painted, c.painted) << c.message;
    // The job's result is asked for once the job is complete, not before.
    EXPECT_EQ(spooler.askedAfterHandOver, c.painted) << c.message;
  }
}

// Without a printer one question and nothing else: no message box, and answered no, no dialog.
TEST(HistogramWindowTest, PrintingWithoutAPrinterAsksOnceAndKeepsTheWindow) {
  Harness h;
  TForm5* f = h.ctx.Form5;
  int dialogs = 0;
  h.ctx.choosePictureFile = [&](QWidget*, const QStringList&) {
    ++dialogs;
    return QString();
  };
  f->setPrintTarget(std::make_unique<DefaultPrinterTarget>([] { return QPrinterInfo(); }));
  f->show();
  QTest::mouseClick(f->Button1, Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_EQ(h.questions,
            std::vector<std::string>{"Нет доступного принтера. Сохранить гистограмму в PDF?"});
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_EQ(dialogs, 0);
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

TEST(HistogramWindowTest, APdfNotWrittenWholeLeavesTheTargetAsItWas) {
  Harness h;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString kept = dir.filePath("kept.pdf"), fifo = dir.filePath("fifo.pdf");
  const QByteArray before = "the picture saved last time";
  {
    QFile f(kept);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(before);
  }
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  TForm5* f = h.ctx.Form5;
  f->setPoints(points({{3, "0,5"}, {2, "2"}}));
  f->show();
  // A file size limit cuts the document short; a FIFO would never be a picture.
  for (const QString& path : {kept, fifo}) {
    h.errors.messages.clear();
    f->setPrintTarget(std::make_unique<PdfFileTarget>(path));
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{1024, saved.rlim_max};
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (path == kept) setrlimit(RLIMIT_FSIZE, &small);
    QTest::mouseClick(f->Button1, Qt::LeftButton);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(h.errors.messages,
              std::vector<std::string>{"Не удалось записать файл «" + path.toStdString() + "»"});
  }
  QFile k(kept);
  ASSERT_TRUE(k.open(QIODevice::ReadOnly));
  EXPECT_EQ(k.readAll(), before);
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
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
