// The eight view layouts. Which one the flags choose is checked by the walk of the toggles.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/fake_host.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

constexpr int kUntouched = -1;  // the layout must leave this frame's top as it found it

struct Layout {
  const char* method;
  std::function<void(Form1&)> call;
  bool player, browser, playlist;
  int playerTop, browserTop, playlistTop;
  int height;
};

const Layout kLayouts[] = {
    {"normal", &Form1::normal, true, true, true, 1300, 3450, 5600, 7770},
    {"Realfile", &Form1::Realfile, true, true, false, 1300, 3450, kUntouched, 5610},
    {"Realplaylist", &Form1::Realplaylist, true, false, true, kUntouched, kUntouched, 3450, 5640},
    {"Fileplaylist", &Form1::Fileplaylist, false, true, true, kUntouched, 1300, 3450, 5625},
    {"Realonly", &Form1::Realonly, true, false, false, kUntouched, kUntouched, kUntouched, 3465},
    {"fileonly", &Form1::fileonly, false, true, false, kUntouched, 1300, kUntouched, 3480},
    {"playlistonly", &Form1::playlistonly, false, false, true, kUntouched, kUntouched, 1300, 3480},
    {"panel", &Form1::panel, false, false, false, kUntouched, kUntouched, kUntouched, 1320}};

TEST(ViewModes, EachLayoutSetsVisibilityTopsAndHeightAndNothingElse) {
  AppState app;
  testing::FakeHost host;
  Form1 w{app, host};
  // Start every case from a state no layout produces, so a top the layout leaves alone is seen
  // to stay, and a visibility it sets is seen to change.
  constexpr int kMovedPlayer = 111, kMovedBrowser = 222, kMovedPlaylist = 333;
  for (const Layout& l : kLayouts) {
    SCOPED_TRACE(l.method);
    w.Realframe.top = kMovedPlayer;
    w.Fileframe.top = kMovedBrowser;
    w.Playlistframe.top = kMovedPlaylist;
    w.Realframe.visible = !l.player;
    w.Fileframe.visible = !l.browser;
    w.Playlistframe.visible = !l.playlist;
    w.Height = 1;
    const int flags[] = {w.playershown, w.browsershown, w.listshown};

    l.call(w);

    EXPECT_EQ(w.Realframe.visible, l.player);
    EXPECT_EQ(w.Fileframe.visible, l.browser);
    EXPECT_EQ(w.Playlistframe.visible, l.playlist);
    EXPECT_EQ(w.Realframe.top, l.playerTop == kUntouched ? kMovedPlayer : l.playerTop);
    EXPECT_EQ(w.Fileframe.top, l.browserTop == kUntouched ? kMovedBrowser : l.browserTop);
    EXPECT_EQ(w.Playlistframe.top, l.playlistTop == kUntouched ? kMovedPlaylist : l.playlistTop);
    EXPECT_EQ(w.Height, l.height);
    EXPECT_EQ(w.Width, 7350);
    EXPECT_TRUE(w.Atasframe.visible);
    EXPECT_EQ(w.Atasframe.top, 0);
    for (const Control* f : {&w.Atasframe, &w.Realframe, &w.Fileframe, &w.Playlistframe})
      EXPECT_EQ(f->width, 7380) << f->name;
    // A layout is only a layout: the flags belong to the toggles.
    EXPECT_EQ(w.playershown, flags[0]);
    EXPECT_EQ(w.browsershown, flags[1]);
    EXPECT_EQ(w.listshown, flags[2]);
  }
}

}  // namespace
}  // namespace tunelark
