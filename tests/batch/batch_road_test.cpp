// orefrac-batch end to end: the basic workbook through import, analysis, report and diagram, and
// the command lines it refuses.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/batch_options.h"
#include "batch/batch_run.h"
#include "data/errors.h"
#include "graph/bmp_file.h"
#include "platform/workbook/workbook_reader.h"

namespace ore::test {
namespace {

namespace fs = std::filesystem;

const std::string kBasic = OREFRAC_TEST_DATA "/workbooks/basic-120.xlsxwriter.xlsx";

struct TempFolder {
  explicit TempFolder(const std::string& kind = "road") {
    path = fs::temp_directory_path() / ("orefrac-batch-" + kind + "-" + std::to_string(::getpid()));
    fs::create_directories(path);
  }
  ~TempFolder() { fs::remove_all(path); }
  std::string file(const std::string& name) const { return (path / name).string(); }
  fs::path path;
};

std::vector<std::string> args(std::initializer_list<std::string> extra) {
  std::vector<std::string> a = {kBasic,     "--contents",  "3",         "--extra", "E,F",
                                "--limits", "3;6;9;12;15", "--decimal", ","};
  a.insert(a.end(), extra);
  return a;
}

std::string run(const std::vector<std::string>& a) {
  std::ostringstream out;
  batch::run(batch::parseOptions(a), ',', out);
  return out.str();
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream is(text);
  for (std::string l; std::getline(is, l);) out.push_back(l);
  return out;
}

std::string tabbed(std::initializer_list<const char*> cells) {
  std::string s;
  for (const char* c : cells) s += (s.empty() ? "" : "\t") + std::string(c);
  return s;
}

TEST(BatchRoadTest, GridAndLabelOfTheBasicWorkbook) {
  const std::vector<std::string> out = lines(run(args({"--grid", "-"})));
  ASSERT_EQ(out.size(), 7u);  // header, five pockets, the label
  EXPECT_EQ(out[0].substr(0, out[0].find("\tИзвлечение")),
            "№ фр\tВерхней предел, h\tВыход, %\tСодержание, %  №= 1\tСодержание, %  №= 2\t"
            "Содержание, %  №= 3");
  EXPECT_EQ(out[1], tabbed({"1",     "3",     "19,05", "1,46", "3,52",  "1,7",   "3,68",  "19,45",
                            "20,62", "19,05", "1,46",  "3,52", "1,7",   "3,68",  "19,45", "20,62",
                            "80,95", "8,99",  "3,43",  "1,54", "96,32", "80,55", "79,38"}));
  EXPECT_EQ(out[3], tabbed({"3",     "9",     "27,27", "7,68", "3,03",  "1,29",  "27,7",  "23,94",
                            "22,49", "62,17", "4,92",  "3,47", "1,5",   "40,47", "62,65", "59,63",
                            "37,83", "11,89", "3,4",   "1,67", "59,53", "37,35", "40,37"}));
  EXPECT_EQ(out[5], tabbed({"5",     "15",    "24,88", "13,05", "3,15", "1,73", "42,98", "22,76",
                            "27,42", "99,22", "7,61",  "3,44",  "1,56", "100",  "99,03", "98,8",
                            "0",     "0",     "0",     "0",     "0",    "0",    "0"}));
  EXPECT_EQ(out[6], "Число кусков  n=120       M=0,47");

  // With a point for the decimal separator every number written follows it; the precision
  // texts stay the table's own.
  const std::vector<std::string> dotted =
      lines(run({kBasic, "--limits", "3;6;9;12;15", "--decimal", "."}));
  EXPECT_EQ(dotted, std::vector<std::string>{"Число кусков  n=120       M=0.47"});
}

TEST(BatchRoadTest, CurveAndBestCutOfTheBasicWorkbook) {
  // No limits needed: the curve has a row per distinct key (119 of the 120 lumps), the best cut
  // its lines after it.
  const std::vector<std::string> out =
      lines(run({kBasic, "--contents", "3", "--extra", "E,F", "--decimal", ",", "--curve", "-",
                 "--best-cut", "--seed", "1"}));
  ASSERT_EQ(out.size(), 1u + 119u + 9u);
  EXPECT_EQ(out[0],
            tabbed({"Граница", "Выход хвостов, %", "Содержание в хвостах, %  №= 1",
                    "Содержание в хвостах, %  №= 2", "Содержание в хвостах, %  №= 3",
                    "Извлечение в хвосты, %  №= 1", "Извлечение в хвосты, %  №= 2",
                    "Извлечение в хвосты, %  №= 3", "Выход концентрата, %",
                    "Содержание в концентрате, %  №= 1", "Содержание в концентрате, %  №= 2",
                    "Содержание в концентрате, %  №= 3", "Извлечение в концентрат, %  №= 1",
                    "Извлечение в концентрат, %  №= 2", "Извлечение в концентрат, %  №= 3"}));
  EXPECT_EQ(out[1],
            tabbed({"0", "0,775515753627746", "0", "4,3103", "2,4229", "0", "0,969422141070862",
                    "1,19801852142086", "99,2244842463723", "7,61356934898928", "3,44140393777898",
                    "1,56174234640196", "100", "99,0305778589291", "98,8019814785791"}));
  EXPECT_EQ(out[119],
            tabbed({"14,85", "100", "7,5545249192745", "3,44814236362416", "1,56842075966919",
                    "100", "100", "100", "0", "0", "0", "0", "0", "0", "0"}));
  const std::vector<std::string> best(out.begin() + 120, out.end());
  EXPECT_EQ(best, (std::vector<std::string>{
                      "Лучшая граница: 7,35", "Эффективность разделения E: 24,0005938845018",
                      "Выход концентрата, %: 54,9105833901226",
                      "Содержание в концентрате, %  №= 1: 10,8564946559587",
                      "Извлечение в концентрат, %  №= 1: 78,9111772746244",
                      "Повторных выборок: 1000, начальное число: 1",
                      "95 % интервал извлечения в концентрат, %  №= 1: от 70,1278545743931 до "
                      "85,9212544382056",
                      "95 % интервал выхода концентрата, %: от 44,388942361919 до 64,1198892413485",
                      "Лучшая граница выборки в пределах ±10 % от 7,35: 89 % (890 из 1000)"}));
}

TEST(BatchRoadTest, TheSeedTakesEverySixtyFourBitValue) {
  for (const char* seed : {"0", "2147483648", "18446744073709551615"}) {
    const std::vector<std::string> out =
        lines(run({kBasic, "--decimal", ",", "--best-cut", "--seed", seed}));
    ASSERT_EQ(out.size(), 9u) << seed;
    EXPECT_EQ(out[5], "Повторных выборок: 1000, начальное число: " + std::string(seed));
  }
}

TEST(BatchRoadTest, ValueOfTheBasicWorkbookWithItsCurve) {
  // Cheap processing keeps nearly everything and sorting costs more than it saves; dear
  // processing makes rejecting pay. The value curve's rows come first, one per cut.
  auto value = [](std::initializer_list<std::string> extra) {
    std::vector<std::string> a = {kBasic, "--contents", "3", "--extra",
                                  "E,F",  "--decimal",  ",", "--value"};
    a.insert(a.end(), extra);
    return lines(run(a));
  };
  const std::vector<std::string> cheap =
      value({"--price", "1=1000", "--price", "2=50", "--plant-recovery", "1=90", "--cost-process",
             "5", "--cost-reject", "1", "--cost-sort", "0,5", "--value-curve", "-"});
  ASSERT_EQ(cheap.size(), 1u + 119u + 9u);
  EXPECT_EQ(cheap[0], "Граница\tСтоимость тонны питания");
  EXPECT_EQ(cheap[1], "0\t64,2291025576633");
  EXPECT_EQ(cheap[121], "Стоимость тонны питания при сортировке: 64,3049994354403");
  EXPECT_EQ(cheap[123], "Прирост от сортировки на тонну питания: -0,409796019842245");
  EXPECT_EQ(cheap[124], "Сортировка не окупается");
  const std::vector<std::string> dear = value(
      {"--price", "1=100", "--cost-process", "5", "--cost-reject", "1", "--cost-sort", "0,5"});
  EXPECT_EQ(dear, (std::vector<std::string>{
                      "Лучшая граница по стоимости: 3,901",
                      "Стоимость тонны питания при сортировке: 2,59765119044577",
                      "Стоимость тонны питания без сортировки: 2,5545249192745",
                      "Прирост от сортировки на тонну питания: 0,0431262711712705",
                      "Выход концентрата, %: 73,5186870400078",
                      "Содержание в концентрате, %  №= 1: 9,57361856614208",
                      "Извлечение в концентрат, %  №= 1: 93,167985376399",
                      "95 % интервал стоимости тонны питания: от 1,87798159584859 до "
                      "3,27420154951769"}));
}

TEST(BatchRoadTest, SensorFiguresOfLumpsCountedByHand) {
  // Lumps (mass, content, parameter). Ideal: the cut at content 2 sends 3 of 5 mass and 14 of 16
  // metal up, E = 87,5 - 60. Sensor: at 1 E = 100 - 80; read the other way its every cut but the
  // empty top loses. Ore (content >= 4) lies at readings 2 and 4, waste at 1 and 3: the cuts at 1
  // and 3 tie for Youden's figure and the first wins; by mass the waste weighs 1 + 1, the ore 2
  // + 1.
  const char* kLumps = "№;Масса;Содержание;Параметр\n1;1;0;1\n2;1;2;3\n3;2;4;2\n4;1;6;4\n";
  // No spread at all: nothing that needs one is defined, and every lump is ore.
  const char* kFlat = "№;Масса;Содержание;Параметр\n1;1;5;7\n2;2;5;7\n";
  const std::vector<std::string> calibration = {"Наклон калибровки содержания по параметру: 1,6",
                                                "Сдвиг калибровки содержания по параметру: -1",
                                                "Коэффициент детерминации R²: 0,64",
                                                "Ранговая корреляция Спирмена: 0,8"};
  auto with = [](std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  struct Case {
    const char* lumps;
    std::vector<std::string> options;
    std::vector<std::string> out;
  } cases[] = {
      {kLumps,
       {"--cutoff-grade", "4", "--roc", "-"},
       with(with({"Лучшая граница по параметру: 1", "Эффективность разделения по параметру E: 20",
                  "Лучшая граница по содержанию: 2",
                  "Эффективность разделения по содержанию E: 27,5",
                  "Эффективность датчика, %: 72,7272727272727"},
                 calibration),
            {"Граничное содержание: 4", "Рудных кусков: 2 из 4", "Доля массы рудных кусков, %: 60",
             "Площадь под ROC-кривой по кускам: 0,75",
             "Площадь под ROC-кривой по массе: 0,666666666666667", "Граница по Юдену: 1",
             "Чувствительность при ней, %: 100", "Специфичность при ней, %: 50",
             "Граница\tДоля принятых рудных кусков, %\tДоля принятых пустых кусков, %\t"
             "Доля принятой массы руды, %\tДоля принятой массы пустой породы, %",
             "1\t100\t50\t100\t50", "2\t50\t50\t33,3333333333333\t50",
             "3\t50\t0\t33,3333333333333\t0", "4\t0\t0\t0\t0"})},
      // The cuts are written as readings: the top cut of side below is the lowest one.
      {kLumps,
       {"--concentrate-side", "below"},
       with({"Лучшая граница по параметру: 1", "Эффективность разделения по параметру E: 0",
             "Лучшая граница по содержанию: 2", "Эффективность разделения по содержанию E: 27,5",
             "Эффективность датчика, %: 0"},
            calibration)},
      {kFlat,
       {"--cutoff-grade", "5"},
       {"Лучшая граница по параметру: 7", "Эффективность разделения по параметру E: 0",
        "Лучшая граница по содержанию: 5", "Эффективность разделения по содержанию E: 0",
        "Эффективность датчика, %: не определена",
        "Наклон калибровки содержания по параметру: не определен",
        "Сдвиг калибровки содержания по параметру: не определен",
        "Коэффициент детерминации R²: не определен", "Ранговая корреляция Спирмена: не определена",
        "Граничное содержание: 5", "Рудных кусков: 2 из 2", "Доля массы рудных кусков, %: 100",
        "Площадь под ROC-кривой по кускам: не определена",
        "Площадь под ROC-кривой по массе: не определена", "Граница по Юдену: не определена",
        "Чувствительность при ней, %: не определена", "Специфичность при ней, %: не определена"}},
  };
  TempFolder dir;
  for (const Case& c : cases) {
    const std::string csv = dir.file("lumps.csv");
    std::ofstream(csv) << c.lumps;
    std::vector<std::string> a = {csv, "--decimal", ",", "--sensor"};
    a.insert(a.end(), c.options.begin(), c.options.end());
    EXPECT_EQ(lines(run(a)), c.out) << c.options.front();
  }
}

TEST(BatchRoadTest, LumpsToStandardOutputAsTheSourceGridHoldsThem) {
  const std::vector<std::string> out = lines(run(args({"--lumps", "-"})));
  ASSERT_EQ(out.size(), 122u);  // header, 120 lumps, the label
  EXPECT_EQ(out[0], "№\tМасса\t%\t\t");
  EXPECT_EQ(out[1], "1\t429,2\t8,764\t3,3917\t0,6064");
  EXPECT_EQ(out[120], "120\t396,62\t2,269\t5,9674\t0,8386");
  EXPECT_EQ(out[121], "Число кусков  n=120       M=0,47");

  // By parameter the parameter column is shown, with its header's two trailing blanks.
  const std::vector<std::string> byParam =
      lines(run({kBasic, "--limits", "50;100", "--pockets-by", "param", "--lumps", "-"}));
  EXPECT_EQ(byParam[0], "№\tМасса\t%\tпараметр  ");
  EXPECT_EQ(byParam[1], "1\t429,2\t8,764\t84,95");
}

TEST(BatchRoadTest, TheReportReadsBackCellForCell) {
  TempFolder tmp;
  const std::string report = tmp.file("report.xlsx");
  const std::string grid = tmp.file("grid.tsv");
  run(args({"--report", report, "--grid", grid}));
  const Workbook wb = readWorkbook(report);
  ASSERT_EQ(wb.sheets.size(), 1u);
  const Sheet& s = wb.sheets[0];
  EXPECT_EQ(s.name(), "Отчет");
  EXPECT_EQ(s.cell(1, 1).text,
            "Фракционный состав выборки n= 120  и технологические показатели "
            "М=0,47" +
                std::string(14, ' '));
  EXPECT_EQ(s.cell(2, 1).text, "Фракционный состав по" + std::string(29, ' '));
  EXPECT_EQ(s.cell(2, 10).text, "Технологические показатели" + std::string(42, ' '));
  EXPECT_EQ(s.cell(3, 10).text, "Хвосты" + std::string(37, ' '));
  EXPECT_EQ(s.cell(3, 17).text, "Концентрат" + std::string(25, ' '));
  const std::array<const char*, 23> headers = {
      "№ фр",   "Верх.пр.", "Вых.,%", "Сод.,%", "Сод.,%", "Сод.,%", "Извл.%", "Извл.%",
      "Извл.%", "Вых.,%",   "Сод.,%", "Сод.,%", "Сод.,%", "Извл.%", "Извл.%", "Извл.%",
      "Вых.,%", "Сод.,%",   "Сод.,%", "Сод.,%", "Извл.%", "Извл.%", "Извл.%"};
  for (int c = 1; c <= 23; ++c) EXPECT_EQ(s.cell(4, c).text, headers[c - 1]) << c;
  EXPECT_EQ(s.lastRow(), 9);
  EXPECT_EQ(s.lastCol(), 23);

  // Every number of the block is the grid's text read back; the pocket numbers are formulas,
  // read back as the values they show.
  std::ifstream in(grid);
  std::string header;
  std::getline(in, header);
  const NumberFormat fmt(',');
  for (int r = 1; r <= 5; ++r) {
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    std::vector<std::string> cells;
    std::istringstream row(line);
    for (std::string c; std::getline(row, c, '\t');) cells.push_back(c);
    ASSERT_EQ(cells.size(), 23u);
    const Cell& number = s.cell(4 + r, 1);
    EXPECT_EQ(number.type, Cell::Type::Number);
    EXPECT_EQ(number.number, r);
    for (int g = 1; g < 23; ++g) {
      const Cell& c = s.cell(4 + r, g + 1);
      EXPECT_EQ(c.type, Cell::Type::Number) << r << "," << g;
      EXPECT_EQ(c.number, fmt.parseReal(cells[static_cast<size_t>(g)])) << r << "," << g;
    }
  }
}

TEST(BatchRoadTest, AnUndefinedIndexReadsTheSameInTheLabelAndTheReportTitle) {
  TempFolder tmp;
  struct Case {
    const char* basis;
    const char* label;
    std::string title;
  } cases[] = {
      {"content", "Число кусков  n=120       M= не определен",
       "Фракционный состав выборки n= 120  и технологические показатели М= не определен" +
           std::string(14, ' ')},
      {"param", "Число кусков  n=120       П= не определен",
       "Фракционный состав выборки( n=120 ) и технологические показатели П= не определен" +
           std::string(18, ' ')},
  };
  for (const Case& c : cases) {
    const std::string report = tmp.file(std::string(c.basis) + ".xlsx");
    // No lump lies in a pocket: the tails content G is 0.
    const std::string out =
        run({kBasic, "--limits", "0,001;0,002", "--pockets-by", c.basis, "--report", report});
    EXPECT_EQ(out, std::string(c.label) + "\n");
    EXPECT_EQ(readWorkbook(report).sheets.at(0).cell(1, 1).text, c.title) << c.basis;
  }
}

TEST(BatchRoadTest, TheDiagramIsTheWindowsPictureSize) {
  TempFolder tmp;
  const std::string bmp = tmp.file("graph");  // no extension is added
  run(args({"--graph", bmp}));
  const graph::Picture p = graph::readBmp(bmp);
  EXPECT_EQ(p.width(), 665);
  EXPECT_EQ(p.height(), 585);
  EXPECT_TRUE(p.pixel(0, 0) == graph::kWhite);
  int inked = 0;
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x) inked += !(p.pixel(x, y) == graph::kWhite);
  EXPECT_GT(inked, 5000);
}

#ifdef OREFRAC_BATCH_BINARY
struct Exit {
  int code = -1;
  std::string out, err;
};

Exit runBinary(const std::string& arguments) {
  TempFolder tmp;
  const std::string out = tmp.file("out"), err = tmp.file("err");
  const std::string cmd =
      std::string(OREFRAC_BATCH_BINARY) + " " + arguments + " >" + out + " 2>" + err;
  Exit e;
  const int status = std::system(cmd.c_str());
  e.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  auto slurp = [](const std::string& f) {
    std::ifstream in(f);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  e.out = slurp(out);
  e.err = slurp(err);
  return e;
}

TEST(BatchRoadTest, TheBinaryExitsWithOneAndTheMessageOnStandardError) {
  const std::string wb = "'" + kBasic + "'";
  struct Case {
    std::string arguments;
    std::string message;
  } cases[] = {
      {"", "Не задана рабочая книга (см. orefrac-batch --help)"},
      {wb + " --limits 1 --bogus", "Неизвестный параметр --bogus (см. orefrac-batch --help)"},
      {wb + " --limits", "Не задано значение параметра --limits"},
      {wb + " --limits '1;x;3'", "'x' is not a valid floating point value"},
      {wb + " --limits 1 --pockets-by mass",
       "--pockets-by: ожидается content или param, получено 'mass'"},
      {wb + " --limits 1 --start-row two", "'two' is not a valid integer value"},
      {wb + " --limits 1 --precision 0,02",
       "Точность составляемой таблицы «0,02» не поддерживается. Допустимые значения: 1; 0,1; "
       "0,01; 0,001; 0,0001; 0,00001; 0,000001"},
      {wb + " --limits ''",
       "Количество карманов должно быть целым числом от 1 до 10000 (введено 0)"},
      // Our own options name themselves; texts as typed into the dialogs keep the system's words.
      {wb + " --decimal , --best-cut --min-grade 1.5",
       "--min-grade: ожидается число с десятичным разделителем «,», а не «1.5»"},
      {wb + " --best-cut --seed -1",
       "--seed: ожидается целое число от 0 до 18446744073709551615, а не «-1»"},
      {wb + " --best-cut --seed 18446744073709551616",
       "--seed: ожидается целое число от 0 до 18446744073709551615, а не «18446744073709551616»"},
      {wb + " --best-cut --seed ''",
       "--seed: ожидается целое число от 0 до 18446744073709551615, а не «»"},
      {wb + " --limits 1 --contents x", "'x' is not a valid integer value"},
      {wb + " --curve - --seed 2", "--seed действует только вместе с --best-cut или --value"},
      {wb + " --decimal , --sensor --cutoff-grade 1.5",
       "--cutoff-grade: ожидается число с десятичным разделителем «,», а не «1.5»"},
      {wb + " --sensor --concentrate-side left",
       "--concentrate-side: ожидается above или below, получено 'left'"},
      {wb + " --roc -", "--roc действует только вместе с --sensor"},
      {wb + " --best-cut --min-grade 50",
       "Ни одна граница не дает содержания элемента 1 в концентрате не ниже 50: лучшая граница "
       "не определена"},
      {wb + " --decimal , --value --price 1=x",
       "--price: ожидается номер элемента, знак «=» и число с "
       "десятичным разделителем «,», а не «1=x»"},
      {wb + " --value --price 2=1", "--price: ожидается номер элемента от 1 до 1, а не «2=1»"},
      {wb + " --value --price 1=-50", "--price: ожидается цена не меньше 0, а не «1=-50»"},
      {wb + " --decimal , --value --price 1=1 --cost-reject 1.5",
       "--cost-reject: ожидается число с десятичным разделителем «,», а не «1.5»"},
      {wb + " --max-yield 50", "--max-yield действует только вместе с --best-cut или --value"},
      {wb + " --value --price 1=1 --max-content 1=2 --min-recovery 90",
       "Ни одна граница не дает одновременно содержания элемента 1 в концентрате не выше 2 и "
       "извлечения элемента 1 в концентрат не ниже 90 %: лучшая граница по стоимости не "
       "определена"},
      {"'" OREFRAC_TEST_DATA "/workbooks/bad-text.xlsx' --limits 1",
       "Could not convert variant of type (OleStr) into type (Double)"},
  };
  for (const Case& c : cases) {
    const Exit e = runBinary(c.arguments);
    EXPECT_EQ(e.code, 1) << c.arguments;
    EXPECT_EQ(e.err, c.message + "\n") << c.arguments;
    EXPECT_EQ(e.out, "") << c.arguments;
  }
  const Exit good = runBinary(wb + " --limits '3;6;9;12;15' --decimal ,");
  EXPECT_EQ(good.code, 0);
  EXPECT_EQ(good.out, "Число кусков  n=120       M=0,47\n");
  EXPECT_EQ(good.err, "");
}
// Delimited text read from standard input and through gzip, by name or piped: the same job.
TEST(BatchRoadTest, DelimitedTextFromStandardInputAndGzipGivesTheSameJob) {
  TempFolder tmp("stdin");
  const std::string csv = "'" OREFRAC_TEST_DATA "/workbooks/basic-120.csv'";
  const std::string gz = "'" + tmp.file("b.csv.gz") + "'", cut = "'" + tmp.file("cut.gz") + "'";
  ASSERT_EQ(
      std::system(("gzip -c " + csv + " >" + gz + " && head -c 100 " + gz + " >" + cut).c_str()),
      0);
  const std::string job = " --decimal , --lumps - --limits '5;10;20'";
  const Exit plain = runBinary(csv + job);
  ASSERT_EQ(plain.code, 0) << plain.err;
  for (const std::string& input : {"- <" + csv, "- <" + gz, gz}) {
    const Exit e = runBinary(input + job);
    EXPECT_EQ(e.code, 0) << input << ": " << e.err;
    EXPECT_EQ(e.out, plain.out) << input;
  }
  // Through a pipe, which cannot be mapped nor asked for its size.
  const std::string pipedOut = tmp.file("piped");
  ASSERT_EQ(
      std::system(
          ("cat " + gz + " | " OREFRAC_BATCH_BINARY " -" + job + " >'" + pipedOut + "'").c_str()),
      0);
  std::ifstream in(pipedOut);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), plain.out);
  const Exit damaged = runBinary(cut + job);
  EXPECT_EQ(damaged.code, 1);
  EXPECT_EQ(damaged.err,
            "Файл " + cut.substr(1, cut.size() - 2) + " поврежден: сжатые данные gzip оборваны\n");
}

#endif

}  // namespace
}  // namespace ore::test
