#include "batch/batch_options.h"

#include "data/errors.h"

namespace ore::batch {

std::string usage() {
  return "Использование:\n"
         "  orefrac-batch WORKBOOK [--sheet N] [--start-row N] [--mass COL] [--content COL]\n"
         "      [--param COL] [--contents N] [--extra COL,COL,...] [--pockets-by content|param]\n"
         "      [--distribute content|param] [--precision TEXT] --limits \"L1;L2;...\"\n"
         "      [--decimal ,|.] [--lumps FILE] [--grid FILE] [--report FILE.xlsx]\n"
         "      [--graph FILE.bmp] [--point N] [--no-graph4] [--histogram FILE.png|.svg|.pdf]\n"
         "      [--curve FILE] [--best-cut [--min-grade X] [--seed N]]\n"
         "\n"
         "Читает лист рабочей книги (xlsx, xls, ods, csv), распределяет куски по карманам\n"
         "с заданными верхними границами и печатает итоговую строку.\n"
         "\n"
         "  --sheet N            номер листа (1)\n"
         "  --start-row N        номер строки начала чтения (2)\n"
         "  --mass COL           столбец массы куска (B)\n"
         "  --content COL        столбец содержания элемента (C)\n"
         "  --param COL          столбец параметра (D)\n"
         "  --contents N         количество содержаний (1)\n"
         "  --extra COL,...      столбцы содержаний 2, 3, ...\n"
         "  --pockets-by K       расчет карманов по content (концентрации) или param (параметру)\n"
         "  --distribute K       распределение содержания (content) или параметра (param)\n"
         "  --precision TEXT     точность таблицы: 1, 0,1, 0,01, ..., 0,000001 (0,01)\n"
         "  --limits \"L1;L2;..\"  верхние границы карманов, как в таблице карманов\n"
         "  --decimal ,|.        десятичный разделитель (по умолчанию из локали)\n"
         "  --lumps FILE         записать таблицу исходных данных (FILE - : стандартный вывод)\n"
         "  --grid FILE          записать таблицу результатов (FILE - : стандартный вывод)\n"
         "  --report FILE.xlsx   записать отчет в новую книгу с листом \"Отчет\"\n"
         "  --graph FILE.bmp     сохранить график 665 x 585\n"
         "  --point N            точка подписей кривых графика\n"
         "  --no-graph4          не показывать график № 4\n"
         "  --histogram FILE     сохранить гистограмму (.png, .svg или .pdf)\n"
         "  --curve FILE         записать кривые обогатимости: граница у каждого куска\n"
         "                       (FILE - : стандартный вывод)\n"
         "  --best-cut           напечатать лучшую границу и ее 95 % интервалы\n"
         "                       (1000 повторных выборок)\n"
         "  --min-grade X        наименьшее содержание элемента 1 в концентрате\n"
         "  --seed N             начальное число повторных выборок (1)\n"
         "  --help               эта справка\n";
}

Options parseOptions(const std::vector<std::string>& args) {
  Options o;
  auto value = [&](size_t& i) -> std::string {
    if (i + 1 >= args.size()) throw Error("Не задано значение параметра " + args[i]);
    return args[++i];
  };
  bool haveWorkbook = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--sheet") {
      o.sheet = value(i);
    } else if (a == "--start-row") {
      o.startRow = value(i);
    } else if (a == "--mass") {
      o.mass = value(i);
    } else if (a == "--content") {
      o.content = value(i);
    } else if (a == "--param") {
      o.param = value(i);
    } else if (a == "--contents") {
      o.contents = value(i);
    } else if (a == "--extra") {
      std::string v = value(i);
      o.extra.clear();
      size_t start = 0;
      while (true) {
        size_t comma = v.find(',', start);
        o.extra.push_back(
            v.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    } else if (a == "--pockets-by") {
      std::string v = value(i);
      if (v == "content")
        o.pocketBasis = PocketBasis::ByContent;
      else if (v == "param")
        o.pocketBasis = PocketBasis::ByParam;
      else
        throw Error("--pockets-by: ожидается content или param, получено '" + v + "'");
    } else if (a == "--distribute") {
      std::string v = value(i);
      if (v == "content")
        o.distributionKind = DistributionKind::Content;
      else if (v == "param")
        o.distributionKind = DistributionKind::Param;
      else
        throw Error("--distribute: ожидается content или param, получено '" + v + "'");
    } else if (a == "--precision") {
      o.precision = value(i);
    } else if (a == "--limits") {
      o.limits = value(i);
    } else if (a == "--decimal") {
      std::string v = value(i);
      if (v != "," && v != ".")
        throw Error("--decimal: ожидается ',' или '.', получено '" + v + "'");
      o.decimal = v[0];
    } else if (a == "--lumps") {
      o.lumpsFile = value(i);
    } else if (a == "--grid") {
      o.gridFile = value(i);
    } else if (a == "--report") {
      o.reportFile = value(i);
    } else if (a == "--graph") {
      o.graphFile = value(i);
    } else if (a == "--histogram") {
      o.histogramFile = value(i);
      std::string e = o.histogramFile->substr(
          std::min(o.histogramFile->size(), o.histogramFile->find_last_of('.') + 1));
      for (char& ch : e) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      if (o.histogramFile->find('.') == std::string::npos ||
          (e != "png" && e != "svg" && e != "pdf"))
        throw Error("--histogram: файл .png, .svg или .pdf, получено '" + *o.histogramFile + "'");
    } else if (a == "--point") {
      o.point = value(i);
    } else if (a == "--no-graph4") {
      o.noGraph4 = true;
    } else if (a == "--curve") {
      o.curveFile = value(i);
    } else if (a == "--best-cut") {
      o.bestCut = true;
    } else if (a == "--min-grade") {
      o.minGrade = value(i);
    } else if (a == "--seed") {
      o.seed = value(i);
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      throw Error("Неизвестный параметр " + a + " (см. orefrac-batch --help)");
    } else if (!haveWorkbook) {
      o.workbook = a;
      haveWorkbook = true;
    } else {
      throw Error("Лишний аргумент '" + a + "': рабочая книга уже задана (" + o.workbook + ")");
    }
  }
  if (o.help) return o;
  // "-" is standard output for the grids; a workbook or a bitmap cannot go there.
  if (o.reportFile == "-")
    throw Error("--report: книгу нельзя вывести в стандартный вывод, укажите имя файла");
  if (o.graphFile == "-")
    throw Error("--graph: рисунок нельзя вывести в стандартный вывод, укажите имя файла");
  if (!haveWorkbook) throw Error("Не задана рабочая книга (см. orefrac-batch --help)");
  if ((o.minGrade || o.seed) && !o.bestCut)
    throw Error(std::string(o.minGrade ? "--min-grade" : "--seed") +
                " действует только вместе с --best-cut");
  const bool sortability = o.curveFile || o.bestCut;
  bool needsAnalysis = o.gridFile || o.reportFile || o.graphFile || o.histogramFile ||
                       (!o.lumpsFile && !sortability);
  if (needsAnalysis && !o.limits) throw Error("Не заданы границы карманов: --limits \"L1;L2;...\"");
  return o;
}

}  // namespace ore::batch
