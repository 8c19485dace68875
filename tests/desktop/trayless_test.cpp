// A desktop without a tray host, and a tray host that goes away: the window must stay within
// the user's reach.
#include <QAbstractButton>
#include <QTest>

#include "desktop_fixture.h"
#include "shell/presentation.h"
#include "tray_host.h"

namespace tunelark::desktop_testing {
namespace {

// Gives the display its tray host back, however the test ends.
struct TrayHostBack {
  ~TrayHostBack() {
    if (!trayHostRunning()) {
      EXPECT_TRUE(startTrayHost());
    }
  }
};

class Trayless : public DesktopTest {
 protected:
  void chooseInPreferences(const char* option) {
    window->click("Image29");
    auto* dialog = window->findChild<QWidget*>(QStringLiteral("Form4"));
    ASSERT_NE(dialog, nullptr);
    for (const char* name : {option, "Command2"})
      QTest::mouseClick(dialog->findChild<QAbstractButton*>(QLatin1String(name)), Qt::LeftButton);
  }
  TrayHostBack back;
};

TEST_F(Trayless, TrayOnlyKeepsTheWindowInTheTaskbarAndSaysSoOnce) {
  ASSERT_TRUE(stopTrayHost());
  chooseInPreferences("tray");
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
  chooseInPreferences("tray");
  ASSERT_FALSE(window->isVisible());
  ASSERT_TRUE(trayIcon().isValid());
  ASSERT_TRUE(stopTrayHost());
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 5000));
  EXPECT_TRUE(form->Visible);
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace tunelark::desktop_testing
