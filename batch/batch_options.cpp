#include "batch/batch_options.h"

#include <algorithm>
#include <cctype>

#include "data/errors.h"

namespace ore::batch {

std::string usage() {
  return "Использование:\n"
         "  orefrac-batch WORKBOOK [--sheet N] [--start-row N] [--mass COL] [--content COL]\n"
         "      [--param COL] [--contents N] [--extra COL,COL,...] [--pockets-by content|param]\n"
         "      [--distribute content|param] [--precision TEXT] --limits \"L1;L2;...\"\n"
         "      [--decimal ,|.] [--lumps FILE] [--grid FILE] [--report FILE.xlsx]\n"
         "      [--graph FILE.bmp] [--point N] [--no-graph4] [--histogram FILE.png|.svg|.pdf]\n"
         "      [--curve FILE] [--best-cut] [--min-grade X] [--seed N]\n"
         "      [--value --price k=P [--price k=P ...] [--plant-recovery k=R ...]\n"
         "       [--cost-process X] [--cost-reject X] [--cost-sort X] [--value-curve FILE]]\n"
         "      [--max-content k=X ...] [--min-recovery X] [--max-yield X]\n"
         "      [--sensor [--concentrate-side above|below] [--cutoff-grade G] [--roc FILE]]\n"
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
         "  --value              напечатать лучшую границу по стоимости тонны питания и ее\n"
         "                       95 % интервал (1000 повторных выборок)\n"
         "  --price k=P          цена тонны элемента k (0, если не задана); не отрицательна\n"
         "  --plant-recovery k=R извлечение элемента k на фабрике, % (100)\n"
         "  --cost-process X     затраты на переработку тонны концентрата (0)\n"
         "  --cost-reject X      затраты на тонну отвальных хвостов (0)\n"
         "  --cost-sort X        затраты на сортировку тонны питания (0)\n"
         "  --value-curve FILE   записать стоимость тонны питания у каждой границы\n"
         "                       (FILE - : стандартный вывод)\n"
         "  --max-content k=X    наибольшее содержание элемента k в концентрате\n"
         "  --min-recovery X     наименьшее извлечение элемента 1 в концентрат, %\n"
         "  --max-yield X        наибольший выход концентрата, %\n"
         "                       (ограничения --min-grade, --max-content, --min-recovery,\n"
         "                       --max-yield действуют на --best-cut и --value)\n"
         "  --sensor             напечатать, как сортировка по параметру (показанию датчика)\n"
         "                       близка к сортировке по содержанию элемента 1, и калибровку\n"
         "                       содержания по параметру\n"
         "  --concentrate-side S в концентрат идут куски с параметром выше границы (above,\n"
         "                       по умолчанию) или ниже ее (below)\n"
         "  --cutoff-grade G     граничное содержание: куски с содержанием элемента 1 не ниже G\n"
         "                       рудные; напечатать, как датчик отличает их от пустых (ROC)\n"
         "  --roc FILE           записать ROC-кривую: граница у каждого значения параметра\n"
         "                       (FILE - : стандартный вывод)\n"
         "  --help               эта справка\n";
}

namespace {

// An option's effect on the options, given its value (empty for a flag).
using Setter = void (*)(Options&, const std::string&);
struct OptionRule {
  const char* name;
  bool takesValue;
  Setter set;
};

std::vector<std::string> splitAtCommas(const std::string& v) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t comma = v.find(',', start);
    parts.push_back(
        v.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

template <class Choice>
Choice contentOrParam(const char* option, const std::string& v, Choice content, Choice param) {
  if (v == "content") return content;
  if (v == "param") return param;
  throw Error(std::string(option) + ": ожидается content или param, получено '" + v + "'");
}

void checkHistogramFile(const std::string& file) {
  std::string e = file.substr(std::min(file.size(), file.find_last_of('.') + 1));
  for (char& ch : e) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (file.find('.') == std::string::npos || (e != "png" && e != "svg" && e != "pdf"))
    throw Error("--histogram: файл .png, .svg или .pdf, получено '" + file + "'");
}

using S = const std::string&;
const OptionRule kRules[] = {
    {"--help", false, [](Options& o, S) { o.help = true; }},
    {"-h", false, [](Options& o, S) { o.help = true; }},
    {"--sheet", true, [](Options& o, S v) { o.sheet = v; }},
    {"--start-row", true, [](Options& o, S v) { o.startRow = v; }},
    {"--mass", true, [](Options& o, S v) { o.mass = v; }},
    {"--content", true, [](Options& o, S v) { o.content = v; }},
    {"--param", true, [](Options& o, S v) { o.param = v; }},
    {"--contents", true, [](Options& o, S v) { o.contents = v; }},
    {"--extra", true, [](Options& o, S v) { o.extra = splitAtCommas(v); }},
    {"--pockets-by", true,
     [](Options& o, S v) {
       o.pocketBasis =
           contentOrParam("--pockets-by", v, PocketBasis::ByContent, PocketBasis::ByParam);
     }},
    {"--distribute", true,
     [](Options& o, S v) {
       o.distributionKind =
           contentOrParam("--distribute", v, DistributionKind::Content, DistributionKind::Param);
     }},
    {"--precision", true, [](Options& o, S v) { o.precision = v; }},
    {"--limits", true, [](Options& o, S v) { o.limits = v; }},
    {"--decimal", true,
     [](Options& o, S v) {
       if (v != "," && v != ".")
         throw Error("--decimal: ожидается ',' или '.', получено '" + v + "'");
       o.decimal = v[0];
     }},
    {"--lumps", true, [](Options& o, S v) { o.lumpsFile = v; }},
    {"--grid", true, [](Options& o, S v) { o.gridFile = v; }},
    {"--report", true, [](Options& o, S v) { o.reportFile = v; }},
    {"--graph", true, [](Options& o, S v) { o.graphFile = v; }},
    {"--histogram", true,
     [](Options& o, S v) {
       o.histogramFile = v;
       checkHistogramFile(v);
     }},
    {"--point", true, [](Options& o, S v) { o.point = v; }},
    {"--no-graph4", false, [](Options& o, S) { o.noGraph4 = true; }},
    {"--curve", true, [](Options& o, S v) { o.curveFile = v; }},
    {"--best-cut", false, [](Options& o, S) { o.bestCut = true; }},
    {"--min-grade", true, [](Options& o, S v) { o.minGrade = v; }},
    {"--seed", true, [](Options& o, S v) { o.seed = v; }},
    {"--sensor", false, [](Options& o, S) { o.sensor = true; }},
    {"--concentrate-side", true,
     [](Options& o, S v) {
       if (v == "above")
         o.concentrateSide = study::ConcentrateSide::Above;
       else if (v == "below")
         o.concentrateSide = study::ConcentrateSide::Below;
       else
         throw Error("--concentrate-side: ожидается above или below, получено '" + v + "'");
     }},
    {"--cutoff-grade", true, [](Options& o, S v) { o.cutoffGrade = v; }},
    {"--roc", true, [](Options& o, S v) { o.rocFile = v; }},
    // What a cut is worth, and the limits on the product.
    {"--value", false, [](Options& o, S) { o.value = true; }},
    {"--price", true, [](Options& o, S v) { o.prices.push_back(v); }},
    {"--plant-recovery", true, [](Options& o, S v) { o.plantRecoveries.push_back(v); }},
    {"--cost-process", true, [](Options& o, S v) { o.costProcess = v; }},
    {"--cost-reject", true, [](Options& o, S v) { o.costReject = v; }},
    {"--cost-sort", true, [](Options& o, S v) { o.costSort = v; }},
    {"--value-curve", true, [](Options& o, S v) { o.valueCurveFile = v; }},
    {"--max-content", true, [](Options& o, S v) { o.maxContents.push_back(v); }},
    {"--min-recovery", true, [](Options& o, S v) { o.minRecovery = v; }},
    {"--max-yield", true, [](Options& o, S v) { o.maxYield = v; }},
};

const OptionRule* findRule(const std::string& name) {
  for (const OptionRule& r : kRules)
    if (name == r.name) return &r;
  return nullptr;
}

// The options that act only on --best-cut or --value, and those only on --value.
void checkValueTogether(const Options& o) {
  const char* chosen = o.minGrade               ? "--min-grade"
                       : o.seed                 ? "--seed"
                       : !o.maxContents.empty() ? "--max-content"
                       : o.minRecovery          ? "--min-recovery"
                       : o.maxYield             ? "--max-yield"
                                                : nullptr;
  if (chosen && !o.bestCut && !o.value)
    throw Error(std::string(chosen) + " действует только вместе с --best-cut или --value");
  const char* valueOnly = !o.prices.empty()            ? "--price"
                          : !o.plantRecoveries.empty() ? "--plant-recovery"
                          : o.costProcess              ? "--cost-process"
                          : o.costReject               ? "--cost-reject"
                          : o.costSort                 ? "--cost-sort"
                          : o.valueCurveFile           ? "--value-curve"
                                                       : nullptr;
  if (valueOnly && !o.value)
    throw Error(std::string(valueOnly) + " действует только вместе с --value");
  if (o.value && o.prices.empty())
    throw Error("--value: не задана ни одна цена элемента (--price k=P)");
}

// What no single option can say: the options that go together, and what must be given.
void checkTogether(const Options& o, bool haveWorkbook) {
  // "-" is standard output for the grids; a workbook or a bitmap cannot go there.
  if (o.reportFile == "-")
    throw Error("--report: книгу нельзя вывести в стандартный вывод, укажите имя файла");
  if (o.graphFile == "-")
    throw Error("--graph: рисунок нельзя вывести в стандартный вывод, укажите имя файла");
  if (!haveWorkbook) throw Error("Не задана рабочая книга (см. orefrac-batch --help)");
  checkValueTogether(o);
  if ((o.concentrateSide || o.cutoffGrade || o.rocFile) && !o.sensor)
    throw Error(std::string(o.concentrateSide ? "--concentrate-side"
                            : o.cutoffGrade   ? "--cutoff-grade"
                                              : "--roc") +
                " действует только вместе с --sensor");
  // Ore and waste are told apart only against a cut-off grade.
  if (o.rocFile && !o.cutoffGrade) throw Error("--roc действует только вместе с --cutoff-grade");
  const bool study = o.curveFile || o.bestCut || o.value || o.sensor;
  bool needsAnalysis =
      o.gridFile || o.reportFile || o.graphFile || o.histogramFile || (!o.lumpsFile && !study);
  if (needsAnalysis && !o.limits) throw Error("Не заданы границы карманов: --limits \"L1;L2;...\"");
}

}  // namespace

Options parseOptions(const std::vector<std::string>& args) {
  Options o;
  bool haveWorkbook = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (const OptionRule* rule = findRule(a)) {
      if (rule->takesValue && i + 1 >= args.size())
        throw Error("Не задано значение параметра " + a);
      rule->set(o, rule->takesValue ? args[++i] : std::string());
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      throw Error("Неизвестный параметр " + a + " (см. orefrac-batch --help)");
    } else if (!haveWorkbook) {
      o.workbook = a;
      haveWorkbook = true;
    } else {
      throw Error("Лишний аргумент '" + a + "': рабочая книга уже задана (" + o.workbook + ")");
    }
  }
  if (!o.help) checkTogether(o, haveWorkbook);
  return o;
}

}  // namespace ore::batch
