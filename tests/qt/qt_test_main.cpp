// The Qt tests need one QApplication for the whole run; the platform comes from
// QT_QPA_PLATFORM (offscreen under ctest).
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
