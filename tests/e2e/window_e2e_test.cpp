// The real window under X keeps its logical size on a scaled screen.
#include <QImage>

#include "e2e_fixture.h"

namespace tunelark::e2e {
namespace {

using RealWindow = ProgramTest;

TEST_F(RealWindow, ScaledScreenKeepsTheLogicalSize) {
  // At 1.5 device pixels per logical pixel the window covers 490 x 518 logical pixels.
  RunningProgram& p = start({{"QT_SCALE_FACTOR", "1.5"}});
  const auto g = p.geometry();
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->width, 735);
  EXPECT_EQ(g->height, 777);
  const std::string shot = std::string(TUNELARK_ARTIFACT_DIR) + "/scaled-1.5.png";
  ASSERT_TRUE(p.screenshot(shot));
  EXPECT_EQ(QImage(QString::fromStdString(shot)).size(), QSize(735, 777))
      << "pictures drawn at device resolution";
}

}  // namespace
}  // namespace tunelark::e2e
