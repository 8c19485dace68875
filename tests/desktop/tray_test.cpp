// The tray icon's popup menu, opened with real presses on the icon in the tray host: what it
// offers, what its items do, and that nothing else opens it; and a desktop whose tray host is
// missing or goes away, where the window must stay within the user's reach.
#include <QAbstractItemView>

#include "desktop_fixture.h"
#include "shell/presentation.h"
#include "ui/options_menu.h"

namespace tunelark::desktop_testing {
namespace {

struct PopupCase {
  const char* what;
  const char* stored;  // the presentation the minimise button applies first
  int pick;            // the item clicked; -1: the menu is dismissed
  bool showPlaylistEnabled;
  int defaultItem;  // drawn in bold; the separator 1 leaves none bold
  bool ended;
};

class TrayPopup : public DesktopTest, public ::testing::WithParamInterface<PopupCase> {};

// Right presses on the window and its lists first, then a left click and a double click on the
// icon: only the icon's right press opens the menu, and every selection is kept.
TEST_P(TrayPopup, OpensOnlyOnTheIconsRightPress) {
  const PopupCase& c = GetParam();
  SCOPED_TRACE(c.what);
  for (const char* name : {"a.ra", "b.ra"}) {
    dir.write(std::string("c/") + name, "x");
    form->List1.AddItem(name);
  }
  ASSERT_TRUE(form->File1.setPath(dir.str() + "/c"));
  form->File1.setSelected(0, true);
  form->List1.setSelected(0, true);
  window->sync();
  const TreeNode* treeSelection = form->tvwControl.SelectedItem();
  for (const char* name : {"tvwControl", "File1", "List1"}) {
    auto* view = window->findChild<QAbstractItemView*>(QLatin1String(name));
    ASSERT_NE(view, nullptr) << name;
    const QModelIndex target = view->model()->index(name == std::string("tvwControl") ? 0 : 1, 0);
    clickAt(view->viewport()->mapToGlobal(view->visualRect(target).center()), 3);
  }
  clickAt(window->mapToGlobal(QPoint(250, 10)), 3);

  storePresentation(c.stored);
  window->click("Image27");
  const std::string before = settings();
  const PopupsSeen seen = pressTrayIcon(c.pick, {{1, 1}, {1, 2}});
  EXPECT_EQ(seen.opened, 1);
  EXPECT_EQ(seen.showPlaylistEnabled, c.showPlaylistEnabled);
  EXPECT_EQ(seen.defaultItem, c.defaultItem);
  EXPECT_EQ(host.ended, c.ended);
  EXPECT_EQ(settings(), before) << "nothing is stored";
  EXPECT_EQ(form->tvwControl.SelectedItem(), treeSelection);
  EXPECT_EQ(form->File1.selectedRows(), std::vector<int>{0});
  EXPECT_EQ(form->List1.selectedRows(), std::vector<int>{0});
  if (c.pick == kMnuShowPlaylist) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 2000));
    EXPECT_EQ(form->WindowState, ShowState::Normal);
    EXPECT_FALSE(window->windowState() & Qt::WindowMinimized);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrayPopup,
    ::testing::Values(PopupCase{"minimised, in the taskbar", "3", -1, false, 1, false},
                      PopupCase{"hidden, Show Playlist", "2", kMnuShowPlaylist, true, 0, false},
                      PopupCase{"Exit", "3", kMnuExit, false, 1, true}));

// The display gets its tray host back, however the test ended.
class Trayless : public DesktopTest {
 protected:
  void TearDown() override {
    DesktopTest::TearDown();
    EXPECT_TRUE(trayOwner() || startTrayHost());
  }
};

// Without a tray host, Tray Only keeps the window in the taskbar and says so once; with one, it
// hides the window, which comes back when the host goes away.
TEST_F(Trayless, TheWindowStaysWithinReach) {
  const auto chooseTrayOnly = [this] {
    QWidget* dialog = openPreferences();
    press(dialog, "tray");
    press(dialog, "Command2");
  };
  ASSERT_TRUE(stopTrayHost());
  chooseTrayOnly();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(form->WindowState, ShowState::Minimised);
  EXPECT_EQ(iconCount(), 0);
  storePresentation("2");
  window->click("Image27");
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);

  ASSERT_TRUE(startTrayHost());
  chooseTrayOnly();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(trayIcon().isValid());
  ASSERT_TRUE(stopTrayHost());
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }, 5000));
  EXPECT_TRUE(form->Visible);
  EXPECT_EQ(host.messages, std::vector<std::string>{kNoTrayMessage});
}

}  // namespace
}  // namespace tunelark::desktop_testing
