// The transport buttons of both views, the popup menu's player items and double-click to play: what
// reaches the player, what playstate becomes, and which images show.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/recording_player.h"
#include "player/control_site.h"
#include "support/fake_host.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

using Calls = std::vector<std::string>;

// Which image of each pair shows, as "play/stop", "pause/stop", "play/inactive" and so on.
std::string pairLook(const Control& play, const Control& pause, const Control& stop,
                     const Control& inactiveStop) {
  return std::string(play.visible ? "play" : "") + (pause.visible ? "pause" : "") + "/" +
         (stop.visible ? "stop" : "") + (inactiveStop.visible ? "inactive" : "");
}
std::string playerLook(const Form1& w) { return pairLook(w.Image9, w.Image7, w.Image8, w.Image6); }
std::string panelLook(const Form1& w) {
  return pairLook(w.panelplaydown, w.panelplayup, w.panelstopdown, w.panelstopup);
}
std::string joined(const Calls& calls) {
  std::string out;
  for (const auto& call : calls) out += (out.empty() ? "" : " ") + call;
  return out;
}

// The look either transport takes for a play state when it is shown.
const char* lookFor(int playstate) { return playstate == 1 ? "pause/stop" : "play/inactive"; }

struct Window {
  Window() {
    w.RealAudio1.attach(&player);
    player.calls.clear();
  }
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

// Each control from either play state, in the view that shows it. Play hands the playlist over
// again rather than resuming; the panel's buttons swap their images and never give a source;
// prev, next and the popup menu's items only call the player.
TEST(Transport, EachControlDrivesThePlayerAndSetsPlaystateAndTheLook) {
  // Each control, whether it is clicked with the player area hidden, playstate after the click
  // (-1: as before), what reaches the player, and the look of the transport shown ("": as before).
  const std::tuple<void (*)(Form1&), bool, int, const char*, const char*> cases[] = {
      {[](Form1& w) { w.Image9_Click(); }, false, 1, "source: source:/l.ram auto:1", "pause/stop"},
      {[](Form1& w) { w.Image7_Click(); }, false, 0, "playpause", "play/stop"},  // stop stays
      {[](Form1& w) { w.Image8_Click(); }, false, 0, "stop", "play/inactive"},
      {[](Form1& w) { w.Image12_Click(); }, false, -1, "prev", ""},
      {[](Form1& w) { w.Image13_Click(); }, false, -1, "next", ""},
      {[](Form1& w) { w.mnuopt_Click(kMnuPlay); }, false, -1, "playpause", ""},
      {[](Form1& w) { w.mnuopt_Click(kMnuStop); }, false, -1, "stop", ""},
      {[](Form1& w) { w.mnuopt_Click(kMnuPrevClip); }, false, -1, "prev", ""},
      {[](Form1& w) { w.mnuopt_Click(kMnuNextClip); }, false, -1, "next", ""},
      {[](Form1& w) { w.panelplaydown_Click(); }, true, 1, "playpause", "pause/stop"},
      {[](Form1& w) { w.panelstopup_Click(); }, true, -1, "playpause", "pause/stop"},
      {[](Form1& w) { w.panelstopdown_Click(); }, true, 0, "stop", "play/inactive"},
      {[](Form1& w) { w.panelplayup_Click(); }, true, -1, "stop", "play/inactive"},
      {[](Form1& w) { w.panelprev_Click(); }, true, -1, "prev", ""},
      {[](Form1& w) { w.panelnext_Click(); }, true, -1, "next", ""}};
  for (std::size_t row = 0; row < std::size(cases); ++row) {
    const auto& [click, panel, afterClick, calls, look] = cases[row];
    for (const std::int16_t before : {0, 1}) {
      SCOPED_TRACE(::testing::Message() << "row " << row << " from playstate " << before);
      Window t;
      Form1& w = t.w;
      t.app.lastfile = "/l.ram";
      w.playstate = before;
      if (before == 1) w.applyPlayingLook();
      if (panel) {
        w.Image18_Click();  // the panel takes over the play state's look
        EXPECT_EQ(panelLook(w), lookFor(before));
      }
      const std::string lookBefore = playerLook(w) + panelLook(w);
      t.player.calls.clear();
      click(w);
      EXPECT_EQ(joined(t.player.calls), calls);
      const int after = afterClick == -1 ? before : afterClick;
      EXPECT_EQ(w.playstate, after);
      if (*look == '\0') {
        EXPECT_EQ(playerLook(w) + panelLook(w), lookBefore);
      } else {
        EXPECT_EQ(panel ? panelLook(w) : playerLook(w), look);
      }
      if (!panel) continue;
      // Shown again, the player area takes the look of playstate, whatever the panel showed.
      w.Image16_Click();
      EXPECT_EQ(playerLook(w), lookFor(after));
    }
  }
}

TEST(Transport, PlayGivesTheLastPlaylistElseTheWorkfile) {
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"/home/ann/list.ram", "/home/ann/other.ram", "source: source:/home/ann/list.ram auto:1"},
      {"", "/cfg/temp.ram", "source: source:/cfg/temp.ram auto:1"},
      {"", "", "source: auto:1"}};
  for (const auto& [lastfile, workfile, calls] : cases) {
    Window t;
    t.app.lastfile = lastfile;
    t.w.workfile = workfile;
    t.w.Image9_Click();
    EXPECT_EQ(joined(t.player.calls), calls);
  }
}

// With the player area hidden the compact panel turns to pause too.
TEST(Transport, DoubleClickGivesEachSelectedRowInTurnEndingOnTheHighest) {
  for (const bool playerShown : {true, false}) {
    SCOPED_TRACE(playerShown ? "player shown" : "player hidden");
    Window t;
    t.fillPlaylist(5);
    if (!playerShown) t.w.Image18_Click();
    for (int row : {4, 1, 2}) t.w.List1.setSelected(row, true);
    t.w.List1_DblClick();
    EXPECT_EQ(joined(t.player.calls),
              "source:file:/music/clip1.rm auto:1 source:file:/music/clip2.rm auto:1 "
              "source:file:/music/clip4.rm auto:1");
    EXPECT_EQ(t.w.RealAudio1.source(), "file:/music/clip4.rm");
    EXPECT_EQ(t.w.playstate, 1);
    EXPECT_EQ(playerShown ? playerLook(t.w) : panelLook(t.w), "pause/stop");
  }
}

TEST(Transport, DoubleClickOnlyReadsEntriesThatExist) {
  // The list box shows 82 rows but the playlist holds 80: the rows past it and past entryCount
  // have no entry behind them. Row -1 selects nothing.
  Window t;
  t.fillPlaylist(kMaxEntries);
  t.w.List1.AddItem("81. stray");
  t.w.List1.AddItem("82. stray");
  const std::tuple<std::int16_t, int, bool> cases[] = {
      {80, 79, true}, {80, 80, false}, {80, 81, false}, {3, 2, true},
      {3, 3, false},  {-1, 0, false},  {0, 0, false},   {80, -1, false}};
  for (const auto& [entryCount, row, plays] : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << row << " of " << entryCount);
    t.app.entryCount = entryCount;
    for (int i = 0; i < t.w.List1.ListCount(); ++i) t.w.List1.setSelected(i, i == row);
    t.w.playstate = 0;
    t.player.calls.clear();
    t.w.List1_DblClick();
    EXPECT_EQ(t.player.calls.size(), plays ? 2u : 0u);
    EXPECT_EQ(t.w.playstate, plays ? 1 : 0);
  }
}

// RealAudio1 keeps what the window meant until the player attaches, then forwards everything.
// Operations are written as the recording player writes them; "attach" attaches it.
TEST(ControlSite, ThePlayerGetsWhatTheWindowMeantWhenItAttachesAndEverythingAfter) {
  const std::pair<const char*, const char*> cases[] = {
      {"auto:0 source:/list.ram attach", "auto:0 source:/list.ram"},
      {"attach source: source:/a.rm auto:1 playpause stop next prev",
       "auto:1 source: source:/a.rm auto:1 playpause stop next prev"},
      // The window shows "stopped" after Play then Stop: the component must end stopped too.
      {"auto:0 source: source:/list.ram auto:1 stop next attach",
       "auto:1 source:/list.ram stop next"},
      // A new source drops calls made for the old one; an empty source is not replayed.
      {"source:/old.ram playpause source:/new.ram attach", "auto:1 source:/new.ram"},
      {"auto:0 attach", "auto:0"}};
  for (const auto& [operations, received] : cases) {
    SCOPED_TRACE(operations);
    ControlSite site{Control{}};
    testing::RecordingPlayer player;
    std::istringstream in(operations);
    for (std::string op; in >> op;) {
      if (op == "attach") site.attach(&player);
      if (op.rfind("source:", 0) == 0) site.setSource(op.substr(7));
      if (op.rfind("auto:", 0) == 0) site.setAutoStart(op == "auto:1");
      if (op == "playpause") site.playPause();
      if (op == "stop") site.stop();
      if (op == "next") site.nextClip();
      if (op == "prev") site.previousClip();
    }
    EXPECT_EQ(joined(player.calls), received);
  }
}

}  // namespace
}  // namespace tunelark
