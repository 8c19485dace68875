#pragma once
// The desktop tests' window: the real window with the real desktop services on the display of
// scripts/test-env, and the tray host and real input the tests drive it with.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <xcb/xcb.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "app/app_state.h"
#include "platform/notify_icon.h"
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
  auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 19, "_NET_SYSTEM_TRAY_S0"), nullptr);
  auto* reply =
      atom ? xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr)
           : nullptr;
  const xcb_window_t owner = reply ? reply->owner : 0;
  std::free(reply);
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

class DesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QTest::qWaitFor([] { return trayOwner() != 0; }, 5000)) << "no tray host yet";
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
  void TearDown() override {
    ::unsetenv("TUNELARK_WINDIR");
    EXPECT_TRUE(trayOwner() || startTrayHost()) << "the display gets its tray host back";
  }

  // The one icon in the tray host; an empty rectangle when there is none after a wait.
  QRect trayIcon() {
    QRect place;
    (void)QTest::qWaitFor(
        [&] {
          const auto icons = desktop.tray().findChildren<QSystemTrayIcon*>();
          place = icons.size() == 1 ? icons.front()->geometry() : QRect();
          return place.isValid() && place.topLeft() != QPoint(0, 0);
        },
        5000);
    return place;
  }

  void storePresentation(const std::string& value) {
    dir.write("tunelark.ini", "[Option]\r\ntaskbar=" + value + "\r\n");
  }
  // Opens Preferences with its button; the dialog, or nullptr when none opened.
  QWidget* openPreferences() {
    window->click(ControlId::Image29);
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
