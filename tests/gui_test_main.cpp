// Runs the window tests inside a QApplication (offscreen when QT_QPA_PLATFORM says so).

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/gui/toolkit_language.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // As the program does: under a Russian locale the toolkit's own texts are Russian.
  ore::gui::installToolkitTranslations(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
