// A desktop without a tray host, and a tray host that goes away: the window must stay within
// the user's reach.
#include <QTest>

#include "desktop_fixture.h"
#include "shell/presentation.h"
#include "tray_host.h"

namespace tunelark::desktop_testing {
namespace {

class Trayless : public DesktopTest {
 protected:
  void chooseTrayOnly() {
    QWidget* dialog = openPreferences();
    press(dialog, "tray");
    press(dialog, "Command2");
  }
  // The display gets its tray host back, however the test ended.
  void TearDown() override {
    DesktopTest::TearDown();
    EXPECT_TRUE(trayHostRunning() || startTrayHost());
  }
};

TEST_F(Trayless, TrayOnlyKeepsTheWindowInTheTaskbarAndSaysSoOnce) {
  ASSERT_TRUE(stopTrayHost());
  chooseTrayOnly();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(form->WindowState, ShowState::Minimised);
  EXPECT_EQ(iconCount(), 0);
  storePresentation("2");
  window->click("Image27");
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
  EXPECT_EQ(host.messages, std::vector<std::string>{kNoTrayMessage});
}

TEST_F(Trayless, TheWindowComesBackWhenTheTrayHostGoesAway) {
  chooseTrayOnly();
  ASSERT_FALSE(window->isVisible());
  ASSERT_TRUE(trayIcon().isValid());
  ASSERT_TRUE(stopTrayHost());
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 5000));
  EXPECT_TRUE(form->Visible);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace tunelark::desktop_testing
