// The display widget: where the window's logo may lie, and what clicks and drags on its bars ask
// for.

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

TEST(PlayerDisplay, DragSeeksOnceWhereReleasedAndHoldsAgainstPlayback) {
  PlayerDisplay display;
  display.showStatus(clipOf(200.0, 50));
  LevelBar& bar = display.positionBar();
  EXPECT_DOUBLE_EQ(bar.value(), 0.25);
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

TEST(PlayerDisplay, ClickSetsTheVolumeWithinItsLimits) {
  for (const auto& [pressAt, volume] : {std::pair{0.0, 0.0}, {0.5, 0.5}, {0.999, 1.0}}) {
    PlayerDisplay display;
    QSignalSpy changes(&display, &PlayerDisplay::volumeChanged);
    LevelBar& bar = display.volumeBar();
    QTest::mouseClick(&bar, Qt::LeftButton, {},
                      QPoint(static_cast<int>(pressAt * bar.width()), bar.height() / 2));
    ASSERT_FALSE(changes.isEmpty()) << pressAt;
    EXPECT_NEAR(changes.last().at(0).toDouble(), volume, 0.03);
  }
}

TEST(PlayerDisplay, LogoCornerStaysClearOfText) {
  PlayerDisplay display;
  engine::PlayerStatus status = clipOf(200.0);
  status.title = std::string(200, 'W');
  status.message = {engine::PlayerEvent::ClipSkipped, std::string(200, 'M'), "x"};
  display.showStatus(status);
  const QImage image = display.grab().toImage();
  PlayerDisplay empty;
  const QImage blank = empty.grab().toImage();
  int differing = 0;
  for (int y = 0; y < PlayerDisplay::kLogoHeight; ++y)
    for (int x = 0; x < PlayerDisplay::kLogoWidth; ++x)
      differing += image.pixel(x, y) != blank.pixel(x, y);
  EXPECT_EQ(differing, 0) << "the logo's corner is drawn on";
  int titlePixels = 0;  // the check can see text: the title row right of the corner differs
  for (int x = PlayerDisplay::kLogoWidth; x < PlayerDisplay::kWidth; ++x)
    titlePixels += image.pixel(x, 12) != blank.pixel(x, 12);
  EXPECT_GT(titlePixels, 0);
}

}  // namespace
}  // namespace tunelark::module
