#include "desktop_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include "qt/app_icon.h"
#include "tray_host.h"

namespace tunelark::desktop_testing {

bool xdotool(const QStringList& args) {
  return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

bool clickAt(QPoint global, int button, int repeat) {
  return xdotool({"mousemove", QString::number(global.x()), QString::number(global.y()), "click",
                  "--repeat", QString::number(repeat), "--delay", "80", QString::number(button)});
}

void DesktopTest::SetUp() {
  // The test environment starts its tray host just before the tests.
  ASSERT_TRUE(QTest::qWaitFor([] { return trayHostRunning(); }, 5000)) << "no tray host";
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

void DesktopTest::TearDown() {
  window.reset();
  form.reset();
  ::unsetenv("TUNELARK_WINDIR");
}

QRect DesktopTest::trayIcon() {
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

PopupsSeen DesktopTest::pressTrayIcon(int pick, std::vector<std::pair<int, int>> clicks) {
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
      xdotool({"key", "Escape"});
    else
      clickAt(menu->mapToGlobal(menu->actionGeometry(actions[pick]).center()), 1);
  });
  watch.start();
  const QRect icon = trayIcon();
  EXPECT_TRUE(icon.isValid()) << "no icon in the tray";
  clicks.emplace_back(3, 1);
  for (const auto& [button, repeat] : clicks) clickAt(icon.center(), button, repeat);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return seen.opened > 0 && !QApplication::activePopupWidget(); }, 5000))
      << "no menu came and went";
  // Whatever the clicks before the right press would have opened has arrived by now.
  QTest::qWait(100);
  return seen;
}

QWidget* DesktopTest::openPreferences() {
  window->click("Image29");
  return window->findChild<QWidget*>(QStringLiteral("Form4"));
}

void DesktopTest::press(QWidget* dialog, const char* name) {
  auto* button = dialog ? dialog->findChild<QAbstractButton*>(QLatin1String(name)) : nullptr;
  ASSERT_NE(button, nullptr) << name;
  QTest::mouseClick(button, Qt::LeftButton);
}

void DesktopTest::storePresentation(const std::string& value) {
  dir.write("tunelark.ini", "[Option]\r\ntaskbar=" + value + "\r\n");
}

}  // namespace tunelark::desktop_testing
