// The transport buttons of both views, the popup menu's player items and double-click to play: what
// reaches the player, what playstate becomes, and which images show.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/recording_player.h"
#include "core/transport_looks.h"
#include "support/fake_host.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

using Calls = std::vector<std::string>;

class Transport : public ::testing::Test {
 protected:
  void SetUp() override {
    w.RealAudio1.attach(&player);
    player.calls.clear();
  }

  std::string playerLook() const { return testing::playerLook(w); }
  std::string panelLook() const { return testing::panelLook(w); }
  void fillPlaylist(int rows) {
    for (int i = 0; i < rows; ++i) {
      app.entries[i] = "file:/music/clip" + std::to_string(i) + ".rm";
      w.List1.AddItem(std::to_string(i + 1) + ". clip" + std::to_string(i) + ".rm");
    }
    app.entryCount = static_cast<std::int16_t>(rows);
  }

  AppState app;
  testing::FakeHost host;
  Form1 w{app, host};
  testing::RecordingPlayer player;
};

TEST_F(Transport, PlayClearsTheSourceThenGivesThePlaylistFile) {
  const std::tuple<const char*, const char*, Calls> cases[] = {
      {"/home/ann/list.ram",
       "/home/ann/other.ram",
       {"source:", "source:/home/ann/list.ram", "auto:1"}},
      {"", "/cfg/temp.ram", {"source:", "source:/cfg/temp.ram", "auto:1"}},
      {"", "", {"source:", "auto:1"}}};
  for (const auto& [lastfile, workfile, expected] : cases) {
    SCOPED_TRACE(workfile);
    app.lastfile = lastfile;
    w.workfile = workfile;
    w.playstate = 0;
    w.applyStoppedLook();
    player.calls.clear();
    w.Image9_Click();
    EXPECT_EQ(player.calls, expected);
    EXPECT_EQ(w.playstate, 1);
    EXPECT_EQ(playerLook(), "pause/stop");
  }
}

TEST_F(Transport, StopShowsTheInactiveStopAndPlayAfterPauseGivesThePlaylistAgain) {
  ASSERT_EQ(playerLook(), "play/stop");
  w.Image8_Click();  // before anything played
  EXPECT_EQ(player.calls, Calls{"stop"});
  EXPECT_EQ(w.playstate, 0);
  EXPECT_EQ(playerLook(), "play/inactive");
  app.lastfile = "/home/ann/list.ram";
  w.Image9_Click();
  player.calls.clear();
  w.Image7_Click();
  EXPECT_EQ(player.calls, Calls{"playpause"});
  EXPECT_EQ(w.playstate, 0);
  EXPECT_EQ(playerLook(), "play/stop");  // a paused player can still be stopped
  player.calls.clear();
  w.Image9_Click();  // not a resume
  EXPECT_EQ(player.calls, (Calls{"source:", "source:/home/ann/list.ram", "auto:1"}));
}

TEST_F(Transport, CompactButtonsSwapTheirImagesAndDriveThePlayer) {
  struct Case {
    void (Form1::*click)();
    const char* name;
    std::int16_t before, after;
    Calls expected;
    const char* look;
  };
  const Case cases[] = {
      {&Form1::panelplaydown_Click, "panelplaydown", 0, 1, {"playpause"}, "pause/stop"},
      {&Form1::panelstopup_Click, "panelstopup", 0, 0, {"playpause"}, "pause/stop"},
      {&Form1::panelstopup_Click, "panelstopup", 1, 1, {"playpause"}, "pause/stop"},
      {&Form1::panelstopdown_Click, "panelstopdown", 1, 0, {"stop"}, "play/inactive"},
      {&Form1::panelplayup_Click, "panelplayup", 1, 1, {"stop"}, "play/inactive"},
      {&Form1::panelplayup_Click, "panelplayup", 0, 0, {"stop"}, "play/inactive"}};
  w.Image18_Click();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " from playstate " + std::to_string(c.before));
    w.playstate = c.before;
    player.calls.clear();
    (w.*c.click)();
    EXPECT_EQ(player.calls, c.expected);
    EXPECT_EQ(w.playstate, c.after);
    EXPECT_EQ(panelLook(), c.look);
  }
}

// The popup menu's player items call the player and nothing else: the play state and the
// transport buttons keep their look until a transport button sets them again.
TEST_F(Transport, PopupMenuPlayerItemsCallThePlayerDirectly) {
  const std::pair<int, const char*> items[] = {
      {kMnuPlay, "playpause"}, {kMnuStop, "stop"}, {kMnuPrevClip, "prev"}, {kMnuNextClip, "next"}};
  w.Image9_Click();
  for (const auto& [index, call] : items) {
    player.calls.clear();
    w.mnuopt_Click(index);
    EXPECT_EQ(player.calls, Calls{call});
    EXPECT_EQ(w.playstate, 1);
    EXPECT_EQ(playerLook(), "pause/stop");
  }
}

TEST_F(Transport, ResumingFromTheInactiveStopLeavesThePlayerAreaStoppedLooking) {
  w.Image18_Click();
  w.panelstopup_Click();
  EXPECT_EQ(w.playstate, 0);
  w.Image16_Click();
  EXPECT_EQ(playerLook(), "play/inactive");
}

TEST_F(Transport, PreviousAndNextOnlyMoveThePlayer) {
  const std::tuple<void (Form1::*)(), bool, const char*> cases[] = {
      {&Form1::Image12_Click, false, "prev"},
      {&Form1::Image13_Click, false, "next"},
      {&Form1::panelprev_Click, true, "prev"},
      {&Form1::panelnext_Click, true, "next"}};
  for (const auto& [click, panelView, call] : cases) {
    for (const std::int16_t playing : {0, 1}) {
      SCOPED_TRACE(::testing::Message()
                   << call << " in the panel " << panelView << ", playing " << playing);
      w.playstate = playing;
      if (panelView) w.Image18_Click();
      const std::string before = playerLook() + panelLook();
      player.calls.clear();
      (w.*click)();
      EXPECT_EQ(player.calls, Calls{call});
      EXPECT_EQ(w.playstate, playing);
      EXPECT_EQ(playerLook() + panelLook(), before);
      if (panelView) w.Image16_Click();
    }
  }
}

TEST_F(Transport, DoubleClickGivesEachSelectedRowInTurnEndingOnTheHighest) {
  fillPlaylist(5);
  for (int row : {4, 1, 2}) w.List1.setSelected(row, true);
  w.List1_DblClick();
  EXPECT_EQ(player.calls,
            (Calls{"source:file:/music/clip1.rm", "auto:1", "source:file:/music/clip2.rm", "auto:1",
                   "source:file:/music/clip4.rm", "auto:1"}));
  EXPECT_EQ(w.RealAudio1.source(), "file:/music/clip4.rm");
  EXPECT_EQ(w.playstate, 1);
  EXPECT_EQ(playerLook(), "pause/stop");
}

TEST_F(Transport, DoubleClickOnlyReadsEntriesThatExist) {
  // The list box shows 82 rows but the playlist holds 80: the rows past it and past entryCount
  // have no entry behind them. Row -1 selects nothing.
  fillPlaylist(kMaxEntries);
  w.List1.AddItem("81. stray");
  w.List1.AddItem("82. stray");
  struct Case {
    std::int16_t entryCount;
    int row;
    bool plays;
  };
  const Case cases[] = {{80, 79, true}, {80, 80, false}, {80, 81, false}, {3, 2, true},
                        {3, 3, false},  {-1, 0, false},  {0, 0, false},   {80, -1, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << c.row << " of " << c.entryCount);
    app.entryCount = c.entryCount;
    for (int i = 0; i < w.List1.ListCount(); ++i) w.List1.setSelected(i, i == c.row);
    w.playstate = 0;
    player.calls.clear();
    w.List1_DblClick();
    EXPECT_EQ(player.calls.size(), c.plays ? 2u : 0u);
    EXPECT_EQ(w.playstate, c.plays ? 1 : 0);
  }
}

TEST_F(Transport, DoubleClickWhileThePlayerIsHiddenTurnsThePanelToPause) {
  fillPlaylist(2);
  w.Image20_Click();
  w.Image18_Click();  // only the playlist is left, with the compact transport
  ASSERT_EQ(panelLook(), "play/inactive");
  w.List1.setSelected(1, true);
  w.List1_DblClick();
  EXPECT_EQ(panelLook(), "pause/stop");
  player.calls.clear();
  w.panelplayup_Click();  // the user can stop what the double-click started
  EXPECT_EQ(player.calls, Calls{"stop"});
}

}  // namespace
}  // namespace tunelark
