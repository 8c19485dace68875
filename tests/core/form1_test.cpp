// The main window's controls: their start-up layout, the show/hide toggles of the top strip
// walked through every state a user can reach, the tray icon's record; and the transport buttons
// of both views, the popup menu's player items and double-click to play: what reaches the player,
// what playstate becomes, and which images show.
#include "ui/form1.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/recording_player.h"
#include "player/control_site.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/handler_table.h"

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

// At start-up each pair of images shares one spot with its first image showing. That every
// control has one layout row and every image a picture the build checks; that every button has
// a tooltip the Qt tests check.
TEST(Form1Layout, EachPairStartsWithItsFirstImageShowingOnTheSameSpot) {
  Window t;
  Form1& w = t.w;
  // {shown at start-up, hidden at start-up}
  const std::pair<const Control*, const Control*> pairs[] = {
      {&w.Image18, &w.Image16}, {&w.Image20, &w.Image19}, {&w.Image15, &w.Image14},
      {&w.Image9, &w.Image7},   {&w.Image8, &w.Image6},   {&w.Image10, &w.Image11}};
  for (const auto& [a, b] : pairs) {
    SCOPED_TRACE(a->name);
    EXPECT_TRUE(a->visible && !b->visible);
    EXPECT_EQ(std::tie(a->frame, a->left, a->top, a->width, a->height),
              std::tie(b->frame, b->left, b->top, b->width, b->height));
  }
  // The compact buttons start hidden and wear the player area's pictures: one showing the wrong
  // arrow would still be a working button, and only this sees it.
  const std::pair<const Control*, const Control*> compact[] = {
      {&w.panelplaydown, &w.Image9}, {&w.panelplayup, &w.Image7}, {&w.panelstopdown, &w.Image8},
      {&w.panelstopup, &w.Image6},   {&w.panelprev, &w.Image12},  {&w.panelnext, &w.Image13}};
  for (const auto& [button, image] : compact) {
    EXPECT_FALSE(button->visible) << button->name;
    EXPECT_EQ(button->picture, image->picture) << button->name;
  }
}

// Not while a dialog of the window is up.
bool onScreen(Form1& w, ControlId id) { return w.Enabled && w.isShown(id); }

std::vector<int> snapshot(Form1& w) {
  std::vector<int> s = {w.playershown, w.browsershown, w.listshown, w.playstate, w.Height};
  for (const Control* c : w.controls()) s.insert(s.end(), {c->visible, c->top});
  return s;
}

// What must hold in every state the user can reach.
void expectConsistent(Form1& w) {
  const std::pair<const Control*, const Control*> toggles[] = {
      {&w.Image18, &w.Image16}, {&w.Image20, &w.Image19}, {&w.Image15, &w.Image14}};
  const int flags[] = {w.playershown, w.browsershown, w.listshown};
  const Control* frames[] = {&w.Realframe, &w.Fileframe, &w.Playlistframe};
  int nextTop = 1300;
  for (int i = 0; i < 3; ++i) {
    EXPECT_NE(toggles[i].first->visible, toggles[i].second->visible) << toggles[i].first->name;
    EXPECT_EQ(toggles[i].first->visible, flags[i] == 1) << toggles[i].first->name;
    EXPECT_EQ(frames[i]->visible, flags[i] == 1) << frames[i]->name;
    if (frames[i]->visible) {
      EXPECT_EQ(frames[i]->top, nextTop) << frames[i]->name;  // shown areas pack downwards
      nextTop += 2150;
    }
  }
  // Indexed by the flags as bits: player, browser, playlist.
  const int heights[] = {1320, 3480, 3480, 5625, 3465, 5640, 5610, 7770};
  EXPECT_EQ(w.Height, heights[flags[0] * 4 + flags[1] * 2 + flags[2]]);
  EXPECT_NE(w.Image9.visible, w.Image7.visible);
  EXPECT_NE(w.Image8.visible, w.Image6.visible);
  if (w.playershown == 1) {
    // The player area shows pause exactly while playing. The panel has no such rule: its
    // inactive stop resumes a paused clip without changing playstate.
    EXPECT_EQ(w.Image7.visible, w.playstate == 1);
    for (const Control* c : {&w.panelplayup, &w.panelplaydown, &w.panelstopup, &w.panelstopdown,
                             &w.panelprev, &w.panelnext})
      EXPECT_FALSE(c->visible) << c->name;
  } else {
    EXPECT_NE(w.panelplayup.visible, w.panelplaydown.visible);
    EXPECT_NE(w.panelstopup.visible, w.panelstopdown.visible);
    EXPECT_TRUE(w.panelprev.visible && w.panelnext.visible);
  }
}

// Every action the window offers, from the same table that the screen's widgets use; the walk
// goes wherever a user can go with them.
TEST(ViewTogglesWalk, EveryReachableStateShowsOneImageOfEachPairAndPacksTheShownAreas) {
  testing::TempDir dir;
  const auto table = handlerTable();
  // Replays a click sequence on a fresh window; each state is reached by the shortest one.
  auto replay = [&](const std::vector<int>& path, const std::function<void(Form1&)>& visit) {
    AppState app;
    app.windowsDir = dir.str();
    app.lastfile = app.workingListFile();
    app.entries[0] = "file:/music/a.rm";
    app.entryCount = 1;
    testing::FakeHost host;
    Form1 w{app, host};
    w.List1.AddItem("1. a.rm");
    w.List1.setSelected(0, true);
    for (int i : path) {
      if (host.ended) break;  // the exit button ended the run
      (w.*table[static_cast<std::size_t>(i)].handler)();
    }
    visit(w);
  };
  std::set<std::vector<int>> seen;
  std::set<std::vector<int>> flagsAndPlaystate;
  std::deque<std::vector<int>> queue = {{}};
  replay({}, [&](Form1& w) { seen.insert(snapshot(w)); });
  while (!queue.empty()) {
    const std::vector<int> path = queue.front();
    queue.pop_front();
    for (int i = 0; i < static_cast<int>(table.size()); ++i) {
      bool clickable = false;
      replay(path, [&](Form1& w) {
        clickable = onScreen(w, table[static_cast<std::size_t>(i)].control);
      });
      if (!clickable) continue;
      std::vector<int> next = path;
      next.push_back(i);
      replay(next, [&](Form1& w) {
        SCOPED_TRACE(::testing::Message()
                     << "after " << next.size() << " clicks, last "
                     << controlName(table[static_cast<std::size_t>(i)].control));
        expectConsistent(w);
        flagsAndPlaystate.insert({w.playershown, w.browsershown, w.listshown, w.playstate});
        if (seen.insert(snapshot(w)).second) queue.push_back(next);
      });
      if (::testing::Test::HasFailure()) return;
    }
  }
  // The walk really went everywhere: every view with either play state.
  EXPECT_EQ(flagsAndPlaystate.size(), 16u);
}

// The tray icon's record, filled anew by every addtray from the window as it is then.
TEST(TrayRecord, AddtrayFillsEveryFieldFromTheWindowAsItIsNow) {
  Window t;
  Form1& form = t.w;
  const NotifyIconData& r = form.SystemTray.traydata;
  EXPECT_EQ(r.cbSize, 0u) << "unfilled before the first addtray";
  form.hWnd = 0x2A00007;
  form.Icon = 0xC0FFEE;
  form.SystemTray.addtray("Tunelark 2.01");
  // The window's handle twice (the icon's number), then flags, callback message and icon.
  EXPECT_EQ((std::array{r.cbSize, r.hWnd, r.uID, r.uFlags, r.uCallbackMessage, r.hIcon}),
            (std::array<std::uint32_t, 6>{88, 0x2A00007, 0x2A00007, 7, 516, 0xC0FFEE}));
  EXPECT_EQ(std::string(r.szTip.data()), "Tunelark 2.01");
  form.hWnd = 0x3100002;
  form.SystemTray.addtray(std::string(80, 'x'));
  EXPECT_EQ(r.hWnd, 0x3100002u);
  EXPECT_EQ(std::string(r.szTip.data()), std::string(63, 'x')) << "cut so its NUL fits";
}

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
