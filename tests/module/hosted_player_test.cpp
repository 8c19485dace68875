// The component as the window hosts it: the real engine, the real Qt sink on the test
// environment's PulseAudio null sink, and the display, with clips made by ffmpeg.

#include "player/module/hosted_player.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "player/module/display_text.h"
#include "player/module/level_bar.h"
#include "sound_check.h"
#include "support/temp_dir.h"

namespace tunelark::module {
namespace {

using engine::PlayState;
using testing::pumpEvents;

class HostedPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = testing::soundUnavailableReason();
    if (!reason.empty()) GTEST_SKIP() << reason;
    player_ = std::make_unique<HostedPlayer>(makeOutputSink(), &window_);
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
  PlayState state() { return player_->engine().status().state; }

  testing::TempDir dir_;
  QWidget window_;
  std::unique_ptr<HostedPlayer> player_;
};

TEST_F(HostedPlayerTest, PlaysA440HzClipIntoTheSoundServer) {
  const std::string clip = tone("tone.rm", 440, 3);
  testing::MonitorRecording recording;
  ASSERT_TRUE(recording.started()) << "parec heard nothing from the test sink";
  play("file:" + clip);
  pumpEvents(2000);
  EXPECT_FALSE(player_->engine().status().noDevice);
  EXPECT_EQ(shown().state, "Playing");
  testing::expectHeardTone(recording.finish(), 440);
}

TEST_F(HostedPlayerTest, PlaysToTheEndAndStopsAtTheStart) {
  play("file:" + tone("short.rm", 440, 1));
  pumpEvents(6000, [&] { return state() == PlayState::Stopped; });
  EXPECT_EQ(shown().state, "Stopped");
  EXPECT_EQ(shown().time.substr(0, 4), "0:00");
}

// The bar seeks only once the display itself knows the length, at its next poll.
TEST_F(HostedPlayerTest, ShowsTheLocalLengthAndAClickOnThePositionBarSeeks) {
  play("file:" + tone("long.rm", 440, 20));
  pumpEvents(5000, [&] { return shown().time.find("/ --:--") == std::string::npos; });
  ASSERT_NE(shown().time.find("/ 0:20"), std::string::npos) << shown().time;
  EXPECT_EQ(shown().title, "long.rm");
  LevelBar& bar = player_->playerDisplay()->positionBar();
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(1 + (bar.width() - 2) / 2, bar.height() / 2));
  EXPECT_NEAR(player_->engine().status().elapsedSeconds, 10, 1.0);
  pumpEvents(300);
  EXPECT_NEAR(bar.value(), 0.5, 0.05);
}

TEST_F(HostedPlayerTest, ShowsTheNextClipAtOnceAndPollsOftenOnlyWhilePlaying) {
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

TEST_F(HostedPlayerTest, FailingClipIsNamedInTheDisplay) {
  play("file:" + dir_.str() + "/missing-clip.rm");
  pumpEvents(3000, [&] { return shown().error; });
  EXPECT_NE(shown().message.find("missing-clip.rm"), std::string::npos) << shown().message;
}

TEST_F(HostedPlayerTest, SurvivesTheHostDeletingTheDisplayFirst) {
  delete player_->display();
  EXPECT_EQ(player_->display(), nullptr);
  control().setSource("file:" + dir_.str() + "/none.rm");
  player_->refresh();
  player_.reset();
}

}  // namespace
}  // namespace tunelark::module
