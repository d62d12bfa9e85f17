// The whole road as a user walks it: import, set-up, analysis, report, diagram, and the failures
// a user can reach on the way. Controls are clicked by objectName; every message is counted.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionViewItem>
#include <QTableView>
#include <QTemporaryDir>
#include <sstream>

#include "analysis/gui/pocket_window.h"
#include "app/main_window.h"
#include "batch/batch_run.h"
#include "graph/bmp_file.h"
#include "graph/gui/graph_window.h"
#include "import/gui/import_dialog.h"
#include "platform/gui/qpainter_canvas.h"
#include "platform/gui/report_window.h"
#include "platform/spreadsheet/excel_application.h"
#include "results/gui/histogram_window.h"
#include "results/gui/results_window.h"
#include "setup/gui/calc_params_dialog.h"
#include "setup/gui/distribution_dialog.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

const std::string kBasic = OREFRAC_TEST_DATA "/workbooks/basic-120.xlsxwriter.xlsx";
const char* const kLimits[] = {"3", "6", "9", "12", "15"};

std::vector<std::string> rowOf(const TextGrid& g, int r) {
  std::vector<std::string> out;
  for (int c = 0; c < g.colCount(); ++c) out.push_back(g.cell(c, r));
  return out;
}

std::string tsv(const TextGrid& g) {
  std::ostringstream os;
  batch::writeGridTsv(g, "-", os);
  return os.str();
}

struct Road : Harness {
  Road() {
    ctx.Form1->show();  // as the program starts
    ctx.Form1->setOpenFileChooser([this] {
      ++chosen;
      return file;
    });
  }

  QWidget* form(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == name) return w;
    return nullptr;
  }
  void click(const char* f, const char* button) {
    auto* b = find<QPushButton>(f, button);
    ASSERT_NE(b, nullptr) << f << "/" << button;
    ASSERT_TRUE(b->isVisible()) << f << "/" << button;
    QTest::mouseClick(b, Qt::LeftButton);
  }
  // Types a cell text as the user does: through the grid's model.
  static void type(StringGrid* grid, int col, int row, const char* text) {
    auto& m = grid->model();
    ASSERT_TRUE(m.setData(m.index(row, col), QString::fromUtf8(text), Qt::EditRole));
  }

  // Menu "Открыть исходные данные", three contents from C, E and F, "Ok>>>" on file.
  void importFile(const std::string& path) {
    prepareImport(path);
    click("TForm6", "Button1");
  }
  void prepareImport(const std::string& path) {
    file = path;
    ctx.Form1->N2->trigger();
    ASSERT_TRUE(form("TForm6")->isVisible());
    find<QLineEdit>("TForm6", "Edit6")->setText("3");
    ctx.Form6->Timer1Timer();
    auto* columns = find<StringGrid>("TForm6", "StringGrid1");
    ASSERT_EQ(columns->rowCount(), 3);
    type(columns, 1, 1, "E");
    type(columns, 1, 2, "F");
    ctx.Form6->Timer1Timer();
  }

  // "Перевести данные" > "Принять>>>" > "ОK >>>" with the defaults > limits > "Далее".
  void analyse() {
    click("TForm1", "Button3");
    click("TForm7", "Button1");
    click("TForm2", "Button1");
    auto* table = find<StringGrid>("TForm3", "StringGrid1");
    for (int r = 1; r <= 5; ++r) type(table, 1, r, kLimits[r - 1]);
    click("TForm3", "Button1");
    ctx.Form4->Timer1Timer();  // the header row, as the next tick writes it
  }

  // The visible report windows, newest last.
  std::vector<ReportWindow*> reportWindows() {
    std::vector<ReportWindow*> out;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* r = qobject_cast<ReportWindow*>(w); r && r->isVisible()) out.push_back(r);
    return out;
  }

  // The same work done by orefrac-batch.
  batch::Options batchOptions() {
    batch::Options o;
    o.workbook = kBasic;
    o.contents = "3";
    o.extra = {"E", "F"};
    o.limits = "3;6;9;12;15";
    o.decimal = ',';
    return o;
  }

  std::string file = kBasic;
  int chosen = 0;
};

const Sheet& reportSheet(ReportWindow* w) {
  return w->workbook()->sheets.at(0);
}

TEST(RoadTest, FromTheMenuToTheSavedDiagram) {
  Road h;
  QTemporaryDir dir;

  // --- Import.
  h.importFile(kBasic);
  ASSERT_TRUE(h.errors.messages.empty()) << h.errors.messages[0];
  EXPECT_EQ(h.chosen, 1);
  EXPECT_FALSE(h.form("TForm6")->isVisible());
  TForm1* main = h.ctx.Form1;
  EXPECT_TRUE(main->GroupBox1->isVisible());
  EXPECT_TRUE(main->Button3->isVisible());
  EXPECT_EQ(main->countText(), "120  количество точек");
  const TextGrid& source = main->StringGrid1->grid();
  ASSERT_EQ(source.rowCount(), 121);
  ASSERT_EQ(source.colCount(), 5);
  EXPECT_EQ(rowOf(source, 0), (std::vector<std::string>{"№", "Масса", "%", "", ""}));
  EXPECT_EQ(rowOf(source, 1),
            (std::vector<std::string>{"1", "429,2", "8,764", "3,3917", "0,6064"}));
  EXPECT_EQ(rowOf(source, 120),
            (std::vector<std::string>{"120", "396,62", "2,269", "5,9674", "0,8386"}));

  // --- Set-up and analysis.
  h.analyse();
  ASSERT_TRUE(h.errors.messages.empty()) << h.errors.messages[0];
  EXPECT_TRUE(h.form("TForm3")->isVisible());
  EXPECT_TRUE(h.form("TForm4")->isVisible());
  EXPECT_TRUE(h.form("TForm5")->isVisible());
  EXPECT_EQ(h.ws.PrecisionText, "0,01");
  EXPECT_EQ(h.ws.PocketCount, 5);
  auto* label = h.find<QLabel>("TForm4", "Label1");
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->text(), "Число кусков  n=120       M=0,47");
  EXPECT_DOUBLE_EQ(h.ws.SampleIndex, 0.47);
  const TextGrid& results = h.ctx.Form4->resultsGrid();
  ASSERT_EQ(results.colCount(), 23);
  ASSERT_EQ(results.rowCount(), 6);
  EXPECT_EQ(rowOf(results, 1),
            (std::vector<std::string>{"1",    "3",     "19,05", "1,46",  "3,52",  "1,7",
                                      "3,68", "19,45", "20,62", "19,05", "1,46",  "3,52",
                                      "1,7",  "3,68",  "19,45", "20,62", "80,95", "8,99",
                                      "3,43", "1,54",  "96,32", "80,55", "79,38"}));
  EXPECT_EQ(rowOf(results, 5),
            (std::vector<std::string>{"5",     "15",    "24,88", "13,05", "3,15", "1,73",
                                      "42,98", "22,76", "27,42", "99,22", "7,61", "3,44",
                                      "1,56",  "100",   "99,03", "98,8",  "0",    "0",
                                      "0",     "0",     "0",     "0",     "0"}));
  // The histogram counts the lumps per pocket under the limits as typed.
  const auto& bars = h.ctx.Form5->Chart1->bars();
  ASSERT_EQ(bars.size(), 5u);
  double lumps = 0;
  for (size_t i = 0; i < bars.size(); ++i) {
    EXPECT_EQ(bars[i].label.toStdString(), kLimits[i]);
    EXPECT_EQ(bars[i].color, QColor(0xFF, 0, 0));
    lumps += bars[i].y;
  }
  EXPECT_EQ(lumps, 119);  // the lump without content lies above 0 in no pocket

  // --- The windows hold what orefrac-batch writes for the same inputs.
  {
    batch::BatchState state(',');
    batch::Options o = h.batchOptions();
    o.lumpsFile = "-";  // the source grid is built for --lumps
    batch::importStage(o, state);
    batch::analysisStage(o, state);
    EXPECT_EQ(tsv(state.sourceGrid), tsv(source));
    EXPECT_EQ(tsv(state.results), tsv(results));
    EXPECT_EQ(state.label, label->text().toStdString());
  }

  // --- Report, separate workbook.
  h.click("TForm4", "Button4");
  ASSERT_TRUE(h.errors.messages.empty()) << h.errors.messages[0];
  std::vector<ReportWindow*> reports = h.reportWindows();
  ASSERT_EQ(reports.size(), 1u);
  ReportWindow* report = reports[0];
  EXPECT_EQ(report->windowTitle(), "Книга1[*] — отчет orefrac");
  ASSERT_EQ(report->workbook()->sheets.size(), 1u);
  const Sheet& sheet = reportSheet(report);
  EXPECT_EQ(sheet.name(), "Отчет");
  EXPECT_EQ(sheet.cell(1, 1).text,
            "Фракционный состав выборки n= 120  и технологические "
            "показатели М=0,47" +
                std::string(14, ' '));
  const char* headers[] = {"№ фр",   "Верх.пр.", "Вых.,%", "Сод.,%", "Сод.,%", "Сод.,%",
                           "Извл.%", "Извл.%",   "Извл.%", "Вых.,%", "Сод.,%", "Сод.,%",
                           "Сод.,%", "Извл.%",   "Извл.%", "Извл.%", "Вых.,%", "Сод.,%",
                           "Сод.,%", "Сод.,%",   "Извл.%", "Извл.%", "Извл.%"};
  for (int c = 1; c <= 23; ++c) EXPECT_EQ(sheet.cell(4, c).text, headers[c - 1]) << c;
  EXPECT_EQ(sheet.cell(3, 10).text, "Хвосты" + std::string(37, ' '));
  EXPECT_EQ(sheet.cell(3, 17).text, "Концентрат" + std::string(25, ' '));
  for (int r = 1; r <= 5; ++r) {
    const Cell& n = sheet.cell(4 + r, 1);
    EXPECT_EQ(n.formula, "=" + std::to_string(r));
    EXPECT_EQ(n.number, r);
    EXPECT_EQ(sheet.cell(4 + r, 2).number, std::stod(kLimits[r - 1]));
  }
  EXPECT_EQ(sheet.cell(5, 3).number, 19.05);
  EXPECT_EQ(sheet.cell(9, 15).number, 99.03);
  EXPECT_EQ(sheet.lastRow(), 9);
  EXPECT_EQ(h.ctx.Form4->ReportRowOffset, 10);

  // --- Report, same workbook: appended below one empty row.
  QTest::mouseClick(h.find<QRadioButton>("TForm4", "RadioButton5"), Qt::LeftButton);
  EXPECT_EQ(h.ws.ReportMode, ReportMode::SameWorkbook);
  h.click("TForm4", "Button4");
  ASSERT_TRUE(h.errors.messages.empty()) << h.errors.messages[0];
  EXPECT_EQ(h.reportWindows().size(), 1u);
  EXPECT_EQ(sheet.cell(11, 1).text, sheet.cell(1, 1).text);
  EXPECT_EQ(sheet.cell(12, 1).type, Cell::Type::Empty);
  EXPECT_EQ(sheet.cell(14, 1).text, "№ фр");
  EXPECT_EQ(sheet.cell(15, 1).formula, "=1");
  EXPECT_EQ(sheet.cell(19, 23).number, 0);
  EXPECT_EQ(h.ctx.Form4->ReportRowOffset, 20);
  // The title runs on over the empty cells to its right as in a spreadsheet: no grid line
  // crosses it, while the numbers below keep theirs.
  {
    report->flush();
    QTableView* view = report->grid();
    const QImage shot = view->viewport()->grab().toImage();
    QStyleOptionViewItem option;
    option.initFrom(view);
    const QRgb line =
        static_cast<QRgb>(view->style()->styleHint(QStyle::SH_Table_GridLineColor, &option, view));
    // The line between columns A and B, wherever the view puts it at that edge.
    auto linePixels = [&](int row) {
      const QRect a = view->visualRect(view->model()->index(row - 1, 0));
      int n = 0;
      for (int y = a.top() + 1; y < a.bottom(); ++y) {
        const bool at = shot.pixel(a.right(), y) == (line | 0xFF000000u) ||
                        shot.pixel(a.right() + 1, y) == (line | 0xFF000000u);
        n += at;
      }
      return std::pair(n, a.height() - 2);
    };
    EXPECT_EQ(linePixels(11).first, 0);
    EXPECT_EQ(linePixels(15).first, linePixels(15).second);
  }

  // --- The user closes the report without saving; the next append says so, once.
  report->setClosePrompt([](const QString&) { return ReportWindow::CloseAnswer::Discard; });
  EXPECT_TRUE(report->close());
  QCoreApplication::processEvents();
  EXPECT_TRUE(h.reportWindows().empty());
  h.click("TForm4", "Button4");
  ASSERT_EQ(h.errors.messages.size(), 1u);
  EXPECT_EQ(h.errors.messages[0], ExcelApplication::kReportClosedMessage);
  EXPECT_EQ(h.ctx.Form4->ReportRowOffset, 20);
  EXPECT_TRUE(h.form("TForm4")->isVisible());
  // The program goes on: a separate workbook gets a new report window, its book numbered on
  // from the first as a spreadsheet numbers its new books.
  QTest::mouseClick(h.find<QRadioButton>("TForm4", "RadioButton6"), Qt::LeftButton);
  h.click("TForm4", "Button4");
  EXPECT_EQ(h.errors.messages.size(), 1u);
  ASSERT_EQ(h.reportWindows().size(), 1u);
  EXPECT_EQ(h.reportWindows()[0]->windowTitle(), "Книга2[*] — отчет orefrac");
  EXPECT_EQ(reportSheet(h.reportWindows()[0]).cell(5, 3).number, 19.05);
  EXPECT_EQ(h.ctx.Form4->ReportRowOffset, 10);
  h.errors.messages.clear();

  // --- Diagram.
  h.click("TForm4", "Button1");
  TForm8* graph = h.ctx.Form8;
  ASSERT_TRUE(graph->isVisible());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(graph));
  graph->Image1->repaint();
  ASSERT_TRUE(h.errors.messages.empty()) << h.errors.messages[0];
  const QImage& picture = graph->picture();
  ASSERT_EQ(picture.size(), QSize(665, 585));
  int inked = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) inked += picture.pixel(x, y) != qRgb(255, 255, 255);
  EXPECT_GT(inked, 5000);

  const std::string saved = dir.filePath("road").toStdString();
  graph->setSaveDialog([&] { return TForm8::SaveTarget{saved, false}; });
  h.click("TForm8", "Button1");
  ASSERT_TRUE(h.errors.messages.empty()) << h.errors.messages[0];
  const graph::Picture bmp = graph::readBmp(saved);
  EXPECT_EQ(bmp.width(), 665);
  EXPECT_EQ(bmp.height(), 585);
  EXPECT_TRUE(bmp == toPicture(picture));

  // orefrac-batch draws the same pixels from the same work.
  {
    batch::Options o = h.batchOptions();
    o.graphFile = dir.filePath("batch.bmp").toStdString();
    std::ostringstream out;
    batch::run(o, ',', out);
    EXPECT_EQ(out.str(), label->text().toStdString() + "\n");
    EXPECT_TRUE(graph::readBmp(*o.graphFile) == bmp);
  }

  // Saving where nothing may be written (as root, /proc): one message naming the file and the
  // reason, the window and its picture stay.
  QTemporaryDir locked;
  QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::ExeOwner);
  const std::string folder = geteuid() == 0 ? "/proc" : locked.path().toStdString();
  const std::string refused = folder + "/road.bmp";
  graph->setSaveDialog([&] { return TForm8::SaveTarget{refused, false}; });
  h.click("TForm8", "Button1");
  ASSERT_EQ(h.errors.messages.size(), 1u);
  const std::string head = "Не удается создать файл " + refused + ": ";
  EXPECT_EQ(h.errors.messages[0].rfind(head, 0), 0u) << h.errors.messages[0];
  EXPECT_GT(h.errors.messages[0].size(), head.size());  // the system's reason follows
  EXPECT_FALSE(QFile::exists(QString::fromStdString(refused)));
  EXPECT_TRUE(graph->isVisible());
  EXPECT_TRUE(toPicture(graph->picture()) == bmp);
  QFile::setPermissions(locked.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(RoadTest, ACorruptWorkbookLeavesTheDataSetAndTheDialogAsTheyWere) {
  Road h;
  h.importFile(kBasic);
  ASSERT_TRUE(h.errors.messages.empty());
  const std::string before = tsv(h.ctx.Form1->StringGrid1->grid());
  const std::vector<double> mass = h.ws.Mass;
  for (const char* name : {"empty.xlsx", "malformed-sheet.xlsx", "text-renamed.xlsx",
                           "truncated.xlsx", "zip-random.xlsx"}) {
    h.errors.messages.clear();
    h.importFile(std::string(OREFRAC_TEST_DATA "/workbooks/corrupt/") + name);
    ASSERT_EQ(h.errors.messages.size(), 1u) << name;
    EXPECT_NE(h.errors.messages[0].find(name), std::string::npos) << h.errors.messages[0];
    EXPECT_TRUE(h.form("TForm6")->isVisible()) << name;
    EXPECT_EQ(h.ws.LumpCount, 120) << name;
    EXPECT_EQ(h.ws.Mass, mass) << name;
    EXPECT_EQ(tsv(h.ctx.Form1->StringGrid1->grid()), before) << name;
    EXPECT_EQ(h.ctx.Form1->countText(), "120  количество точек");
  }
  // The program goes on: the good file imports again from the dialog left open.
  h.errors.messages.clear();
  h.file = kBasic;
  h.click("TForm6", "Button1");
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_FALSE(h.form("TForm6")->isVisible());
}

// Nothing opened yet: "Далее" and the curves say where the data come from and show no window
// of results; after an import the same presses work.
TEST(RoadTest, WithoutDataTheAnalysisAndTheCurvesAreRefusedBeforeAnyWindowShows) {
  Road h;
  const std::string noData =
      "Нет исходных данных: откройте их через «Файл» > «Открыть исходные данные»";
  const std::string before = tsv(h.ctx.Form4->resultsGrid());
  h.ctx.Form1->N7->trigger();
  h.click("TForm7", "Button1");
  h.click("TForm2", "Button1");
  auto* table = h.find<StringGrid>("TForm3", "StringGrid1");
  for (int r = 1; r <= 5; ++r) Road::type(table, 1, r, kLimits[r - 1]);
  h.click("TForm3", "Button1");
  h.ctx.Form1->NSortability->trigger();
  EXPECT_EQ(h.errors.messages, (std::vector<std::string>{noData, noData}));
  for (const char* f : {"TForm4", "TForm5", "SortabilityWindow"})
    EXPECT_FALSE(h.form(f)->isVisible()) << f;
  EXPECT_EQ(tsv(h.ctx.Form4->resultsGrid()), before);
  EXPECT_TRUE(h.form("TForm3")->isVisible());

  h.errors.messages.clear();
  h.importFile(kBasic);
  h.analyse();
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_TRUE(h.form("TForm4")->isVisible());
}

TEST(RoadTest, ALimitThatIsNoNumberStopsTheRunWithThePocketsBeforeIt) {
  Road h;
  h.importFile(kBasic);
  h.analyse();
  ASSERT_TRUE(h.errors.messages.empty());
  auto* table = h.find<StringGrid>("TForm3", "StringGrid1");
  Road::type(table, 1, 4, "двенадцать");
  h.click("TForm3", "Button1");
  ASSERT_EQ(h.errors.messages.size(), 1u);
  EXPECT_EQ(h.errors.messages[0], "'двенадцать' is not a valid floating point value");
  // The run had laid the grid out afresh and copied the limits: the rest waits for a good run.
  const TextGrid& results = h.ctx.Form4->resultsGrid();
  ASSERT_EQ(results.rowCount(), 6);
  EXPECT_EQ(results.cell(1, 4), "двенадцать");
  EXPECT_EQ(results.cell(0, 5), "5");
  EXPECT_EQ(results.cell(2, 1), "0");
  EXPECT_TRUE(h.form("TForm3")->isVisible());
  EXPECT_TRUE(h.form("TForm4")->isVisible());
  EXPECT_TRUE(h.form("TForm5")->isVisible());

  // Corrected, the same press gives the whole result again.
  h.errors.messages.clear();
  Road::type(table, 1, 4, "12");
  h.click("TForm3", "Button1");
  EXPECT_TRUE(h.errors.messages.empty());
  EXPECT_EQ(results.cell(2, 1), "19,05");
  EXPECT_EQ(h.find<QLabel>("TForm4", "Label1")->text(), "Число кусков  n=120       M=0,47");
}

TEST(RoadTest, APrecisionTheTableDoesNotKnowIsRefusedAndTheResultsStay) {
  Road h;
  h.importFile(kBasic);
  h.analyse();
  const std::string before = tsv(h.ctx.Form4->resultsGrid());
  h.click("TForm3", "Button2");
  ASSERT_TRUE(h.form("TForm2")->isVisible());
  h.find<QLineEdit>("TForm2", "Edit1")->setText("0.01");
  h.click("TForm2", "Button1");
  ASSERT_EQ(h.errors.messages.size(), 1u);
  EXPECT_EQ(h.errors.messages[0].rfind("Точность составляемой таблицы «0.01» не поддерживается", 0),
            0u)
      << h.errors.messages[0];
  EXPECT_TRUE(h.form("TForm2")->isVisible());
  EXPECT_FALSE(h.form("TForm3")->isVisible());
  EXPECT_EQ(h.ws.PrecisionText, "0,01");
  EXPECT_EQ(tsv(h.ctx.Form4->resultsGrid()), before);
  // Corrected, the road goes on with the limits typed before.
  h.find<QLineEdit>("TForm2", "Edit1")->setText("0,1");
  h.click("TForm2", "Button1");
  h.click("TForm3", "Button1");
  EXPECT_EQ(h.errors.messages.size(), 1u);
  EXPECT_EQ(h.ctx.Form4->resultsGrid().cell(2, 1), "19");  // 19,0488
}

TEST(RoadTest, AReportBeforeAnySeparateWorkbookFailsOnceAndWritesNothing) {
  Road h;
  h.importFile(kBasic);
  h.analyse();
  QTest::mouseClick(h.find<QRadioButton>("TForm4", "RadioButton5"), Qt::LeftButton);
  h.click("TForm4", "Button4");
  EXPECT_EQ(h.errors.messages, std::vector<std::string>{"Invalid variant operation"});
  EXPECT_TRUE(h.reportWindows().empty());
  EXPECT_EQ(h.ctx.Form4->ReportRowOffset, 0);
}

}  // namespace
}  // namespace ore::gui::test

namespace ore::gui::test {
namespace {

TEST(RoadTest, AnIndexTheRunCannotDefineReadsAlikeInTheLabelAndTheReport) {
  Road h;
  h.importFile(kBasic);
  h.analyse();
  ASSERT_TRUE(h.ws.SampleIndexDefined);
  // Limits below every content: no lump lies in a pocket, the tails content G is 0.
  auto* table = h.find<StringGrid>("TForm3", "StringGrid1");
  for (int r = 1; r <= 5; ++r) Road::type(table, 1, r, ("0,00" + std::to_string(r)).c_str());
  h.click("TForm3", "Button1");
  ASSERT_TRUE(h.errors.messages.empty()) << h.errors.messages[0];
  EXPECT_EQ(h.find<QLabel>("TForm4", "Label1")->text(),
            "Число кусков  n=120       M= не определен");
  // Its own line under the label says why; limits typed falling say so too.
  auto* notes = h.find<QLabel>("TForm4", "LabelNotes");
  EXPECT_TRUE(notes->isVisible());
  EXPECT_EQ(notes->text(), "Вне карманов: 120 из 120 кусков, 100 % массы");
  EXPECT_FALSE(h.ws.SampleIndexDefined);
  h.click("TForm4", "Button4");
  ASSERT_TRUE(h.errors.messages.empty()) << h.errors.messages[0];
  ASSERT_EQ(h.reportWindows().size(), 1u);
  EXPECT_EQ(reportSheet(h.reportWindows()[0]).cell(1, 1).text,
            "Фракционный состав выборки n= 120  и технологические показатели М= не определен" +
                std::string(14, ' '));
  // Later runs note what is so for them: one lump (of content 0) lies in no pocket, and a second
  // limit typed below the first makes pockets overlap.
  for (int r = 1; r <= 5; ++r) Road::type(table, 1, r, kLimits[r - 1]);
  Road::type(table, 1, 2, "2");
  h.click("TForm3", "Button1");
  EXPECT_EQ(notes->text().toStdString(),
            "Вне карманов: 1 из 120 кусков, 1 % массы\n"
            "Границы карманов не возрастают: кусок может попасть в несколько карманов");
  Road::type(table, 1, 2, kLimits[1]);
  h.click("TForm3", "Button1");
  EXPECT_EQ(notes->text().toStdString(), "Вне карманов: 1 из 120 кусков, 1 % массы");
  EXPECT_TRUE(h.ws.SampleIndexDefined);
  QTest::mouseClick(h.find<QRadioButton>("TForm4", "RadioButton5"), Qt::LeftButton);
  h.click("TForm4", "Button4");
  EXPECT_EQ(reportSheet(h.reportWindows()[0]).cell(11, 1).text,
            "Фракционный состав выборки n= 120  и технологические показатели М=0,47" +
                std::string(14, ' '));
}

}  // namespace
}  // namespace ore::gui::test

namespace ore::gui::test {
namespace {

TEST(RoadTest, TheWordsTheImportDrawsOnTheDialogStayUnderItsControls) {
  Road h;
  h.prepareImport(OREFRAC_TEST_DATA "/workbooks/corrupt/truncated.xlsx");
  QWidget* dialog = h.form("TForm6");
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  h.ctx.Form6->Button1->setFocus();  // where the click leaves it
  const QImage before = dialog->grab().toImage();
  h.click("TForm6", "Button1");
  ASSERT_EQ(h.errors.messages.size(), 1u);
  ASSERT_EQ(h.ctx.Form6->caption(), "  количество точек");
  // The text lies at (30, 45), inside the group of column fields: the dialog looks as before.
  EXPECT_EQ(dialog->grab().toImage(), before);
}

}  // namespace
}  // namespace ore::gui::test
