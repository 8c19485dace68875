// The desktop on the real display of scripts/test-env, with the real desktop services and real
// input through xdotool: the About box and Preferences, the presentation and its tray icon, the
// icon's popup menu, and a tray host that is missing or goes away.
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>
#include <cstdio>

#include "../e2e/window_manager_close.h"
#include "desktop_fixture.h"
#include "shell/presentation.h"
#include "shell/presentation_setting.h"
#include "ui/options_menu.h"

namespace tunelark::desktop_testing {
namespace {

// Takes the links the desktop would open, in their order.
class LinkCatcher : public QObject {
  Q_OBJECT
 public:
  LinkCatcher() {
    for (const char* scheme : {"http", "mailto"})
      QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
  }
  ~LinkCatcher() override {
    for (const char* scheme : {"http", "mailto"})
      QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
  }
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened << url; }
};

// Closes `dialog` by `way`: the button of that name, "escape", "enter" (the default button), or
// "wm" as a window manager does.
void closeDialog(QWidget* dialog, const std::string& way) {
  if (way == "escape" || way == "enter") {
    QTest::keyClick(dialog, way == "escape" ? Qt::Key_Escape : Qt::Key_Return);
  } else if (way == "wm") {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    ASSERT_TRUE(e2e::askWindowToClose(std::to_string(dialog->winId())));
  } else {
    press(dialog, way.c_str());
  }
}

// Each way of closing gives the main window back. The url and email lines open their links, by
// a click or by Space, then the logo on the main window does; the help button only says it is
// not there.
TEST_F(DesktopTest, AboutBoxOpensItsLinksAndClosesEveryWay) {
  LinkCatcher links;
  for (const std::string way : {"Command1", "escape", "wm", "enter"}) {
    SCOPED_TRACE(way);
    window->click(ControlId::Image34);
    auto* dialog = window->findChild<QWidget*>(QStringLiteral("Form2"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(window->face()->isEnabled());
    for (const char* name : {"url", "email"}) {
      auto* link = dialog->findChild<QLabel*>(QLatin1String(name));
      ASSERT_NE(link, nullptr);
      EXPECT_EQ(link->cursor().shape(), Qt::UpArrowCursor);
      if (way == "enter")
        QTest::keyClick(link, Qt::Key_Space);
      else
        QTest::mouseClick(link, Qt::LeftButton);
    }
    if (way == std::string("wm")) {  // asked for from the tray while behind another window
      QWidget other;
      other.show();
      other.activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
      form->mnuopt_Click(kMnuAbout);
      window->sync();
      EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
    }
    closeDialog(dialog, way);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->face()->isEnabled(); }, 5000));
    EXPECT_EQ(form->form2, nullptr);
  }
  window->click(ControlId::Picture1);
  ASSERT_EQ(links.opened.size(), 9);
  EXPECT_EQ(links.opened[0], QUrl(QStringLiteral("http://www.example.org")));
  EXPECT_EQ(links.opened[1].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(links.opened[1].path(), QStringLiteral("  mail@example.org")) << "two spaces kept";
  EXPECT_EQ(links.opened.mid(2),
            links.opened.mid(0, 2) + links.opened.mid(0, 2) + links.opened.mid(0, 3))
      << "the same links each time, then the logo's";
  window->click(ControlId::Image30);
  EXPECT_EQ(host.messages, std::vector<std::string>{"Help Not Available Yet.."});
}

// The minimise button, clicked twice, applies the stored presentation anew and minimises. Then
// Preferences, without close or size boxes, opens at Taskbar Only whatever is stored; an option
// and a way of closing it decide what is applied and stored. The tray keeps one icon at most.
struct Row {
  const char* what;
  const char* file;    // the settings file's text; none: no file
  const char* option;  // clicked in Preferences before it is closed; none: no option
  const char* close;   // how Preferences is closed (see closeDialog); none: it is not opened
  mode_t mode;         // of the settings file while Preferences is open
  bool visible;
  int icons, stored, beeps;  // stored: the value in the file afterwards
};

class Presentation : public DesktopTest, public ::testing::WithParamInterface<Row> {};

TEST_P(Presentation, IsAppliedWithOneTrayIconAtMost) {
  const Row& c = GetParam();
  SCOPED_TRACE(c.what);
  if (c.file) dir.write("tunelark.ini", c.file);
  window->click(ControlId::Image27);
  window->click(ControlId::Image27);
  ::chmod((dir.str() + "/tunelark.ini").c_str(), c.mode);
  if (c.close) {
    QWidget* dialog = openPreferences();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
    auto* taskbar = dialog->findChild<QRadioButton*>(QStringLiteral("taskbar"));
    EXPECT_TRUE(taskbar->isChecked());
    QStringList chain;
    for (QWidget* w = taskbar; chain.size() < 5; w = w->nextInFocusChain())
      if (w->focusPolicy() & Qt::TabFocus) chain << w->objectName();
    EXPECT_EQ(chain.join(' '), QStringLiteral("taskbar tray taskbartray Command3 Command2"));
    if (c.option) press(dialog, c.option);
    closeDialog(dialog, c.close);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->face()->isEnabled(); }, 5000));
    EXPECT_EQ(form->form4, nullptr);
  } else {
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
  }
  EXPECT_EQ(window->isVisible(), c.visible);
  const auto icons = desktop.tray().findChildren<QSystemTrayIcon*>();
  EXPECT_EQ(icons.size(), c.icons);
  if (c.icons) {
    EXPECT_TRUE(trayIcon().isValid()) << "exactly one icon in the tray host";
    EXPECT_EQ(icons.front()->toolTip(), QStringLiteral("Tunelark 2.01"));
    EXPECT_FALSE(desktop.notifyIcons().Shell_NotifyIconA(NIM_ADD, form->SystemTray.traydata));
  }
  EXPECT_EQ(readPresentation(app.settingsPath).value, c.stored);
  EXPECT_EQ(host.beeps, c.beeps);
  EXPECT_TRUE(host.messages.empty());
}

// OK at once is Taskbar Only; a failed write beeps, and the choice is applied all the same.
INSTANTIATE_TEST_SUITE_P(
    EachWay, Presentation,
    ::testing::Values(
        Row{"taskbar only", "[Option]\ntaskbar=1\n", 0, 0, 0644, true, 0, 1, 0},
        Row{"tray only", "[option]\ntaskbar= 2 \n", 0, 0, 0644, false, 1, 2, 0},
        Row{"both", "[OPTION]\ntaskbar=3\n", 0, 0, 0644, true, 1, 3, 0},
        Row{"no file", 0, 0, 0, 0644, true, 0, 0, 0},
        Row{"empty value", "[Option]\ntaskbar=\n", 0, 0, 0644, true, 0, 0, 2},
        Row{"set tray", "[Option]\ntaskbar=1\n", "tray", "Command2", 0644, false, 1, 2, 0},
        Row{"set both", "[Option]\ntaskbar=1\n", "taskbartray", "Command2", 0644, true, 1, 3, 0},
        Row{"OK at once", "[Option]\ntaskbar=2\n", 0, "Command2", 0644, true, 0, 1, 0},
        Row{"cancel", "[Option]\ntaskbar=2\n", "taskbar", "Command3", 0644, false, 1, 2, 0},
        Row{"escape", "[Option]\ntaskbar=2\n", "taskbar", "escape", 0644, false, 1, 2, 0},
        Row{"enter", "[Option]\ntaskbar=1\n", "taskbartray", "enter", 0644, true, 1, 3, 0},
        Row{"window manager", "[Option]\ntaskbar=2\n", "taskbar", "wm", 0644, false, 1, 2, 0},
        Row{"unwritable", "[Option]\ntaskbar=1\n", "tray", "Command2", 0444, false, 1, 1, 1}));

// Right presses on the window and its lists; then, in each presentation, a left click, a double
// click and a right press on the tray icon: only the icon's right press opens the menu, which
// offers Show Playlist only while the window is hidden and draws its default item in bold (the
// separator 1 leaves none bold). Its items work, nothing is stored, every selection is kept.
TEST_F(DesktopTest, TrayPopupOpensOnlyOnTheIconsRightPress) {
  for (const char* name : {"a.ra", "b.ra"}) {
    dir.write(std::string("c/") + name, "x");
    form->List1.AddItem(name);
  }
  ASSERT_TRUE(form->File1.setPath(dir.str() + "/c"));
  window->sync();
  const TreeNode* treeSelection = form->tvwControl.SelectedItem();
  for (const char* name : {"tvwControl", "File1", "List1"}) {
    auto* view = window->findChild<QAbstractItemView*>(QLatin1String(name));
    ASSERT_NE(view, nullptr) << name;
    const QModelIndex target = view->model()->index(name == std::string("tvwControl") ? 0 : 1, 0);
    clickAt(view->viewport()->mapToGlobal(view->visualRect(target).center()), 3);
  }
  clickAt(window->mapToGlobal(QPoint(250, 10)), 3);
  // The presentation the minimise button applies, the item clicked (-1: the menu is dismissed),
  // and what the menu offers.
  for (const auto& [stored, pick, showPlaylistEnabled, defaultItem] :
       {std::tuple{"3", -1, false, 1},
        {"2", kMnuShowPlaylist, true, 0},
        {"3", kMnuExit, false, 1}}) {
    SCOPED_TRACE(pick);
    storePresentation(stored);
    window->click(ControlId::Image27);
    const std::string before = tunelark::testing::readFile(app.settingsPath);
    // The menu waits in its own event loop, so it is read and answered from a timer.
    int opened = 0;
    QMenu* seen = nullptr;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu || menu == seen) return;
      seen = menu;
      const QList<QAction*> actions = menu->actions();
      if (opened++ == 0) {
        EXPECT_EQ(actions.value(2) && actions[2]->isEnabled(), showPlaylistEnabled);
        EXPECT_EQ(actions.indexOf(menu->defaultAction()), defaultItem);
      }
      if (pick < 0)
        QProcess::execute("xdotool", {"key", "Escape"});
      else
        clickAt(menu->mapToGlobal(menu->actionGeometry(actions.value(pick)).center()), 1);
    });
    watch.start();
    const QRect icon = trayIcon();
    ASSERT_TRUE(icon.isValid()) << "no icon in the tray";
    for (const auto& [button, repeat] : {std::pair{1, 1}, {1, 2}, {3, 1}})
      clickAt(icon.center(), button, repeat);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return opened > 0 && !QApplication::activePopupWidget(); }, 5000));
    QTest::qWait(100);  // whatever the clicks before the right press would open has come by now
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(host.ended, pick == kMnuExit);
    EXPECT_EQ(tunelark::testing::readFile(app.settingsPath), before);
    if (pick == kMnuShowPlaylist) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 2000));
      EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
    }
  }
  EXPECT_EQ(form->tvwControl.SelectedItem(), treeSelection);
  EXPECT_TRUE(form->File1.selectedRows().empty());
  EXPECT_TRUE(form->List1.selectedRows().empty());
}

// Without a tray host, Tray Only keeps the window in the taskbar and says so once; with one, it
// hides the window, which comes back when the host goes away.
TEST_F(DesktopTest, WithoutATrayHostTheWindowStaysWithinReach) {
  ASSERT_TRUE(stopTrayHost());
  QWidget* dialog = openPreferences();
  press(dialog, "tray");
  press(dialog, "Command2");
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
  EXPECT_TRUE(desktop.tray().findChildren<QSystemTrayIcon*>().empty());
  storePresentation("2");
  window->click(ControlId::Image27);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);

  ASSERT_TRUE(startTrayHost());
  dialog = openPreferences();
  press(dialog, "tray");
  press(dialog, "Command2");
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(trayIcon().isValid());
  ASSERT_TRUE(stopTrayHost());
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 5000));
  EXPECT_EQ(host.messages, std::vector<std::string>{kNoTrayMessage});
}

}  // namespace
}  // namespace tunelark::desktop_testing

// The tests stop and start the tray host of scripts/test-env, which must never happen to a
// user's own desktop.
int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") || !std::getenv("TUNELARK_TEST_ENV")) {
    std::printf("[  SKIPPED ] desktop tests: run them under scripts/test-env\n");
    return std::getenv("TUNELARK_TEST_ENV") ? 1 : 0;  // there the display must be
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

#include "desktop_test.moc"
