#pragma once
// A shown main window on the test display with the real desktop services, a recording host, and
// real input through xdotool.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QPoint>
#include <QStringList>
#include <memory>
#include <string>

#include "app/app_state.h"
#include "qt/main_window.h"
#include "qt/qt_desktop.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark::desktop_testing {

// Runs xdotool with `args`; true when it succeeded.
bool xdotool(const QStringList& args);
// A real click of `button` (1 left, 3 right) at a point of the screen.
bool clickAt(QPoint global, int button, int repeat = 1);

// What the tray icon's popup menus showed while a test pressed the icon.
struct PopupsSeen {
  int opened = 0;
  bool showPlaylistEnabled = false;  // in the first menu
  int defaultItem = -1;              // index of the first menu's default action
};

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The one icon in the tray host; an empty rectangle when there is none after a wait.
  QRect trayIcon();
  int iconCount() { return desktop.notifyIcons().iconCount(); }
  // Real clicks (button, repeat) on the tray icon, then a right press; `pick` is the item
  // clicked in each menu that opens, -1 to dismiss it.
  PopupsSeen pressTrayIcon(int pick, std::vector<std::pair<int, int>> clicks = {});
  void storePresentation(const std::string& value);
  // Opens Preferences with its button; the dialog, or nullptr when none opened.
  QWidget* openPreferences();
  // Clicks the dialog's button (an option, OK, Cancel) named `name`.
  static void press(QWidget* dialog, const char* name);
  // The settings file's text, "" when there is none.
  std::string settings() const { return tunelark::testing::readFile(dir.str() + "/tunelark.ini"); }

  tunelark::testing::TempDir dir;
  AppState app;
  qt::QtDesktop desktop;
  tunelark::testing::FakeHost host;
  std::unique_ptr<Form1> form;
  std::unique_ptr<qt::MainWindow> window;
};

}  // namespace tunelark::desktop_testing
