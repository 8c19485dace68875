// The display widget: what it shows, where the window's logo may lie, and what clicks and drags
// on its bars ask for.

#include "player/module/player_display.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "player/module/level_bar.h"

namespace tunelark::module {
namespace {

engine::PlayerStatus clipOf(std::optional<double> total, double elapsed = 10) {
  engine::PlayerStatus status;
  status.state = engine::PlayState::Playing;
  status.title = "Evening Tide";
  status.clipIndex = 0;
  status.clipCount = 3;
  status.elapsedSeconds = elapsed;
  status.totalSeconds = total;
  return status;
}

QPoint at(const LevelBar& bar, double fraction) {
  return QPoint(1 + static_cast<int>(fraction * (bar.width() - 2)), bar.height() / 2);
}

void moveWithButton(QWidget& widget, QPoint point) {
  QMouseEvent move(QEvent::MouseMove, point, widget.mapToGlobal(point), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &move);
}

TEST(PlayerDisplay, FillsThePlayerArea) {
  PlayerDisplay display;
  EXPECT_EQ(display.size(), QSize(5055 / 15, 1575 / 15));
}

TEST(PlayerDisplay, ShowsTitleClipNumberAndUnknownTotal) {
  PlayerDisplay display;
  display.showStatus(clipOf(std::nullopt));
  EXPECT_EQ(display.text().title, "Evening Tide");
  EXPECT_EQ(display.text().clip, "Clip 1 of 3");
  EXPECT_EQ(display.text().time, "0:10 / --:--");
  EXPECT_EQ(display.text().state, "Playing");
}

TEST(PlayerDisplay, PositionBarFollowsPlayback) {
  PlayerDisplay display;
  display.showStatus(clipOf(200.0, 50));
  EXPECT_DOUBLE_EQ(display.positionBar().value(), 0.25);
  display.showStatus(clipOf(200.0, 150));
  EXPECT_DOUBLE_EQ(display.positionBar().value(), 0.75);
}

TEST(PlayerDisplay, ClickOnPositionBarSeeksToThatPlace) {
  PlayerDisplay display;
  display.showStatus(clipOf(200.0));
  QSignalSpy seeks(&display, &PlayerDisplay::seekRequested);
  QTest::mouseClick(&display.positionBar(), Qt::LeftButton, {}, at(display.positionBar(), 0.5));
  ASSERT_EQ(seeks.size(), 1);
  EXPECT_NEAR(seeks.at(0).at(0).toDouble(), 100, 1.5);
}

TEST(PlayerDisplay, DragSeeksWhereReleasedAndHoldsAgainstPlayback) {
  PlayerDisplay display;
  display.showStatus(clipOf(200.0));
  LevelBar& bar = display.positionBar();
  QSignalSpy seeks(&display, &PlayerDisplay::seekRequested);
  QTest::mousePress(&bar, Qt::LeftButton, {}, at(bar, 0.1));
  moveWithButton(bar, at(bar, 0.5));
  display.showStatus(clipOf(200.0, 20));  // the poll goes on during the drag
  EXPECT_NEAR(bar.value(), 0.5, 0.01) << "playback moved the bar under the user's hand";
  moveWithButton(bar, at(bar, 0.8));
  EXPECT_TRUE(seeks.isEmpty()) << "seeking on every move would restart decoding each time";
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, at(bar, 0.8));
  ASSERT_EQ(seeks.size(), 1);
  EXPECT_NEAR(seeks.at(0).at(0).toDouble(), 160, 1.5);
}

TEST(PlayerDisplay, NothingToSeekWhileTheTotalIsUnknown) {
  PlayerDisplay display;
  display.showStatus(clipOf(std::nullopt));
  QSignalSpy seeks(&display, &PlayerDisplay::seekRequested);
  QTest::mouseClick(&display.positionBar(), Qt::LeftButton, {}, at(display.positionBar(), 0.5));
  EXPECT_TRUE(seeks.isEmpty());
  EXPECT_DOUBLE_EQ(display.positionBar().value(), 0);
}

struct VolumeCase {
  double pressAt;
  double volume;
};

class VolumeControl : public ::testing::TestWithParam<VolumeCase> {};

TEST_P(VolumeControl, ClickSetsTheVolumeWithinItsLimits) {
  PlayerDisplay display;
  QSignalSpy changes(&display, &PlayerDisplay::volumeChanged);
  LevelBar& bar = display.volumeBar();
  const QPoint point(static_cast<int>(GetParam().pressAt * bar.width()), bar.height() / 2);
  QTest::mouseClick(&bar, Qt::LeftButton, {}, point);
  ASSERT_FALSE(changes.isEmpty());
  EXPECT_NEAR(changes.last().at(0).toDouble(), GetParam().volume, 0.03);
}

INSTANTIATE_TEST_SUITE_P(Places, VolumeControl,
                         ::testing::Values(VolumeCase{0.0, 0.0}, VolumeCase{0.5, 0.5},
                                           VolumeCase{0.999, 1.0}));

TEST(PlayerDisplay, LogoCornerStaysClearOfText) {
  PlayerDisplay display;
  engine::PlayerStatus status = clipOf(200.0);
  status.title = std::string(200, 'W');
  status.message = {engine::PlayerEvent::ClipSkipped, std::string(200, 'M'), "x"};
  display.showStatus(status);
  const QImage image = display.grab().toImage();
  const QImage blank = [] {
    PlayerDisplay empty;
    return empty.grab().toImage();
  }();
  int differing = 0;
  for (int y = 0; y < PlayerDisplay::kLogoHeight; ++y)
    for (int x = 0; x < PlayerDisplay::kLogoWidth; ++x)
      differing += image.pixel(x, y) != blank.pixel(x, y);
  EXPECT_EQ(differing, 0) << "the logo's corner is drawn on";
  // The check can see text: the title row right of the corner differs.
  int titlePixels = 0;
  for (int x = PlayerDisplay::kLogoWidth; x < PlayerDisplay::kWidth; ++x)
    titlePixels += image.pixel(x, 12) != blank.pixel(x, 12);
  EXPECT_GT(titlePixels, 0);
}

}  // namespace
}  // namespace tunelark::module
