#pragma once
// A shown main window on the test display with the real desktop services and a recording host;
// real input through xdotool; the display's tray host, stopped the hard way (its connection to
// the display cut, as when it crashes) and started again.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <xcb/xcb.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/app_state.h"
#include "qt/app_icon.h"
#include "qt/main_window.h"
#include "qt/qt_desktop.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark::desktop_testing {

// A real click of `button` (1 left, 3 right) at a point of the screen.
inline void clickAt(QPoint global, int button, int repeat = 1) {
  QProcess::execute(
      "xdotool", {"mousemove", QString::number(global.x()), QString::number(global.y()), "click",
                  "--repeat", QString::number(repeat), "--delay", "80", QString::number(button)});
}

// The owner of screen 0's tray selection, or 0; with `kill`, its connection is cut.
inline xcb_window_t trayOwner(bool kill = false) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  xcb_window_t owner = 0;
  auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 19, "_NET_SYSTEM_TRAY_S0"), nullptr);
  if (atom) {
    auto* reply = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
    if (reply) owner = reply->owner;
    std::free(reply);
  }
  std::free(atom);
  if (owner && kill) xcb_kill_client(c, owner);
  xcb_flush(c);
  xcb_disconnect(c);
  return owner;
}
// A host still starting up takes the tray a moment later, and Qt learns of a change from its
// own connection later still: both wait until Qt agrees.
inline bool stopTrayHost() {
  return QTest::qWaitFor(
      [] { return trayOwner(true) == 0 && !QSystemTrayIcon::isSystemTrayAvailable(); }, 5000);
}
// As scripts/test-env starts it; it lives as long as the display.
inline bool startTrayHost() {
  QProcess::startDetached("sh", {"-c",
                                 "exec trayer --edge bottom --align right --widthtype pixel "
                                 "--width 64 --heighttype pixel --height 24 >/dev/null 2>&1"});
  return QTest::qWaitFor([] { return trayOwner() && QSystemTrayIcon::isSystemTrayAvailable(); },
                         5000);
}

// Clicks the dialog's button (an option, OK, Cancel) named `name`.
inline void press(QWidget* dialog, const char* name) {
  auto* button = dialog ? dialog->findChild<QAbstractButton*>(QLatin1String(name)) : nullptr;
  ASSERT_NE(button, nullptr) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

// What the tray icon's popup menus showed while a test pressed the icon.
struct PopupsSeen {
  int opened = 0;
  bool showPlaylistEnabled = false;  // in the first menu
  int defaultItem = -1;              // index of the first menu's default action
};

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The test environment starts its tray host just before the tests.
    ASSERT_TRUE(QTest::qWaitFor([] { return trayOwner() != 0; }, 5000)) << "no tray host";
    ::setenv("TUNELARK_WINDIR", dir.str().c_str(), 1);
    host.notifyIcon = &desktop.notifyIcons();
    host.shell = &desktop;
    host.menus = &desktop;
    form = std::make_unique<Form1>(app, host);
    form->Form_Load();
    window = std::make_unique<qt::MainWindow>(*form);
    window->setWindowIcon(qt::appIcon(window->skin()));
    window->sync();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  void TearDown() override { ::unsetenv("TUNELARK_WINDIR"); }

  // The one icon in the tray host; an empty rectangle when there is none after a wait.
  QRect trayIcon() {
    QRect place;
    (void)QTest::qWaitFor(
        [&] {
          const auto icons = desktop.tray().icons();
          place = icons.size() == 1 ? icons.front()->geometry() : QRect();
          return place.isValid() && place.topLeft() != QPoint(0, 0);
        },
        5000);
    return place;
  }
  int iconCount() { return desktop.notifyIcons().iconCount(); }

  // Real clicks (button, repeat) on the tray icon, then a right press; `pick` is the item
  // clicked in each menu that opens, -1 to dismiss it.
  PopupsSeen pressTrayIcon(int pick, std::vector<std::pair<int, int>> clicks = {}) {
    PopupsSeen seen;
    QTimer watch;
    watch.setInterval(20);
    // The menu waits in its own event loop, so it is read and answered from a timer.
    QObject::connect(&watch, &QTimer::timeout, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu || menu->property("seen").toBool()) return;
      menu->setProperty("seen", true);
      const QList<QAction*> actions = menu->actions();
      if (seen.opened++ == 0) {
        seen.showPlaylistEnabled = actions.value(2) && actions[2]->isEnabled();
        seen.defaultItem = static_cast<int>(actions.indexOf(menu->defaultAction()));
      }
      if (pick < 0 || pick >= actions.size())
        QProcess::execute("xdotool", {"key", "Escape"});
      else
        clickAt(menu->mapToGlobal(menu->actionGeometry(actions[pick]).center()), 1);
    });
    watch.start();
    const QRect icon = trayIcon();
    EXPECT_TRUE(icon.isValid()) << "no icon in the tray";
    clicks.emplace_back(3, 1);
    for (const auto& [button, repeat] : clicks) clickAt(icon.center(), button, repeat);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return seen.opened > 0 && !QApplication::activePopupWidget(); }, 5000))
        << "no menu came and went";
    // Whatever the clicks before the right press would have opened has arrived by now.
    QTest::qWait(100);
    return seen;
  }

  void storePresentation(const std::string& value) {
    dir.write("tunelark.ini", "[Option]\r\ntaskbar=" + value + "\r\n");
  }
  // The settings file's text, "" when there is none.
  std::string settings() const { return tunelark::testing::readFile(dir.str() + "/tunelark.ini"); }
  // Opens Preferences with its button; the dialog, or nullptr when none opened.
  QWidget* openPreferences() {
    window->click("Image29");
    return window->findChild<QWidget*>(QStringLiteral("Form4"));
  }

  tunelark::testing::TempDir dir;
  AppState app;
  qt::QtDesktop desktop;
  tunelark::testing::FakeHost host;
  std::unique_ptr<Form1> form;
  std::unique_ptr<qt::MainWindow> window;  // destroyed first
};

}  // namespace tunelark::desktop_testing
