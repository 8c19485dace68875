// The window's dialogs on the real display, closed by their buttons, by Escape or by the window
// manager: the About box's links, and Preferences as designed with each choice's outcome; and
// the minimise button applying the stored presentation.
#include <sys/stat.h>

#include <QDesktopServices>
#include <QLabel>
#include <QRadioButton>
#include <QUrl>

#include "../e2e/window_manager_close.h"
#include "desktop_fixture.h"
#include "platform/notify_icon.h"
#include "shell/presentation_setting.h"

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

// Closes `dialog` by `way`: the button of that name, "escape", or "wm" as a window manager does.
void closeDialog(QWidget* dialog, const std::string& way) {
  if (way == "escape") {
    QTest::keyClick(dialog, Qt::Key_Escape);
  } else if (way == "wm") {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    ASSERT_TRUE(e2e::askWindowToClose(std::to_string(dialog->winId())));
  } else {
    press(dialog, way.c_str());
  }
}

using AboutBox = DesktopTest;

// Each way of closing gives the main window back. The url and email lines open their links,
// then the logo on the main window does; the help button only says it is not there.
TEST_F(AboutBox, OpensItsLinksAndClosesEveryWay) {
  LinkCatcher links;
  for (const char* way : {"Command1", "escape", "wm"}) {
    SCOPED_TRACE(way);
    window->click("Image34");
    auto* dialog = window->findChild<QWidget*>(QStringLiteral("Form2"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(window->face()->isEnabled());
    for (const char* name : {"url", "email"}) {
      auto* link = dialog->findChild<QLabel*>(QLatin1String(name));
      ASSERT_NE(link, nullptr);
      EXPECT_EQ(link->cursor().shape(), Qt::UpArrowCursor);
      QTest::mouseClick(link, Qt::LeftButton);
    }
    closeDialog(dialog, way);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->face()->isEnabled(); }, 5000));
    EXPECT_EQ(form->form2, nullptr);
  }
  window->click("Picture1");
  ASSERT_EQ(links.opened.size(), 7);
  EXPECT_EQ(links.opened[0], QUrl(QStringLiteral("http://www.example.org")));
  EXPECT_EQ(links.opened[1].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(links.opened[1].path(), QStringLiteral("  mail@example.org")) << "two spaces kept";
  EXPECT_EQ(links.opened.mid(2), links.opened.mid(0, 2) + links.opened.mid(0, 3))
      << "the same links each time, then the logo's";
  window->click("Image30");
  EXPECT_EQ(host.messages, std::vector<std::string>{"Help Not Available Yet.."});
}

// The minimise button, clicked twice, applies the stored presentation anew and minimises; then
// Preferences, when opened, has no close or size boxes and starts at Taskbar Only whatever is
// stored: an option and a way of closing it decide what is applied and stored. The tray holds
// one icon at most.
struct Row {
  const char* what;
  const char* file;    // the settings file's text; none: no file
  const char* option;  // clicked in Preferences before it is closed; none: no option
  const char* close;   // how Preferences is closed (see closeDialog); none: it is not opened
  mode_t mode;         // of the settings file while Preferences is open
  bool visible;
  int icons;
  int stored;  // the value in the file afterwards
  int beeps;
};

class Presentation : public DesktopTest, public ::testing::WithParamInterface<Row> {};

TEST_P(Presentation, IsAppliedWithOneTrayIconAtMost) {
  const Row& c = GetParam();
  SCOPED_TRACE(c.what);
  if (c.file) dir.write("tunelark.ini", c.file);
  window->click("Image27");
  window->click("Image27");
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
    EXPECT_EQ(form->WindowState, ShowState::Minimised);
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
  }
  EXPECT_EQ(form->Visible, c.visible);
  EXPECT_EQ(window->isVisible(), c.visible);
  EXPECT_EQ(iconCount(), c.icons);
  if (c.icons) {
    EXPECT_TRUE(trayIcon().isValid()) << "exactly one icon in the tray host";
    EXPECT_EQ(desktop.tray().icons().front()->toolTip(), QStringLiteral("Tunelark 2.01"));
    EXPECT_FALSE(desktop.notifyIcons().Shell_NotifyIconA(NIM_ADD, form->SystemTray.traydata));
  }
  EXPECT_FALSE(desktop.notifyIcons().Shell_NotifyIconA(NIM_DELETE, NotifyIconData{}));
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
        Row{"set taskbar", "[Option]\ntaskbar=1\n", "taskbar", "Command2", 0644, true, 0, 1, 0},
        Row{"set tray", "[Option]\ntaskbar=1\n", "tray", "Command2", 0644, false, 1, 2, 0},
        Row{"set both", "[Option]\ntaskbar=1\n", "taskbartray", "Command2", 0644, true, 1, 3, 0},
        Row{"OK at once", "[Option]\ntaskbar=2\n", 0, "Command2", 0644, true, 0, 1, 0},
        Row{"cancel", "[Option]\ntaskbar=2\n", "taskbar", "Command3", 0644, false, 1, 2, 0},
        Row{"escape", "[Option]\ntaskbar=2\n", "taskbar", "escape", 0644, false, 1, 2, 0},
        Row{"window manager", "[Option]\ntaskbar=2\n", "taskbar", "wm", 0644, false, 1, 2, 0},
        Row{"unwritable", "[Option]\ntaskbar=1\n", "tray", "Command2", 0444, false, 1, 1, 1}));

}  // namespace
}  // namespace tunelark::desktop_testing

#include "dialogs_test.moc"
