// The six operations and seeking, as the window and the display drive them.

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <thread>

#include "engine/engine_fixtures.h"
#include "player/engine/null_sink.h"
#include "player/engine/player_engine.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

using testing::TempDir;
using testing::ToneSpec;

// Three clips of a few seconds in a .ram, played on the clock.
class OperationsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    for (const auto* name : {"one", "two", "three"})
      testing::makeTone(dir_->str() + "/" + name + ".rm",
                        ToneSpec{"real_144", 8000, 1, 5.0, 440, ""});
    ram_ = new std::string(dir_->write(
        "three.ram", "one.rm?title=One\r\ntwo.rm?title=Two\r\nthree.rm?title=Three\r\n"));
  }
  static void TearDownTestSuite() {
    delete ram_;
    delete dir_;
  }

  PlayerEngine player{std::make_unique<NullSink>(AudioFormat{8000, 1})};
  static const std::string& ram() { return *ram_; }

  bool playedFor(double seconds) {
    return testing::pollUntil(player, [&] { return player.status().elapsedSeconds >= seconds; });
  }

 private:
  static TempDir* dir_;
  static std::string* ram_;
};

TempDir* OperationsTest::dir_ = nullptr;
std::string* OperationsTest::ram_ = nullptr;

TEST_F(OperationsTest, AutoStartDecidesWhetherALoadedSourcePlays) {
  player.setAutoStart(false);
  player.setSource(ram());
  const auto s = player.status();
  EXPECT_EQ(s.state, PlayState::Stopped);
  EXPECT_EQ(s.clipCount, 3);
  EXPECT_EQ(s.clipIndex, 0);
  EXPECT_EQ(s.title, "One");
  EXPECT_EQ(s.elapsedSeconds, 0);
  player.nextClip();  // while stopped, next and previous only choose the clip
  player.nextClip();
  player.previousClip();
  EXPECT_EQ(player.status().state, PlayState::Stopped);
  player.setAutoStart(true);  // plays what was loaded
  EXPECT_EQ(player.status().state, PlayState::Playing);
  EXPECT_EQ(player.status().title, "Two");
  EXPECT_TRUE(playedFor(0.05));
  player.stop();
  player.setAutoStart(true);  // but not after a stop
  EXPECT_EQ(player.status().state, PlayState::Stopped);
}

TEST_F(OperationsTest, SameSourceAgainChangesNothingButAfterEmptyItStartsAgain) {
  player.setSource(ram());
  EXPECT_EQ(player.status().state, PlayState::Playing);
  player.stop();
  player.setSource(ram());
  EXPECT_EQ(player.status().state, PlayState::Stopped);
  player.setSource("");
  const auto s = player.status();
  EXPECT_EQ(s.clipCount, 0);
  EXPECT_EQ(s.title, "");
  player.playPause();  // nothing to play
  EXPECT_EQ(player.status().state, PlayState::Stopped);
  player.setSource(ram());
  EXPECT_EQ(player.status().state, PlayState::Playing);
}

TEST_F(OperationsTest, PlayPauseTogglesAndPauseHoldsThePosition) {
  player.setSource(ram());
  ASSERT_TRUE(playedFor(0.1));
  player.playPause();
  EXPECT_EQ(player.status().state, PlayState::Paused);
  const double held = player.status().elapsedSeconds;
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(player.status().elapsedSeconds, held);
  player.playPause();
  EXPECT_EQ(player.status().state, PlayState::Playing);
  EXPECT_TRUE(playedFor(held + 0.05));
  player.playPause();
  player.nextClip();  // a pause survives moving to another clip
  EXPECT_EQ(player.status().state, PlayState::Paused);
  EXPECT_EQ(player.status().clipIndex, 1);
  player.playPause();
  ASSERT_TRUE(playedFor(0.1));
  player.stop();  // back to the start of the current clip
  EXPECT_EQ(player.status().state, PlayState::Stopped);
  EXPECT_EQ(player.status().clipIndex, 1);
  EXPECT_EQ(player.status().elapsedSeconds, 0);
  player.playPause();
  EXPECT_EQ(player.status().state, PlayState::Playing);
  EXPECT_EQ(player.status().clipIndex, 1);
  EXPECT_LT(player.status().elapsedSeconds, 0.1);
}

TEST_F(OperationsTest, NextAndPreviousWalkTheListStopAtItsEdgesAndRestartLateClips) {
  player.setSource(ram());
  const std::vector<std::pair<void (PlayerEngine::*)(), std::string>> steps = {
      {&PlayerEngine::nextClip, "Two"},     {&PlayerEngine::nextClip, "Three"},
      {&PlayerEngine::nextClip, "Three"},   {&PlayerEngine::previousClip, "Two"},
      {&PlayerEngine::previousClip, "One"}, {&PlayerEngine::previousClip, "One"}};
  for (const auto& [step, title] : steps) {
    (player.*step)();
    EXPECT_EQ(player.status().title, title);
    EXPECT_EQ(player.status().state, PlayState::Playing);
  }
  // Previous late in a clip restarts it, early goes back: both sides of the three-second mark.
  player.nextClip();
  player.seek(3.5);
  player.previousClip();
  EXPECT_EQ(player.status().clipIndex, 1);
  EXPECT_LT(player.status().elapsedSeconds, 1.0);
  player.seek(2.5);
  player.previousClip();
  EXPECT_EQ(player.status().clipIndex, 0);
}

// Junk positions keep the position within bounds and break nothing for the seeks after them.
TEST_F(OperationsTest, SeekMovesThePositionAndIsSafeWithJunk) {
  player.setSource(ram());
  const double junk[] = {std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity(), 1e300, -1e300};
  for (const double seconds : junk) {
    player.seek(seconds);
    const auto s = player.status();
    EXPECT_GE(s.elapsedSeconds, 0) << seconds;
    EXPECT_LE(s.elapsedSeconds, 86400) << seconds;
  }
  player.seek(2.0);
  // Playback goes on from the new position at once, so it may already be a little past it.
  EXPECT_GE(player.status().elapsedSeconds, 2.0);
  EXPECT_LT(player.status().elapsedSeconds, 2.5);
  EXPECT_TRUE(playedFor(2.05));
  player.seek(-5);
  EXPECT_LT(player.status().elapsedSeconds, 0.5);
}

TEST_F(OperationsTest, TotalIsCountedBeforePlayAndSeekPastItGoesToTheEnd) {
  const auto total = [&] {
    return testing::pollUntil(player, [&] { return player.status().totalSeconds.has_value(); });
  };
  player.setAutoStart(false);
  player.setSource(ram());
  ASSERT_TRUE(total());
  EXPECT_EQ(player.status().state, PlayState::Stopped);
  EXPECT_NEAR(*player.status().totalSeconds, 5.0, 0.05);
  player.seek(60);
  EXPECT_NEAR(player.status().elapsedSeconds, *player.status().totalSeconds, 0.001);
  player.nextClip();
  player.playPause();
  ASSERT_TRUE(total());
  EXPECT_EQ(player.status().clipIndex, 1);
  EXPECT_LT(player.status().elapsedSeconds, 4.0);
  EXPECT_NEAR(*player.status().totalSeconds, 5.0, 0.05);
}

TEST(NetworkTotal, ANetworkClipIsNotFetchedJustToCountIt) {
  PlayerEngine player(std::make_unique<NullSink>(AudioFormat{8000, 1}));
  player.setAutoStart(false);
  player.setSource("http://127.0.0.1:9/never.rm");
  EXPECT_FALSE(testing::pollUntil(
      player, [&] { return player.status().totalSeconds.has_value(); },
      std::chrono::milliseconds(300)));
}

TEST(CountedTotal, CountAheadAgreesWithWhatDecodingGives) {
  struct Case {
    std::string file;
    ToneSpec tone;
  };
  const std::vector<Case> cases = {{"ra.rm", ToneSpec{"real_144", 8000, 1, 1.3, 440, ""}},
                                   {"ac3.rm", ToneSpec{"ac3", 44100, 2, 1.0, 440, ""}},
                                   {"a.flac", ToneSpec{"flac", 22050, 1, 0.8, 440, ""}},
                                   {"a.wav", ToneSpec{"pcm_s16le", 11025, 2, 0.9, 440, ""}}};
  TempDir dir;
  for (const auto& c : cases) {
    const auto clip = dir.str() + "/" + c.file;
    testing::makeTone(clip, c.tone);
    const auto expected = testing::ffmpegDecodedFrames(clip, c.tone.channels);
    PlayerEngine player(
        std::make_unique<NullSink>(AudioFormat{c.tone.sampleRate, c.tone.channels}));
    player.setAutoStart(false);
    player.setSource(clip);
    ASSERT_TRUE(testing::pollUntil(player, [&] {
      return player.status().totalSeconds.has_value();
    })) << c.file;
    EXPECT_NEAR(*player.status().totalSeconds, static_cast<double>(expected) / c.tone.sampleRate,
                1e-6)
        << c.file;
  }
}

TEST(EndOfList, PlaybackStopsAndReturnsToTheFirstClip) {
  TempDir dir;
  testing::makeTone(dir.str() + "/a.rm");
  testing::makeTone(dir.str() + "/b.rm");
  const auto ram = dir.write("ab.ram", "a.rm\r\nb.rm\r\n");
  PlayerEngine player(std::make_unique<WavSink>("/dev/null", AudioFormat{8000, 1}));
  player.setSource(ram);
  ASSERT_TRUE(testing::pollUntilStopped(player));
  const auto s = player.status();
  EXPECT_EQ(s.clipIndex, 0);
  EXPECT_EQ(s.elapsedSeconds, 0);
  EXPECT_EQ(s.message, PlayerMessage{});
  player.playPause();
  EXPECT_EQ(player.status().state, PlayState::Playing);
}

TEST(Titles, MetadataThenParameterThenFileName) {
  TempDir dir;
  testing::makeTone(dir.str() + "/tagged.rm", ToneSpec{"real_144", 8000, 1, 1, 440, "Morning"});
  testing::makeTone(dir.str() + "/plain.rm");
  struct Case {
    std::string source;
    std::string title;
  };
  const std::vector<Case> cases = {{"file:" + dir.str() + "/tagged.rm?title=Param", "Morning"},
                                   {"file:" + dir.str() + "/plain.rm?title=Param", "Param"},
                                   {"file:" + dir.str() + "/plain.rm", "plain.rm"}};
  for (const auto& c : cases) {
    PlayerEngine player(std::make_unique<NullSink>(AudioFormat{8000, 1}));
    player.setSource(c.source);
    EXPECT_TRUE(testing::pollUntil(player, [&] { return player.status().title == c.title; }))
        << c.source << " shows " << player.status().title;
  }
}

}  // namespace
}  // namespace tunelark::engine
