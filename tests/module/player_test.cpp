// The component as the window hosts it: the built module loaded as the window does, the real
// engine on the test environment's PulseAudio null sink with the sound module loaded at the first
// play, the display widget with its bars and what it says, with clips made by ffmpeg.

#include <gtest/gtest.h>

#include <QImage>
#include <QLibrary>
#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <limits>
#include <optional>
#include <tuple>

#include "player/module/display_text.h"
#include "player/module/hosted_player.h"
#include "player/module/lazy_sound.h"
#include "player/module/level_bar.h"
#include "player/module/player_display.h"
#include "player/module/player_module_api.h"
#include "sound_check.h"
#include "support/temp_dir.h"

namespace tunelark::module {
namespace {

using engine::PlayState;
using testing::pumpEvents;

TEST(PlayerModule, FactoryAloneIsExportedAndDrawsInTheGivenWidget) {
  QLibrary library(TUNELARK_PLAYER_MODULE_PATH);
  ASSERT_TRUE(library.load()) << library.errorString().toStdString();
  // Mangled names of the module's own code, which must stay hidden inside it.
  EXPECT_EQ(library.resolve("_ZN8tunelark6module14makeOutputSinkEv"), nullptr);
  EXPECT_EQ(library.resolve("_ZN8tunelark6engine12PlayerEngine4pollEv"), nullptr);
  auto create = reinterpret_cast<TunelarkCreatePlayerFn>(library.resolve(TUNELARK_PLAYER_FACTORY));
  ASSERT_NE(create, nullptr);
  QWidget window;
  std::unique_ptr<PlayerComponent> component(create(&window));
  ASSERT_NE(component, nullptr);
  QPointer<QWidget> display = component->display();
  ASSERT_TRUE(display);
  EXPECT_EQ(display->parentWidget(), &window);
  EXPECT_EQ(display->size(), QSize(337, 105));
  component.reset();
  EXPECT_FALSE(display) << "the component owns its display";
}

class HostedPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = testing::soundUnavailableReason();
    if (!reason.empty()) GTEST_SKIP() << reason;
  }
  void host(std::unique_ptr<engine::AudioSink> sink = makeOutputSink()) {
    player_ = std::make_unique<HostedPlayer>(std::move(sink), &window_);
  }
  std::string tone(const std::string& name, int hertz, int seconds) {
    return testing::makeTone(dir_.str() + "/" + name, hertz, seconds);
  }
  void play(const std::string& source) {
    control().setAutoStart(true);
    control().setSource(source);
  }
  PlayerControl& control() { return player_->control(); }
  const DisplayText& shown() { return player_->playerDisplay()->text(); }
  engine::PlayerStatus status() { return player_->engine().status(); }

  testing::TempDir dir_;
  QWidget window_;
  std::unique_ptr<HostedPlayer> player_;
};

// The sound module is loaded at the first play; one that cannot be loaded leaves the player on
// the clock, saying why.
TEST_F(HostedPlayerTest, LoadsTheSoundAtTheFirstPlayAndPlaysAClipIntoTheServerToItsEnd) {
  const std::string clip = tone("tone.rm", 440, 2);
  for (const std::string& module : {std::string(), dir_.str() + "/libtunelark_sound.so"}) {
    SCOPED_TRACE(module);
    auto owned = std::make_unique<LazySound>(module);
    LazySound& sound = *owned;
    host(std::move(owned));
    EXPECT_FALSE(sound.loaded()) << "nothing is loaded before the first play";
    testing::MonitorRecording recording;
    ASSERT_TRUE(recording.started()) << "parec heard nothing from the test sink";
    play("file:" + clip);
    pumpEvents(1500);
    EXPECT_EQ(status().state, PlayState::Playing);
    EXPECT_EQ(sound.loaded(), module.empty());
    EXPECT_EQ(status().noDevice, !module.empty());
    if (!module.empty()) {
      EXPECT_NE(status().message.detail.find("could not be loaded"), std::string::npos)
          << status().message.detail;
      continue;
    }
    EXPECT_EQ(shown().state, "Playing");
    testing::expectHeardTone(recording.finish(), 440);
    pumpEvents(6000, [&] { return status().state == PlayState::Stopped; });
    EXPECT_EQ(shown().state, "Stopped");
    EXPECT_EQ(shown().time.substr(0, 4), "0:00");
  }
}

// The bar seeks only once the display itself knows the length, at its next poll.
TEST_F(HostedPlayerTest, ShowsTheLengthSeeksOnAClickAndShowsTheNextClipAtOnce) {
  host();
  play("file:" + tone("long.rm", 440, 20));
  pumpEvents(5000, [&] { return shown().time.find("/ --:--") == std::string::npos; });
  ASSERT_NE(shown().time.find("/ 0:20"), std::string::npos) << shown().time;
  EXPECT_EQ(shown().title, "long.rm");
  LevelBar& bar = player_->playerDisplay()->positionBar();
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(1 + (bar.width() - 2) / 2, bar.height() / 2));
  EXPECT_NEAR(status().elapsedSeconds, 10, 1.0);
  pumpEvents(300);
  EXPECT_NEAR(bar.value(), 0.5, 0.05);

  control().stop();
  control().setAutoStart(false);
  control().setSource(dir_.write("two.ram", tone("a.rm", 440, 5) + "\n" + tone("b.rm", 550, 5)));
  EXPECT_EQ(shown().state, "Stopped") << "auto-start off loads without playing";
  EXPECT_EQ(player_->pollInterval(), HostedPlayer::kIdlePollMs);
  control().nextClip();
  EXPECT_EQ(shown().clip, "Clip 2 of 2");
  EXPECT_EQ(shown().title, "b.rm");
  control().playPause();
  EXPECT_EQ(player_->pollInterval(), HostedPlayer::kPlayingPollMs);
  control().playPause();
  EXPECT_EQ(shown().state, "Paused");
  EXPECT_EQ(player_->pollInterval(), HostedPlayer::kIdlePollMs);
}

TEST_F(HostedPlayerTest, NamesAFailingClipAndSurvivesTheHostDeletingTheDisplayFirst) {
  host();
  play("file:" + dir_.str() + "/missing-clip.rm");
  pumpEvents(3000, [&] { return shown().error; });
  EXPECT_NE(shown().message.find("missing-clip.rm"), std::string::npos) << shown().message;
  delete player_->display();
  EXPECT_EQ(player_->display(), nullptr);
  control().setSource("file:" + dir_.str() + "/none.rm");
  player_->refresh();
  player_.reset();
}

engine::PlayerStatus clipOf(std::optional<double> total, double elapsed = 12.5) {
  engine::PlayerStatus status;
  status.state = PlayState::Playing;
  status.title = "Evening Tide";
  status.clipIndex = 2;
  status.clipCount = 3;
  status.elapsedSeconds = elapsed;
  status.totalSeconds = total;
  return status;
}

// What the display says for a status: times, "Clip i of n", the state, the problem shown.
TEST(DisplayText, TimesClipStateAndEachProblemInItsWords) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  const std::pair<std::optional<double>, const char*> times[] = {
      {59.999, "0:59"},        {60.0, "1:00"},
      {185.4, "3:05"},         {3599.9, "59:59"},
      {3600.0, "1:00:00"},     {36061.0, "10:01:01"},
      {std::nullopt, "--:--"}, {-0.5, "--:--"},
      {kNan, "--:--"},         {std::numeric_limits<double>::infinity(), "--:--"}};
  for (const auto& [seconds, shown] : times) EXPECT_EQ(formatTime(seconds), shown);
  engine::PlayerStatus status = clipOf(std::nullopt);
  EXPECT_EQ(describe(status).title, "Evening Tide");
  EXPECT_EQ(describe(status).clip, "Clip 3 of 3");
  EXPECT_EQ(describe(status).time, "0:12 / --:--");  // an unknown total is never shown as zero
  EXPECT_FALSE(describe(status).error);
  status.totalSeconds = 0.0;
  EXPECT_EQ(describe(status).time, "0:12 / 0:00");
  status.title.clear();
  EXPECT_FALSE(describe(status).title.empty());
  EXPECT_EQ(describe(engine::PlayerStatus{}).title, "No clip");
  EXPECT_EQ(describe(engine::PlayerStatus{}).clip, "");
  const std::tuple<PlayState, bool, const char*> states[] = {
      {PlayState::Stopped, false, "Stopped"},
      {PlayState::Paused, false, "Paused"},
      {PlayState::Stopped, true, "Stopped - no sound device"},
      {PlayState::Playing, true, "Playing - no sound device"}};
  for (const auto& [state, noDevice, shown] : states) {
    status.state = state;
    status.noDevice = noDevice;
    EXPECT_EQ(describe(status).state, shown);
  }
  using engine::PlayerEvent;
  const std::pair<engine::PlayerMessage, std::string> problems[] = {
      {{PlayerEvent::ClipSkipped, "broken.rm", "not a clip"}, "Skipped \"broken.rm\": not a clip"},
      {{PlayerEvent::ClipEndedEarly, "a.rm", "damaged data"}, "\"a.rm\" ended early: damaged data"},
      {{PlayerEvent::ListShortened, "", "only the first 2 clips are played"},
       "only the first 2 clips are played"},
      {{PlayerEvent::NoDevice, "", ""}, "No sound device: playing silently"},
      {{PlayerEvent::NoDevice, "", "no server"}, "No sound device (no server): playing silently"},
      {{PlayerEvent::DeviceFailed, "", ""}, "Playback stopped: the sound device failed"},
      {{PlayerEvent::DeviceFailed, "", "server gone"}, "Playback stopped: server gone"},
  };
  for (const auto& [message, words] : problems) {
    status.message = message;
    EXPECT_TRUE(describe(status).error) << words;
    EXPECT_EQ(describe(status).message, words);
  }
  const std::tuple<double, std::optional<double>, double> progress[] = {
      {30, 120.0, 0.25}, {130, 120.0, 1}, {-3, 120.0, 0},  {30, std::nullopt, 0},
      {30, 0.0, 0},      {30, -5.0, 0},   {kNan, 120.0, 0}};
  for (const auto& [elapsed, total, fraction] : progress)
    EXPECT_DOUBLE_EQ(progressOf(clipOf(total, elapsed)), fraction) << elapsed;
}

QPoint at(const LevelBar& bar, double fraction) {
  return QPoint(1 + static_cast<int>(fraction * (bar.width() - 2)), bar.height() / 2);
}

void moveWithButton(QWidget& widget, QPoint point) {
  QMouseEvent move(QEvent::MouseMove, point, widget.mapToGlobal(point), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&widget, &move);
}

// A drag seeks once, where released, and holds against playback; nothing seeks while the total
// is unknown.
TEST(PlayerDisplay, DragSeeksOnceWhereReleasedAndOnlyWhenTheTotalIsKnown) {
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
  display.showStatus(clipOf(std::nullopt));
  QTest::mouseClick(&bar, Qt::LeftButton, {}, at(bar, 0.5));
  EXPECT_EQ(seeks.size(), 1);
  EXPECT_DOUBLE_EQ(bar.value(), 0);
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
