// The main window's controls: their start-up layout, the show/hide toggles of the top strip
// walked through every state a user can reach, and the tray icon's record.
#include "ui/form1.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/handler_table.h"

namespace tunelark {
namespace {

// At start-up each pair of images shares one spot with its first image showing, and every
// control with a picture is listed once. That every button has a tooltip the Qt tests check.
TEST(Form1Layout, EachPairStartsWithItsFirstImageShowingOnTheSameSpot) {
  AppState app;
  testing::FakeHost host;
  Form1 w{app, host};
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
  std::set<std::string> names;
  for (const Control* c : w.controls()) {
    EXPECT_TRUE(names.insert(c->name).second) << "listed twice: " << c->name;
    EXPECT_TRUE(c->kind != ControlKind::Image || !c->picture.empty()) << c->name;
  }
  // The panel's pause picture stops the player, and its inactive-stop picture starts it.
  EXPECT_EQ(w.panelplayup.tooltip, "Stop");
  EXPECT_NE(w.panelstopup.tooltip.find("Play"), std::string::npos);
}

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

std::uint32_t word(const NotifyIconData& record, int offset) {
  std::uint32_t value;
  std::memcpy(&value, reinterpret_cast<const char*>(&record) + offset, sizeof value);
  return value;
}

// The tray icon's record, byte for byte as the shell reads it, filled anew by every addtray.
TEST(TrayRecord, AddtrayFillsEveryFieldFromTheWindowAsItIsNow) {
  AppState app;
  testing::FakeHost host;
  Form1 form(app, host);
  const NotifyIconData& record = form.SystemTray.traydata;
  EXPECT_EQ(word(record, 0), 0u) << "unfilled before the first addtray";

  form.hWnd = 0x2A00007;
  form.Icon = 0xC0FFEE;
  form.SystemTray.addtray("Tunelark 2.01");
  // Size, the window's handle twice (the icon's number), flags, callback message, icon.
  const std::uint32_t fields[] = {88, 0x2A00007, 0x2A00007, 7, 516, 0xC0FFEE};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(word(record, 4 * i), fields[i]) << "field " << i;
  const std::string tip(reinterpret_cast<const char*>(&record) + 24, 64);
  EXPECT_EQ(tip, std::string("Tunelark 2.01") + '\0' + std::string(50, ' '));

  form.hWnd = 0x3100002;
  form.SystemTray.addtray(std::string(80, 'x'));
  EXPECT_EQ(word(record, 4), 0x3100002u);
  EXPECT_EQ(std::string(record.szTip.data()), std::string(63, 'x')) << "cut so its NUL fits";
}

}  // namespace
}  // namespace tunelark
