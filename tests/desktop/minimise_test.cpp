// The minimise button applies the stored presentation anew and minimises; one tray icon at most.
#include <QSystemTrayIcon>

#include "desktop_fixture.h"
#include "platform/notify_icon.h"

namespace tunelark::desktop_testing {
namespace {

struct MinimiseCase {
  const char* what;
  const char* file;  // the settings file's text; none: no file
  bool visible;
  int icons;
  int beeps;
};

class Minimise : public DesktopTest, public ::testing::WithParamInterface<MinimiseCase> {};

// Twice: the second click finds the icon of the first, and the tray keeps only that one.
TEST_P(Minimise, AppliesTheStoredPresentationThenMinimises) {
  const MinimiseCase& c = GetParam();
  if (c.file) dir.write("tunelark.ini", c.file);
  window->click("Image27");
  window->click("Image27");
  EXPECT_EQ(form->WindowState, ShowState::Minimised);
  EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
  EXPECT_EQ(form->Visible, c.visible);
  EXPECT_EQ(window->isVisible(), c.visible);
  EXPECT_EQ(iconCount(), c.icons);
  if (c.icons) {
    EXPECT_TRUE(trayIcon().isValid()) << "exactly one icon in the tray host";
    EXPECT_EQ(desktop.tray().icons().front()->toolTip(), QStringLiteral("Tunelark 2.01"));
    EXPECT_FALSE(desktop.notifyIcons().Shell_NotifyIconA(NIM_ADD, form->SystemTray.traydata));
  }
  EXPECT_FALSE(desktop.notifyIcons().Shell_NotifyIconA(NIM_DELETE, NotifyIconData{}));
  EXPECT_EQ(host.beeps, 2 * c.beeps);
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachStoredValue, Minimise,
    ::testing::Values(MinimiseCase{"taskbar only", "[Option]\ntaskbar=1\n", true, 0, 0},
                      MinimiseCase{"tray only", "[option]\ntaskbar= 2 \n", false, 1, 0},
                      MinimiseCase{"both", "[OPTION]\ntaskbar=3\n", true, 1, 0},
                      MinimiseCase{"no file", nullptr, true, 0, 0},
                      MinimiseCase{"empty value", "[Option]\ntaskbar=\n", true, 0, 1}));

}  // namespace
}  // namespace tunelark::desktop_testing
