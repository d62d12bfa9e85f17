#pragma once
// TForm8, "График": shows the separation diagram painted from the results grid and saves it as
// a bitmap file.

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <string>

#include "data/text_grid.h"
#include "graph/graph_fields.h"
#include "platform/gui/error_box.h"
#include "platform/gui/form.h"
#include "platform/gui/window_context.h"

namespace ore::gui {

// The drawing area: every paint of it first repaints the diagram into the window's picture.
class DiagramArea;

class TForm8 : public Form {
  Q_OBJECT
 public:
  explicit TForm8(WindowContext& ctx);

  // Where the painting reads the results window's grid and the text of its point-number edit.
  // Whoever creates the windows wires them; until then the grid is empty and the text is "2".
  void setResultsSource(std::function<const TextGrid&()> grid,
                        std::function<std::string()> pointText);

  // What the save dialog returned: the name exactly as chosen (empty when cancelled) and
  // whether the PNG file type was chosen instead of "*.bmp". A bitmap is saved under exactly that
  // name; a PNG gets ".png" appended unless the name ends so already.
  struct SaveTarget {
    std::string path;
    bool png = false;
  };
  // Tests replace the save dialog.
  void setSaveDialog(std::function<SaveTarget()> dialog) { saveDialog_ = std::move(dialog); }

  // Shows the window, or brings it to the front when it is already shown, and repaints the
  // diagram either way (for the results window's "Построить График").
  void showDiagram();

  void FormCreate();
  // Paints the whole diagram into the picture of Image1 (called by Image1's paint).
  void FormPaint();
  void Button1Click();
  void Button2Click();
  void Image1Click();
  // A click on Image1, run under the application's guard.
  void diagramClicked();

  // The picture of Image1: the last drawing, 665 x 585.
  const QImage& picture() const { return picture_; }
  // True once the first click on the diagram handed the window's position to the window system.
  bool placedBySystem() const { return placedBySystem_; }

  graph::GraphFields fields;  // span tables and placement fields

  QWidget* Image1 = nullptr;
  QLabel* Image2 = nullptr;  // scratch surface of the letter stamping, never shown
  QLabel* Image3 = nullptr;  // β
  QLabel* Image4 = nullptr;  // λ
  QLabel* Image5 = nullptr;  // θ
  QLabel* Image6 = nullptr;  // ε
  QLabel* Image7 = nullptr;  // α
  QLabel* Image8 = nullptr;  // γ
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

 private:
  SaveTarget runSaveDialog();
  void replaceWindow();

  WindowContext& ctx_;
  OnceBox paintErrors_;
  std::function<const TextGrid&()> grid_;
  std::function<std::string()> pointText_;
  std::function<SaveTarget()> saveDialog_;
  QImage picture_;
  bool placedBySystem_ = false;
};

}  // namespace ore::gui
