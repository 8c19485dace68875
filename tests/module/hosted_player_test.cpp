// The component as the window hosts it: the real engine, the real Qt sink on the test
// environment's PulseAudio null sink, and the display, with clips made by ffmpeg.

#include "player/module/hosted_player.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

#include "clip_server.h"
#include "player/module/display_text.h"
#include "player/module/level_bar.h"
#include "sound_check.h"
#include "support/temp_dir.h"

namespace tunelark::module {
namespace {

using engine::PlayState;
using testing::pumpEvents;
using testing::TempDir;

// A sine clip made by ffmpeg: AC-3 or RealAudio 1.0 in RealMedia.
std::string makeTone(const TempDir& dir, const std::string& name, int hertz, int seconds,
                     bool realAudio = false, const std::string& title = "") {
  const std::string path = dir.str() + "/" + name;
  std::vector<std::string> args{
      "-f", "lavfi", "-i",
      "sine=frequency=" + std::to_string(hertz) + ":duration=" + std::to_string(seconds)};
  if (realAudio)
    args.insert(args.end(), {"-ar", "8000", "-ac", "1", "-c:a", "real_144"});
  else
    args.insert(args.end(), {"-c:a", "ac3"});
  if (!title.empty()) args.insert(args.end(), {"-metadata", "title=" + title});
  args.push_back(path);
  if (!testing::runFfmpeg(args)) ADD_FAILURE() << "ffmpeg could not make " << path;
  return path;
}

class HostedPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = testing::soundUnavailableReason();
    if (!reason.empty()) GTEST_SKIP() << reason;
    player_ = std::make_unique<HostedPlayer>(makeOutputSink(), &window_);
  }

  PlayerControl& control() { return player_->control(); }
  const DisplayText& shown() { return player_->playerDisplay()->text(); }

  TempDir dir_;
  QWidget window_;
  std::unique_ptr<HostedPlayer> player_;
};

TEST_F(HostedPlayerTest, PlaysA440HzClipIntoTheSoundServer) {
  const std::string clip = makeTone(dir_, "tone.rm", 440, 3);
  testing::MonitorRecording recording;
  ASSERT_TRUE(recording.started()) << "parec heard nothing from the test sink";
  control().setAutoStart(true);
  control().setSource("file:" + clip);
  EXPECT_EQ(player_->engine().status().state, PlayState::Playing);
  pumpEvents(2000);
  const auto status = player_->engine().status();
  EXPECT_FALSE(status.noDevice) << module::messageText(status.message);
  EXPECT_EQ(shown().state, "Playing");
  testing::expectHeardTone(recording.finish(), 440);
}

TEST_F(HostedPlayerTest, PlaysToTheEndAndStopsAtTheStart) {
  const std::string clip = makeTone(dir_, "short.rm", 440, 1, /*realAudio=*/true);
  control().setAutoStart(true);
  control().setSource("file:" + clip);
  pumpEvents(6000, [&] { return player_->engine().status().state == PlayState::Stopped; });
  EXPECT_EQ(player_->engine().status().state, PlayState::Stopped);
  EXPECT_EQ(shown().state, "Stopped");
  EXPECT_EQ(shown().time.substr(0, 4), "0:00");
}

TEST_F(HostedPlayerTest, DisplayShowsTitleClipNumberAndUnknownTotal) {
  // A network clip's length is known only once it has been heard to its end.
  testing::ClipServer server(makeTone(dir_, "one.rm", 440, 20, false, "Morning Tone"));
  ASSERT_TRUE(server.listening());
  const std::string second = makeTone(dir_, "two.rm", 550, 1, true);
  const std::string third = makeTone(dir_, "three.rm", 660, 1, true);
  const std::string list = dir_.write(
      "three.ram", server.url("one.rm") + "\r\nfile:" + second + "\r\nfile:" + third + "\r\n");
  control().setAutoStart(true);
  control().setSource(list);
  pumpEvents(5000, [&] { return shown().title == "Morning Tone"; });
  pumpEvents(500);
  EXPECT_EQ(shown().title, "Morning Tone");
  EXPECT_EQ(shown().clip, "Clip 1 of 3");
  EXPECT_EQ(shown().state, "Playing");
  EXPECT_NE(shown().time.find("/ --:--"), std::string::npos) << shown().time;
}

TEST_F(HostedPlayerTest, DisplayShowsTheLengthOfALocalClip) {
  const std::string clip = makeTone(dir_, "long.rm", 440, 20, true);
  control().setAutoStart(true);
  control().setSource("file:" + clip);
  pumpEvents(5000, [&] { return shown().time.find("/ --:--") == std::string::npos; });
  EXPECT_NE(shown().time.find("/ 0:20"), std::string::npos) << shown().time;
  EXPECT_EQ(shown().title, "long.rm");
}

TEST_F(HostedPlayerTest, ClickOnThePositionBarMovesPlayback) {
  const std::string clip = makeTone(dir_, "long.rm", 440, 20, true);
  control().setAutoStart(true);
  control().setSource("file:" + clip);
  // The bar seeks only once the display itself knows the length, which it learns at its next
  // poll, after the engine does.
  pumpEvents(5000, [&] { return shown().time.find("/ --:--") == std::string::npos; });
  ASSERT_EQ(shown().time.find("/ --:--"), std::string::npos) << shown().time;
  LevelBar& bar = player_->playerDisplay()->positionBar();
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(1 + (bar.width() - 2) / 2, bar.height() / 2));
  EXPECT_NEAR(player_->engine().status().elapsedSeconds, 10, 1.0);
  pumpEvents(300);
  EXPECT_NEAR(bar.value(), 0.5, 0.05);
}

TEST_F(HostedPlayerTest, NextClipIsShownAtOnce) {
  const std::string first = makeTone(dir_, "a.rm", 440, 5, true);
  const std::string second = makeTone(dir_, "b.rm", 550, 5, true);
  control().setAutoStart(false);
  control().setSource(dir_.write("two.ram", first + "\n" + second + "\n"));
  EXPECT_EQ(shown().clip, "Clip 1 of 2");
  EXPECT_EQ(shown().state, "Stopped") << "auto-start off loads without playing";
  control().nextClip();
  EXPECT_EQ(shown().clip, "Clip 2 of 2");
  EXPECT_EQ(shown().title, "b.rm");
}

TEST_F(HostedPlayerTest, FailingClipIsNamedInTheDisplay) {
  control().setAutoStart(true);
  control().setSource("file:" + dir_.str() + "/missing-clip.rm");
  pumpEvents(3000, [&] { return shown().error; });
  EXPECT_TRUE(shown().error);
  EXPECT_NE(shown().message.find("missing-clip.rm"), std::string::npos) << shown().message;
}

TEST_F(HostedPlayerTest, PollsOftenOnlyWhilePlaying) {
  EXPECT_EQ(player_->pollInterval(), HostedPlayer::kIdlePollMs);
  const std::string clip = makeTone(dir_, "tone.rm", 440, 5, true);
  control().setAutoStart(true);
  control().setSource("file:" + clip);
  EXPECT_EQ(player_->pollInterval(), HostedPlayer::kPlayingPollMs);
  control().playPause();
  EXPECT_EQ(shown().state, "Paused");
  EXPECT_EQ(player_->pollInterval(), HostedPlayer::kIdlePollMs);
  control().stop();
  EXPECT_EQ(shown().state, "Stopped");
}

TEST_F(HostedPlayerTest, DisplayLivesInTheHostsWidgetAndGoesWithTheComponent) {
  QPointer<QWidget> display = player_->display();
  ASSERT_TRUE(display);
  EXPECT_EQ(display->parentWidget(), &window_);
  player_.reset();
  EXPECT_FALSE(display);
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
