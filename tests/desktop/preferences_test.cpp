// Preferences on the real display: each choice's outcome, and dialogs closed without buttons.
#include <sys/stat.h>

#include <QRadioButton>
#include <QTest>

#include "../e2e/window_manager_close.h"
#include "desktop_fixture.h"
#include "shell/presentation_setting.h"

namespace tunelark::desktop_testing {
namespace {

class Preferences : public DesktopTest {
 protected:
  int stored() { return readPresentation(app.settingsPath).value; }
};

TEST_F(Preferences, OpensAsDesignedAtTaskbarOnlyWhateverIsStored) {
  storePresentation("2");
  QWidget* dialog = openPreferences();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(dialog->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint));
  auto* taskbar = dialog->findChild<QRadioButton*>(QStringLiteral("taskbar"));
  ASSERT_NE(taskbar, nullptr);
  EXPECT_TRUE(taskbar->isChecked());
  EXPECT_FALSE(window->face()->isEnabled());
  QStringList chain;
  for (QWidget* w = taskbar; chain.size() < 5; w = w->nextInFocusChain())
    if (w->focusPolicy() & Qt::TabFocus) chain << w->objectName();
  EXPECT_EQ(chain.join(' '), QStringLiteral("taskbar tray taskbartray Command3 Command2"));
}

struct ButtonCase {
  const char* option;  // the option clicked; none: the button at once
  const char* button;  // OK (Command2) or Cancel (Command3)
  const char* before;  // the presentation minimise applied first, and the file's mode
  mode_t mode;
  bool visible;
  int icons;
  int stored;
  int beeps;
};

class PreferencesButton : public Preferences, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(PreferencesButton, AppliesStoresAndGivesTheWindowBack) {
  const ButtonCase& c = GetParam();
  storePresentation(c.before);
  window->click("Image27");
  ::chmod((dir.str() + "/tunelark.ini").c_str(), c.mode);
  QWidget* dialog = openPreferences();
  ASSERT_NE(dialog, nullptr);
  if (c.option) press(dialog, c.option);
  press(dialog, c.button);
  EXPECT_EQ(form->form4, nullptr);
  EXPECT_TRUE(window->face()->isEnabled());
  EXPECT_EQ(window->isVisible(), c.visible);
  EXPECT_EQ(iconCount(), c.icons);
  EXPECT_TRUE(!c.icons || trayIcon().isValid()) << "the tray host shows the icon";
  EXPECT_EQ(stored(), c.stored);
  EXPECT_EQ(host.beeps, c.beeps);
}

INSTANTIATE_TEST_SUITE_P(
    EachOption, PreferencesButton,
    ::testing::Values(ButtonCase{"taskbar", "Command2", "1", 0644, true, 0, 1, 0},
                      ButtonCase{"tray", "Command2", "1", 0644, false, 1, 2, 0},
                      ButtonCase{"taskbartray", "Command2", "1", 0644, true, 1, 3, 0},
                      // OK at once is Taskbar Only: the icon goes, the window shows.
                      ButtonCase{nullptr, "Command2", "2", 0644, true, 0, 1, 0},
                      ButtonCase{"taskbar", "Command3", "2", 0644, false, 1, 2, 0},
                      // A failed write beeps; the choice is applied all the same.
                      ButtonCase{"tray", "Command2", "1", 0444, false, 1, 1, 1}));

// Closed by the window manager or Escape: nothing applied, the main window enabled again.
struct CloseCase {
  const char* button;
  const char* dialog;
  bool escape;
};

class DialogClosedOtherwise : public DesktopTest,
                              public ::testing::WithParamInterface<CloseCase> {};

TEST_P(DialogClosedOtherwise, GivesTheMainWindowBack) {
  window->click(GetParam().button);
  auto* dialog = window->findChild<QWidget*>(QLatin1String(GetParam().dialog));
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  if (GetParam().escape)
    QTest::keyClick(dialog, Qt::Key_Escape);
  else
    ASSERT_TRUE(e2e::askWindowToClose(std::to_string(dialog->winId())));
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->face()->isEnabled(); }, 5000));
  EXPECT_EQ(form->form4, nullptr);
  EXPECT_EQ(form->form2, nullptr);
  EXPECT_EQ(settings(), "");
}

INSTANTIATE_TEST_SUITE_P(EachWay, DialogClosedOtherwise,
                         ::testing::Values(CloseCase{"Image29", "Form4", false},
                                           CloseCase{"Image29", "Form4", true},
                                           CloseCase{"Image34", "Form2", false},
                                           CloseCase{"Image34", "Form2", true}));

}  // namespace
}  // namespace tunelark::desktop_testing
