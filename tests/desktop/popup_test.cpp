// The tray icon's popup menu, opened with real presses on the icon in the tray host: what it
// offers, what its items do, and that nothing else opens it.
#include <QAbstractItemView>
#include <QTest>

#include "desktop_fixture.h"
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

TEST_P(TrayPopup, OpensOnlyOnTheIconsRightPress) {
  const PopupCase& c = GetParam();
  SCOPED_TRACE(c.what);
  storePresentation(c.stored);
  window->click("Image27");
  const std::string before = settings();
  // A left click and a double click come first; only the right press may open the menu.
  const PopupsSeen seen = pressTrayIcon(c.pick, {{1, 1}, {1, 2}});
  EXPECT_EQ(seen.opened, 1);
  EXPECT_EQ(seen.showPlaylistEnabled, c.showPlaylistEnabled);
  EXPECT_EQ(seen.defaultItem, c.defaultItem);
  EXPECT_EQ(host.ended, c.ended);
  EXPECT_EQ(settings(), before) << "nothing is stored";
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

using RightPressOnWindow = DesktopTest;

TEST_F(RightPressOnWindow, DoesNothingAndKeepsEverySelection) {
  tunelark::testing::TempDir clips;
  clips.write("a.ra", "x");
  clips.write("b.ra", "x");
  ASSERT_TRUE(form->File1.setPath(clips.str()));
  form->List1.AddItem("1. a.ra");
  form->List1.AddItem("2. b.ra");
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

  storePresentation("3");
  window->click("Image27");
  EXPECT_EQ(pressTrayIcon(-1).opened, 1) << "only the icon's press opened a menu";
  EXPECT_EQ(form->tvwControl.SelectedItem(), treeSelection);
  EXPECT_EQ(form->File1.selectedRows(), std::vector<int>{0});
  EXPECT_EQ(form->List1.selectedRows(), std::vector<int>{0});
}

}  // namespace
}  // namespace tunelark::desktop_testing
