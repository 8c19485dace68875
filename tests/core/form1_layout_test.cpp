// The main window's controls at start-up: each pair of images shares one spot with its first
// image showing, every control is listed once, and every button says what it does.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "support/fake_host.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

class Form1Layout : public ::testing::Test {
 protected:
  AppState app;
  testing::FakeHost host;
  Form1 w{app, host};
};

TEST_F(Form1Layout, EachPairStartsWithItsFirstImageShowingOnTheSameSpot) {
  // {shown at start-up, hidden at start-up}
  const std::pair<const char*, const char*> pairs[] = {
      {"Image18", "Image16"}, {"Image20", "Image19"}, {"Image15", "Image14"},
      {"Image9", "Image7"},   {"Image8", "Image6"},   {"Image10", "Image11"}};
  for (const auto& [shown, hidden] : pairs) {
    SCOPED_TRACE(shown);
    const Control* a = w.findControl(shown);
    const Control* b = w.findControl(hidden);
    ASSERT_TRUE(a && b);
    EXPECT_TRUE(a->visible);
    EXPECT_FALSE(b->visible);
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

TEST_F(Form1Layout, EveryImageWithAPictureIsNamedOnceAndEveryButtonSaysWhatItDoes) {
  const std::set<std::string> decoration = {"Image4",    "Image1",    "Image17",   "Image2",
                                            "Image3(1)", "Image3(2)", "Image3(3)", "Image3(4)"};
  std::set<std::string> names;
  for (const Control* c : w.controls()) {
    EXPECT_TRUE(names.insert(c->name).second) << "listed twice: " << c->name;
    if (c->kind != ControlKind::Image) continue;
    EXPECT_FALSE(c->picture.empty()) << c->name;
    if (!decoration.count(c->name)) {
      EXPECT_FALSE(c->tooltip.empty()) << c->name;
    }
  }
  // The panel's pause picture stops the player, and its inactive-stop picture starts it.
  EXPECT_EQ(w.panelplayup.tooltip, "Stop");
  EXPECT_NE(w.panelstopup.tooltip.find("Play"), std::string::npos);
}

}  // namespace
}  // namespace tunelark
