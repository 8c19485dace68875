// The show/hide toggles of the top strip, walked through every state a user can reach.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"
#include "ui/handler_table.h"

namespace tunelark {
namespace {

bool onScreen(Form1& w, std::string_view name) {
  if (!w.Enabled) return false;  // a dialog of the window is up
  const Control* c = w.findControl(std::string(name));
  if (!c || !c->visible) return false;
  return c->frame.empty() || w.findControl(c->frame)->visible;
}

std::vector<int> snapshot(Form1& w) {
  std::vector<int> s = {w.playershown, w.browsershown, w.listshown, w.playstate, w.Height};
  for (const Control* c : w.controls()) {
    s.push_back(c->visible);
    s.push_back(c->top);
  }
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
        SCOPED_TRACE(::testing::Message() << "after " << next.size() << " clicks, last "
                                          << table[static_cast<std::size_t>(i)].control);
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

}  // namespace
}  // namespace tunelark
