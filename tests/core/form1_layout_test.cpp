// The main window's controls as designed: where they are, what shows at start-up, what each
// button says it does.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "support/fake_host.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

struct Designed {
  const char* name;
  const char* frame;
  ControlKind kind;
  int left, top, width, height;
  bool visible;
};

class Form1Layout : public ::testing::Test {
 protected:
  AppState app;
  testing::FakeHost host;
  Form1 w{app, host};
};

TEST_F(Form1Layout, RepresentativeControlsSitWhereDesigned) {
  const auto I = ControlKind::Image;
  const Designed table[] = {
      {"Atasframe", "", ControlKind::Frame, 0, 0, 7380, 1305, true},
      {"Realframe", "", ControlKind::Frame, 0, 1300, 7380, 2190, true},
      {"Fileframe", "", ControlKind::Frame, 0, 3450, 7380, 2190, true},
      {"Playlistframe", "", ControlKind::Frame, 0, 5600, 7380, 2210, true},
      {"Image3(4)", "Atasframe", I, 0, 840, 7335, 480, true},
      {"Label4", "Atasframe", ControlKind::Label, 3240, 240, 3615, 255, true},
      {"Line1", "Atasframe", ControlKind::Line, 3600, 600, 2880, 0, true},
      {"Image34", "Atasframe", I, 320, 860, 255, 255, true},
      {"panelprev", "Atasframe", I, 2400, 240, 480, 480, false},
      {"panelstopup", "Atasframe", I, 1680, 840, 675, 225, false},
      {"RealAudio1", "Realframe", ControlKind::Player, 1800, 240, 5055, 1575, true},
      {"Picture1", "Realframe", ControlKind::PictureBox, 1920, 360, 975, 280, true},
      {"tvwControl", "Fileframe", ControlKind::TreeView, 600, 480, 2775, 1335, true},
      {"File1", "Fileframe", ControlKind::FileListBox, 3720, 360, 3255, 1200, true},
      {"Image5", "Fileframe", I, 5400, 1680, 1425, 225, true},
      {"List1", "Playlistframe", ControlKind::ListBox, 2400, 120, 4575, 1785, true},
      {"Image11", "Playlistframe", I, 480, 480, 675, 225, false},
  };
  for (const Designed& d : table) {
    SCOPED_TRACE(d.name);
    const Control* c = w.findControl(d.name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->frame, d.frame);
    EXPECT_EQ(c->kind, d.kind);
    EXPECT_EQ(c->left, d.left);
    EXPECT_EQ(c->top, d.top);
    EXPECT_EQ(c->width, d.width);
    EXPECT_EQ(c->height, d.height);
    EXPECT_EQ(c->visible, d.visible);
  }
  EXPECT_EQ(w.Width, 7350);
  EXPECT_EQ(w.Height, 7770);
}

TEST_F(Form1Layout, EachPairStartsWithItsFirstImageShowingOnTheSameSpot) {
  // {shown at start-up, hidden at start-up}
  const std::pair<const char*, const char*> pairs[] = {
      {"Image18", "Image16"}, {"Image20", "Image19"}, {"Image15", "Image14"},
      {"Image9", "Image7"},   {"Image8", "Image6"},   {"Image10", "Image11"},
  };
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
  for (const char* compact :
       {"panelplayup", "panelplaydown", "panelstopup", "panelstopdown", "panelprev", "panelnext"})
    EXPECT_FALSE(w.findControl(compact)->visible) << compact;
}

TEST_F(Form1Layout, CompactButtonsReuseThePlayerAreaPictures) {
  EXPECT_EQ(w.panelplaydown.picture, w.Image9.picture);
  EXPECT_EQ(w.panelplayup.picture, w.Image7.picture);
  EXPECT_EQ(w.panelstopdown.picture, w.Image8.picture);
  EXPECT_EQ(w.panelstopup.picture, w.Image6.picture);
  EXPECT_EQ(w.panelprev.picture, w.Image12.picture);
  EXPECT_EQ(w.panelnext.picture, w.Image13.picture);
}

TEST_F(Form1Layout, TextColoursAndCaptionsAreAsDesigned) {
  EXPECT_EQ(w.Label4.color, 0x00FFFFu);
  EXPECT_EQ(w.Label4.caption, "");
  EXPECT_EQ(w.Label2.color, 0x00FFFFu);
  EXPECT_EQ(w.Line1.color, 0x00FF00u);
  EXPECT_EQ(w.Label5.color, 0x00FF00u);
  EXPECT_EQ(w.Label5.caption, "RealMedia Files (*.ra, *.rm, *.ram)");
  EXPECT_EQ(w.File1.box.color, 0x00FFFFu);
  EXPECT_EQ(w.List1.box.color, 0x00FFFFu);
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
