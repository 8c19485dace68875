// The real window under X: size, place, no decorations, and every view with a picture kept.
#include <QImage>

#include "e2e_fixture.h"

namespace tunelark::e2e {
namespace {

using RealWindow = ProgramTest;

// Width and height of a PNG file.
std::pair<int, int> pngSize(const std::string& path) {
  const QSize size = QImage(QString::fromStdString(path)).size();
  return {size.width(), size.height()};
}

TEST_F(RealWindow, AsksForNoDecorations) {
  RunningProgram& p = start();
  const auto hints = capture("xprop -id " + p.window() + " _MOTIF_WM_HINTS");
  ASSERT_TRUE(hints.has_value());
  // Flag bit 2 says decorations are given, and they are 0.
  unsigned flags = 0, functions = 0, decorations = 1;
  ASSERT_EQ(std::sscanf(hints->c_str(), "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = %x, %x, %x", &flags,
                        &functions, &decorations),
            3)
      << *hints;
  EXPECT_TRUE(flags & 0x2) << *hints;
  EXPECT_EQ(decorations, 0u) << *hints;
}

TEST_F(RealWindow, ScaledScreenKeepsTheLogicalSize) {
  // At 1.5 device pixels per logical pixel the window covers 490 x 518 logical pixels.
  RunningProgram& p = start({{"QT_SCALE_FACTOR", "1.5"}});
  const auto g = p.geometry();
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->width, 735);
  EXPECT_EQ(g->height, 777);
  const std::string shot = std::string(TUNELARK_ARTIFACT_DIR) + "/scaled-1.5.png";
  ASSERT_TRUE(p.screenshot(shot));
  EXPECT_EQ(pngSize(shot), std::make_pair(735, 777)) << "pictures drawn at device resolution";
}

struct ViewStep {
  const char* view;
  Spot toggle;  // clicked to reach this view from the one before
  int height;
};

// One walk through all eight views, one toggle at a time.
constexpr ViewStep kWalk[] = {
    {"Realfile", kPlaylistToggle, 374},     {"Realonly", kBrowserToggle, 231},
    {"Realplaylist", kPlaylistToggle, 376}, {"playlistonly", kPlayerToggle, 232},
    {"panel", kPlaylistToggle, 88},         {"fileonly", kBrowserToggle, 232},
    {"Fileplaylist", kPlaylistToggle, 375}, {"normal", kPlayerToggle, 518},
};

TEST_F(RealWindow, EveryViewHasItsSizeAndAPicture) {
  RunningProgram& p = start();
  const auto first = p.geometry();
  ASSERT_TRUE(first.has_value());
  // Centred on Xvfb's 1280 x 1024 screen from scripts/test-env.
  EXPECT_EQ(first->width, 490);
  EXPECT_EQ(first->height, 518);
  EXPECT_EQ(first->x, (1280 - 490) / 2);
  EXPECT_EQ(first->y, (1024 - 518) / 2);
  const std::string artifacts = std::string(TUNELARK_ARTIFACT_DIR) + "/views";

  for (const ViewStep& step : kWalk) {
    SCOPED_TRACE(step.view);
    p.click(step.toggle.x, step.toggle.y);
    std::optional<WindowGeometry> g;
    ASSERT_TRUE(waitFor([&] {
      g = p.geometry();
      return g && g->height == step.height;
    })) << "height stayed "
        << (g ? g->height : -1);
    EXPECT_EQ(g->width, 490);
    EXPECT_EQ(g->x, first->x);
    EXPECT_EQ(g->y, first->y) << "the top-left corner stays where it was";

    const std::string shot = artifacts + "/" + step.view + ".png";
    ASSERT_TRUE(p.screenshot(shot)) << p.errors();
    EXPECT_EQ(pngSize(shot), std::make_pair(490, step.height));
  }
}

}  // namespace
}  // namespace tunelark::e2e
