#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "data/errors.h"
#include "graph/bmp_file.h"
#include "graph/diagram_painter.h"
#include "graph/gui/graph_window.h"
#include "graph/pixel_canvas.h"
#include "platform/gui/qpainter_canvas.h"
#include "tests/graph/results_fixture.h"
#include "tests/gui_harness.h"

namespace ore::gui::test {
namespace {

// The graph window over a results grid of five pockets, as the results window would hand it.
struct GraphHarness : Harness {
  TextGrid grid = graph::test::resultsGrid(graph::test::fivePockets());
  std::string point = "2";
  int paints = 0;
  TForm8* form = ctx.Form8;

  GraphHarness() {
    ws.PocketCount = 5;
    ws.ContentCount = 1;
    ws.ShowGraph4 = ShowGraph4::Show;
    form->setResultsSource(
        [this]() -> const TextGrid& {
          ++paints;
          return grid;
        },
        [this] { return point; });
  }
  void paint() {
    if (form->isVisible()) {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
    }
    form->Image1->repaint();
    QCoreApplication::processEvents();
  }
  // The drawing the core canvas makes of the same grid.
  graph::Picture expected() {
    graph::PixelCanvas c(665, 585);
    graph::GraphFields f;
    f.fillSpanTables();
    try {
      graph::paintDiagram(c, graph::DiagramSource{grid, ws, point, ctx.fmt}, f);
    } catch (const Error&) {
    }
    return c.picture();
  }
};

TEST(GraphWindow, StartsHiddenWithItsLetterPicturesAndTables) {
  Harness h;
  TForm8* f = h.ctx.Form8;
  EXPECT_FALSE(f->isVisible());
  EXPECT_EQ(f->windowTitle(), "График");
  EXPECT_EQ(f->pos(), QPoint(301, 40));
  for (const char* name : {"Image2", "Image3", "Image4", "Image5", "Image6", "Image7", "Image8"}) {
    auto* image = h.find<QLabel>("TForm8", name);
    ASSERT_NE(image, nullptr) << name;
    EXPECT_FALSE(image->isVisibleTo(f)) << name;
  }
  EXPECT_EQ(f->Image5->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
            toQImage(graph::letterPicture(graph::Letter::Theta)));
  EXPECT_EQ(h.find<QPushButton>("TForm8", "Button1")->text(),
            QString::fromUtf8("C") + "охранит как");
  EXPECT_EQ(f->Button1->text().at(0).unicode(), u'C');  // the Latin letter
  EXPECT_EQ(f->Button2->text(), "Выход");
  EXPECT_EQ(f->Button1->geometry(), QRect(464, 608, 91, 25));
  EXPECT_EQ(f->Button2->geometry(), QRect(576, 608, 75, 25));
  EXPECT_EQ(f->Image1->geometry(), QRect(8, 8, 665, 585));
  graph::SpanTable theta;
  graph::fillSpanTable(graph::Letter::Theta, theta);
  EXPECT_EQ(f->fields.ThetaSpans.SpanLeft, theta.SpanLeft);
  EXPECT_EQ(f->fields.LabelPoint, 0);
}

TEST(GraphWindow, EveryPaintDrawsTheDiagramAfreshFromTheGrid) {
  GraphHarness h;
  h.form->show();
  h.paint();
  ASSERT_TRUE(h.errors.messages.empty());
  EXPECT_TRUE(toPicture(h.form->picture()) == h.expected());
  EXPECT_EQ(h.form->fields.LabelPoint, 2);
  // A new analysis changes the grid; the next paint follows it, and painting asks for no paint.
  h.grid.setCell(6, 5, "3");
  const int before = h.paints;
  h.paint();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  EXPECT_EQ(h.paints, before + 1);
  EXPECT_TRUE(toPicture(h.form->picture()) == h.expected());
}

TEST(GraphWindow, ShowingItAgainRepaintsTheDiagram) {
  GraphHarness h;
  h.form->showDiagram();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(h.form));
  QCoreApplication::processEvents();
  const int before = h.paints;
  h.grid.setCell(6, 5, "3");
  h.form->showDiagram();
  QCoreApplication::processEvents();
  EXPECT_GT(h.paints, before);
  EXPECT_TRUE(toPicture(h.form->picture()) == h.expected());
}

TEST(GraphWindow, AFailingPaintShowsEachMessageOnceAndKeepsWhatWasDrawn) {
  GraphHarness h;
  h.grid.setCell(5, 3, "abc");
  h.form->show();
  for (int i = 0; i < 4; ++i) h.paint();
  ASSERT_EQ(h.errors.messages,
            std::vector<std::string>{"'abc' is not a valid floating point value"});
  EXPECT_TRUE(toPicture(h.form->picture()) == h.expected());  // the curves drawn before it stay
  h.grid.setCell(1, 5, "0");
  h.paint();
  h.paint();
  ASSERT_EQ(h.errors.messages.size(), 2u);
  EXPECT_EQ(h.errors.messages[1], "Floating point division by zero");
  // After a paint that succeeds, the same failure is news again.
  h.grid = graph::test::resultsGrid(graph::test::fivePockets());
  h.paint();
  h.grid.setCell(1, 5, "0");
  h.paint();
  EXPECT_EQ(h.errors.messages.size(), 3u);
}

// A bitmap goes under exactly the chosen name; a PNG under NAME.png.
TEST(GraphWindow, SavesTheLastDrawingUnderTheChosenName) {
  GraphHarness h;
  QTemporaryDir dir;
  h.form->show();
  h.paint();
  struct Case {
    const char* name;
    bool png;
    const char* saved;
    const char* signature;
  } cases[] = {{"diagram", false, "diagram", "BM"},
               {"d.bmp", false, "d.bmp", "BM"},
               {"d.png", true, "d.png", "\x89PNG"},
               {"e.PNG", true, "e.PNG", "\x89PNG"},
               {"picture", true, "picture.png", "\x89PNG"}};
  for (const Case& c : cases) {
    const std::string path = dir.filePath(c.name).toStdString();
    h.form->setSaveDialog([&] { return TForm8::SaveTarget{path, c.png}; });
    h.form->Button1->click();
    EXPECT_TRUE(h.errors.messages.empty());
    QFile f(dir.filePath(c.saved));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << c.name;
    EXPECT_TRUE(f.read(4).startsWith(c.signature)) << c.name;
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 5);  // nothing else was written
  graph::Picture saved = graph::readBmp(dir.filePath("diagram").toStdString());
  EXPECT_EQ(saved.width(), 665);
  EXPECT_EQ(saved.height(), 585);
  EXPECT_TRUE(saved == h.expected());
  EXPECT_TRUE(saved.pixel(664, 584) == graph::kWhite);
  QImage png(dir.filePath("picture.png"), "png");
  EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), h.form->picture());
}

TEST(GraphWindow, CancellingTheSaveDialogDoesNothing) {
  GraphHarness h;
  h.form->setSaveDialog([] { return TForm8::SaveTarget{}; });
  h.form->Button1->click();
  EXPECT_TRUE(h.errors.messages.empty());
}

TEST(GraphWindow, AFolderWithoutWriteAccessGivesOneMessage) {
  GraphHarness h;
  QTemporaryDir dir;
  std::string folder = dir.path().toStdString();
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  if (geteuid() == 0) folder = "/proc";  // root writes anywhere else; no file is made in /proc
  for (bool png : {false, true}) {
    h.errors.messages.clear();
    const std::string path = folder + (png ? "/diagram.png" : "/diagram.bmp");
    h.form->setSaveDialog([&] { return TForm8::SaveTarget{path, png}; });
    h.form->Button1->click();
    ASSERT_EQ(h.errors.messages.size(), 1u);
    EXPECT_EQ(h.errors.messages[0].rfind("Не удается создать файл " + path + ": ", 0), 0u)
        << h.errors.messages[0];
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  }
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(GraphWindow, ExitHidesTheWindowAndKeepsItsPicture) {
  GraphHarness h;
  h.form->show();
  h.paint();
  const QImage before = h.form->picture();
  h.form->Button2->click();
  EXPECT_FALSE(h.form->isVisible());
  EXPECT_EQ(h.form->picture(), before);
}

TEST(GraphWindow, TheFirstClickOnTheDiagramHandsThePlacementToTheWindowSystem) {
  GraphHarness h;
  h.form->show();
  h.paint();
  const QSize size = h.form->size();
  const int before = h.paints;
  QTest::mouseClick(h.form->Image1, Qt::LeftButton, {}, QPoint(100, 100));
  QCoreApplication::processEvents();
  EXPECT_TRUE(h.form->placedBySystem());
  EXPECT_TRUE(h.form->isVisible());
  EXPECT_EQ(h.form->size(), size);
  EXPECT_FALSE(h.form->testAttribute(Qt::WA_Moved));
  h.paint();
  EXPECT_GT(h.paints, before);
  // Later clicks change nothing.
  const QRect placed = h.form->geometry();
  const WId id = h.form->winId();
  QTest::mouseClick(h.form->Image1, Qt::LeftButton, {}, QPoint(10, 10));
  QCoreApplication::processEvents();
  EXPECT_EQ(h.form->geometry(), placed);
  EXPECT_EQ(h.form->winId(), id);
  EXPECT_TRUE(h.errors.messages.empty());
}

}  // namespace
}  // namespace ore::gui::test
