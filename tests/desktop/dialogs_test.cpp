// The window's dialogs on the real display: the About box's links, Preferences as designed and
// each choice's outcome, both closed without their buttons; and the minimise button applying
// the stored presentation.
#include <sys/stat.h>

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
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

using AboutBox = DesktopTest;

// The url and email lines, then the logo on the main window; the help button only says so.
TEST_F(AboutBox, OpensItsLinksAndTheLogosLink) {
  LinkCatcher links;
  window->click("Image34");
  auto* dialog = window->findChild<QWidget*>(QStringLiteral("Form2"));
  ASSERT_NE(dialog, nullptr);
  for (const char* name : {"url", "email"}) {
    auto* link = dialog->findChild<QLabel*>(QLatin1String(name));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->cursor().shape(), Qt::UpArrowCursor);
    QTest::mouseClick(link, Qt::LeftButton);
  }
  QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
  EXPECT_EQ(form->form2, nullptr);
  EXPECT_TRUE(window->face()->isEnabled());
  window->click("Picture1");
  ASSERT_EQ(links.opened.size(), 3);
  EXPECT_EQ(links.opened[0], QUrl(QStringLiteral("http://www.example.org")));
  EXPECT_EQ(links.opened[1].scheme(), QStringLiteral("mailto"));
  EXPECT_EQ(links.opened[1].path(), QStringLiteral("  mail@example.org")) << "two spaces kept";
  EXPECT_EQ(links.opened[2], links.opened[0]);
  window->click("Image30");
  EXPECT_EQ(host.messages, std::vector<std::string>{"Help Not Available Yet.."});
}

// Closed by the window manager or Escape: nothing applied or stored, the main window enabled
// again. Preferences opens without close or size boxes at Taskbar Only, whatever is stored.
struct CloseCase {
  const char* button;
  const char* dialog;
  bool escape;
};

class DialogClosedOtherwise : public DesktopTest,
                              public ::testing::WithParamInterface<CloseCase> {};

TEST_P(DialogClosedOtherwise, GivesTheMainWindowBack) {
  storePresentation("2");
  const std::string stored = settings();
  window->click(GetParam().button);
  auto* dialog = window->findChild<QWidget*>(QLatin1String(GetParam().dialog));
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(window->face()->isEnabled());
  if (auto* taskbar = dialog->findChild<QRadioButton*>(QStringLiteral("taskbar"))) {
    EXPECT_FALSE(dialog->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
    EXPECT_TRUE(taskbar->isChecked());
    QStringList chain;
    for (QWidget* w = taskbar; chain.size() < 5; w = w->nextInFocusChain())
      if (w->focusPolicy() & Qt::TabFocus) chain << w->objectName();
    EXPECT_EQ(chain.join(' '), QStringLiteral("taskbar tray taskbartray Command3 Command2"));
  }
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  if (GetParam().escape)
    QTest::keyClick(dialog, Qt::Key_Escape);
  else
    ASSERT_TRUE(e2e::askWindowToClose(std::to_string(dialog->winId())));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->face()->isEnabled(); }, 5000));
  EXPECT_EQ(form->form4, nullptr);
  EXPECT_EQ(form->form2, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(settings(), stored);
}

INSTANTIATE_TEST_SUITE_P(EachWay, DialogClosedOtherwise,
                         ::testing::Values(CloseCase{"Image29", "Form4", false},
                                           CloseCase{"Image29", "Form4", true},
                                           CloseCase{"Image34", "Form2", false},
                                           CloseCase{"Image34", "Form2", true}));

// The minimise button, clicked twice, applies the stored presentation anew and minimises; then
// Preferences, when opened, applies the choice given by `option` and `button`, stores it and
// gives the window back. Either way the tray holds one icon at most.
struct PresentationCase {
  const char* what;
  const char* file;    // the settings file's text; none: no file
  const char* option;  // clicked in Preferences before `button`; none: the button at once
  const char* button;  // OK (Command2) or Cancel (Command3); none: Preferences stays closed
  mode_t mode;         // of the settings file while Preferences is open
  bool visible;
  int icons;
  int stored;  // the value in the file afterwards
  int beeps;
};

class Presentation : public DesktopTest, public ::testing::WithParamInterface<PresentationCase> {};

TEST_P(Presentation, IsAppliedWithOneTrayIconAtMost) {
  const PresentationCase& c = GetParam();
  if (c.file) dir.write("tunelark.ini", c.file);
  window->click("Image27");
  window->click("Image27");
  ::chmod((dir.str() + "/tunelark.ini").c_str(), c.mode);
  if (c.button) {
    QWidget* dialog = openPreferences();
    ASSERT_NE(dialog, nullptr);
    if (c.option) press(dialog, c.option);
    press(dialog, c.button);
    EXPECT_EQ(form->form4, nullptr);
    EXPECT_TRUE(window->face()->isEnabled());
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

INSTANTIATE_TEST_SUITE_P(
    EachWay, Presentation,
    ::testing::Values(PresentationCase{"taskbar only", "[Option]\ntaskbar=1\n", nullptr, nullptr,
                                       0644, true, 0, 1, 0},
                      PresentationCase{"tray only", "[option]\ntaskbar= 2 \n", nullptr, nullptr,
                                       0644, false, 1, 2, 0},
                      PresentationCase{"both", "[OPTION]\ntaskbar=3\n", nullptr, nullptr, 0644,
                                       true, 1, 3, 0},
                      PresentationCase{"no file", nullptr, nullptr, nullptr, 0644, true, 0, 0, 0},
                      PresentationCase{"empty value", "[Option]\ntaskbar=\n", nullptr, nullptr,
                                       0644, true, 0, 0, 2},
                      PresentationCase{"set taskbar", "[Option]\ntaskbar=1\n", "taskbar",
                                       "Command2", 0644, true, 0, 1, 0},
                      PresentationCase{"set tray", "[Option]\ntaskbar=1\n", "tray", "Command2",
                                       0644, false, 1, 2, 0},
                      PresentationCase{"set both", "[Option]\ntaskbar=1\n", "taskbartray",
                                       "Command2", 0644, true, 1, 3, 0},
                      // OK at once is Taskbar Only: the icon goes, the window shows.
                      PresentationCase{"OK at once", "[Option]\ntaskbar=2\n", nullptr, "Command2",
                                       0644, true, 0, 1, 0},
                      PresentationCase{"cancel", "[Option]\ntaskbar=2\n", "taskbar", "Command3",
                                       0644, false, 1, 2, 0},
                      // A failed write beeps; the choice is applied all the same.
                      PresentationCase{"unwritable", "[Option]\ntaskbar=1\n", "tray", "Command2",
                                       0444, false, 1, 1, 1}),
    [](const auto& p) {
      std::string name = p.param.what;
      for (char& ch : name)
        if (ch == ' ') ch = '_';
      return name;
    });

}  // namespace
}  // namespace tunelark::desktop_testing

#include "dialogs_test.moc"
