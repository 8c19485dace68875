// The desktop tests need the display, sound and tray host of scripts/test-env: they stop and
// start its tray host, which must never happen to a user's own desktop.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") || !std::getenv("TUNELARK_TEST_ENV")) {
    std::printf("[  SKIPPED ] desktop tests: run them under scripts/test-env\n");
    return 0;
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
