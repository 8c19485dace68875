// Real double-clicks: on a two-state button it is one click; in the playlist it plays the row.
#include "e2e_fixture.h"
#include "support/tones.h"

namespace tunelark::e2e {
namespace {

using DoubleClick = ProgramTest;

TEST_F(DoubleClick, OnAToggleHidesTheAreaOnce) {
  RunningProgram& p = start();
  p.doubleClick(kPlayerToggle.x, kPlayerToggle.y);
  std::optional<WindowGeometry> g;
  ASSERT_TRUE(waitFor([&] {
    g = p.geometry();
    return g && g->height == 375;
  })) << "height "
      << (g ? g->height : -1);
  // The second press must not reach the "show" picture that took the place of "hide". A click
  // that hides the playlist comes after it; once that shows, the second press has been taken:
  // the player still hidden leaves 232, the player back again would leave the playlist's 374.
  p.click(kPlaylistToggle.x, kPlaylistToggle.y);
  ASSERT_TRUE(waitFor([&] {
    g = p.geometry();
    return g && g->height != 375;
  }));
  EXPECT_EQ(g->height, 232);
}

TEST_F(DoubleClick, BelowThePlaylistsLastRowPlaysTheSelectedRow) {
  const std::string clip = tunelark::testing::makeTone(folder.str() + "/tone.rm", 20);
  const std::string list = folder.write("list.ram", "file:" + clip + "\r\n");
  folder.write("windir/tunelark.ini", "[Dirlagu]\r\nfile=" + list + "\r\n");
  RunningProgram& p = start();
  const auto streams = [] { return capture("pactl list short sink-inputs").value_or(""); };
  ASSERT_EQ(streams(), "") << "nothing plays before the double-click";
  p.click(kPlaylistRow0.x, kPlaylistRow0.y);
  p.doubleClick(kPlaylistRow0.x, kPlaylistRow0.y + 60);
  EXPECT_TRUE(waitFor([&] { return !streams().empty(); })) << p.errors();
}

}  // namespace
}  // namespace tunelark::e2e
