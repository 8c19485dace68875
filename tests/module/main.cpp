// The module's tests need a QApplication: the display is a widget and the sink runs on Qt's
// event loop. They run on the test environment's display and sound server.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
