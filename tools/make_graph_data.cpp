// Draws the diagram's letter pictures and dumps the diagram font, writing the program data that
// graph/ compiles in (see make_graph_data.sh). Usage: make_graph_data SOURCE_DIR

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "graph/bmp_file.h"
#include "graph/diagram_font.h"
#include "graph/span_rule.h"

namespace {

using ore::graph::Picture;
using ore::graph::Rgb;

// How each letter picture is drawn: the glyph, and where its ink must lie (rows first..last,
// columns left..right, inclusive). The letter's outline is fitted into exactly this box, so its
// anti-aliased edge stays inside.
struct LetterDrawing {
  const char* name;
  char16_t code;
  int firstRow, lastRow, leftCol, rightCol;
};
const LetterDrawing kLetterDrawings[6] = {
    {"beta", u'β', 29, 85, 31, 75},  {"lambda", u'λ', 33, 74, 42, 74},
    {"theta", u'θ', 36, 77, 38, 68}, {"epsilon", u'ε', 45, 73, 42, 68},
    {"alpha", u'α', 45, 73, 39, 75}, {"gamma", u'γ', 38, 79, 45, 76},
};
constexpr int kWidth = 121, kHeight = 126, kMaxSpans = 109;
const QColor kInk(4, 4, 4);

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what);
}

Picture drawLetter(const LetterDrawing& letter) {
  QFont f(QStringLiteral("DejaVu Serif"));
  f.setItalic(true);
  f.setPixelSize(400);
  QFontInfo info(f);
  if (info.family() != QStringLiteral("DejaVu Serif") || !info.italic())
    fail("DejaVu Serif Italic is not installed (fonts-dejavu-extra)");
  QPainterPath path;
  path.addText(0, 0, f, QString(QChar(letter.code)));
  const QRectF bb = path.boundingRect();
  const QRectF box(letter.leftCol, letter.firstRow, letter.rightCol - letter.leftCol + 1,
                   letter.lastRow - letter.firstRow + 1);
  QTransform t;
  t.translate(box.left(), box.top());
  t.scale(box.width() / bb.width(), box.height() / bb.height());
  t.translate(-bb.left(), -bb.top());
  std::printf("%-8s stretch across %.3f of the font's proportion\n", letter.name,
              (box.width() / bb.width()) / (box.height() / bb.height()));

  QImage img(kWidth, kHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillPath(t.map(path), kInk);
  }
  Picture pic(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      QRgb c = img.pixel(x, y);
      if (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c))
        fail("ink of " + std::string(letter.name) + " is not grey");
      pic.setPixel(x, y, Rgb{uint8_t(qRed(c)), uint8_t(qGreen(c)), uint8_t(qBlue(c))});
    }
  return pic;
}

std::string capitalized(std::string name) {
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

std::string letterData(const std::vector<Picture>& pictures) {
  std::ostringstream out;
  out << "// Written by tools/make_graph_data.sh; do not edit.\n\n"
      << "#include \"graph/letter_data.h\"\n\nnamespace ore::graph::data {\n\nnamespace {\n\n";
  struct Box {
    int left, top, width, height;
  };
  std::vector<Box> boxes;
  std::vector<size_t> counts;
  for (int k = 0; k < 6; ++k) {
    const Picture& pic = pictures[k];
    int l = kWidth, t = kHeight, r = -1, b = -1;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (!(pic.pixel(x, y) == ore::graph::kWhite)) {
          l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
        }
    const LetterDrawing& s = kLetterDrawings[k];
    if (r < 0 || l < s.leftCol || r > s.rightCol || t < s.firstRow || b > s.lastRow)
      fail(std::string(s.name) + ": ink outside its box");
    Box box{l, t, r - l + 1, b - t + 1};
    boxes.push_back(box);
    out << "const std::uint8_t k" << capitalized(s.name) << "Grey[] = {";
    for (int y = 0; y < box.height; ++y)
      for (int x = 0; x < box.width; ++x) out << int(pic.pixel(l + x, t + y).r) << ",";
    out << "};\n\n";

    std::vector<ore::graph::Span> spans = ore::graph::deriveSpans(pic);
    if (spans.empty() || spans.size() > kMaxSpans)
      fail(std::string(s.name) + ": " + std::to_string(spans.size()) + " spans");
    for (size_t i = 1; i < spans.size(); ++i)
      if (spans[i].SpanRow > spans[i - 1].SpanRow + 1)
        fail(std::string(s.name) + ": a row without ink");
    counts.push_back(spans.size());
    out << "const std::int32_t k" << capitalized(s.name) << "Spans[][3] = {";
    int sl = kWidth, sr = 0;
    for (const auto& sp : spans) {
      out << "{" << sp.SpanLeft << "," << sp.SpanRight << "," << sp.SpanRow << "},";
      sl = std::min(sl, sp.SpanLeft), sr = std::max(sr, sp.SpanRight - 1);
    }
    out << "};\n\n";
    std::printf("%-8s %3zu spans, rows %d to %d, columns %d to %d\n", s.name, spans.size(),
                spans.front().SpanRow, spans.back().SpanRow, sl, sr);
  }
  out << "}  // namespace\n\nconst LetterData kLetters[6] = {\n";
  for (int k = 0; k < 6; ++k) {
    const LetterDrawing& s = kLetterDrawings[k];
    out << "{\"" << s.name << "\", " << boxes[k].left << ", " << boxes[k].top << ", "
        << boxes[k].width << ", " << boxes[k].height << ", k" << capitalized(s.name) << "Grey, "
        << counts[k] << ", k" << capitalized(s.name) << "Spans},\n";
  }
  out << "};\n\n}  // namespace ore::graph::data\n";
  return out.str();
}

std::string cString(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string fontData() {
  QFont f(QString::fromLatin1(ore::graph::font::kFamily));
  f.setPixelSize(ore::graph::font::kPixelSize);
  f.setStyleStrategy(QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setKerning(false);
  if (QFontInfo(f).family() != QString::fromLatin1(ore::graph::font::kFamily))
    fail("DejaVu Sans is not installed (fonts-dejavu-core)");
  QFontMetrics fm(f);
  std::vector<char32_t> codes;
  for (char32_t c = 0x20; c < 0x7f; ++c) codes.push_back(c);
  codes.push_back(0x401);
  for (char32_t c = 0x410; c < 0x450; ++c) codes.push_back(c);
  codes.push_back(0x451);

  std::ostringstream out;
  out << "// Written by tools/make_graph_data.sh; do not edit.\n\n"
      << "#include \"graph/diagram_font.h\"\n\nnamespace ore::graph::font {\n\n"
      << "const int kAscent = " << fm.ascent() << ";\nconst int kHeight = " << fm.height()
      << ";\n\nconst Glyph kGlyphs[] = {\n";
  const int penX = 20, baseY = 30;
  for (char32_t code : codes) {
    QString text = QString::fromUcs4(&code, 1);
    QImage img(60, 50, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      QPainter p(&img);
      p.setFont(f);
      p.setPen(Qt::black);
      p.drawText(penX, baseY, text);
    }
    int l = 60, t = 50, r = -1, b = -1;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 60; ++x) {
        QRgb c = img.pixel(x, y);
        if (c != qRgb(255, 255, 255) && c != qRgb(0, 0, 0)) fail("anti-aliased glyph");
        if (c == qRgb(0, 0, 0))
          l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
      }
    std::string bits;
    if (r < 0) l = penX, t = baseY, r = penX - 1, b = baseY - 1;
    for (int y = t; y <= b; ++y)
      for (int x = l; x <= r; ++x) bits += img.pixel(x, y) == qRgb(0, 0, 0) ? '#' : '.';
    out << "{0x" << std::hex << uint32_t(code) << std::dec << ", " << fm.horizontalAdvance(text)
        << ", " << l - penX << ", " << t - baseY << ", " << r - l + 1 << ", " << b - t + 1 << ", "
        << cString(bits) << "},\n";
  }
  out << "};\n\nconst int kGlyphCount = sizeof kGlyphs / sizeof kGlyphs[0];\n\n"
      << "}  // namespace ore::graph::font\n";
  return out.str();
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f << text;
  if (!f) fail("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_graph_data SOURCE_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  try {
    std::vector<Picture> pictures;
    for (const LetterDrawing& s : kLetterDrawings) {
      pictures.push_back(drawLetter(s));
      ore::graph::writeBmp(dir + "/graph/letters/" + s.name + ".bmp", pictures.back());
    }
    writeText(dir + "/graph/letter_data.cpp", letterData(pictures));
    writeText(dir + "/graph/font_data.cpp", fontData());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_graph_data: %s\n", e.what());
    return 1;
  }
  return 0;
}
