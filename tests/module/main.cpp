// The module's tests need a QApplication: the display is a widget and the sink runs on Qt's
// event loop. They run on the test environment's display and sound server.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Outside the test environment the widget tests still run off screen; the sound tests then
  // skip, saying why.
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
