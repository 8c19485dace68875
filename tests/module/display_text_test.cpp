// What the display says for a status: times, "Clip i of n", the state, the problem shown.

#include "player/module/display_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tunelark::module {
namespace {

using engine::PlayerStatus;
using engine::PlayState;

struct TimeCase {
  std::optional<double> seconds;
  const char* shown;
};

class FormatTime : public ::testing::TestWithParam<TimeCase> {};

TEST_P(FormatTime, ShowsMinutesSecondsOrUnknown) {
  EXPECT_EQ(formatTime(GetParam().seconds), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Times, FormatTime,
    ::testing::Values(TimeCase{0.0, "0:00"}, TimeCase{0.99, "0:00"}, TimeCase{1.0, "0:01"},
                      TimeCase{59.999, "0:59"}, TimeCase{60.0, "1:00"}, TimeCase{185.4, "3:05"},
                      TimeCase{3599.9, "59:59"}, TimeCase{3600.0, "1:00:00"},
                      TimeCase{36061.0, "10:01:01"}, TimeCase{std::nullopt, "--:--"},
                      TimeCase{-0.5, "--:--"},
                      TimeCase{std::numeric_limits<double>::quiet_NaN(), "--:--"},
                      TimeCase{std::numeric_limits<double>::infinity(), "--:--"}));

PlayerStatus playing(int index, int count) {
  PlayerStatus status;
  status.state = PlayState::Playing;
  status.title = "Morning Raga";
  status.clipIndex = index;
  status.clipCount = count;
  status.elapsedSeconds = 12.5;
  return status;
}

TEST(DescribeStatus, NamesTheClipAndItsPlaceInTheList) {
  const DisplayText text = describe(playing(0, 3));
  EXPECT_EQ(text.title, "Morning Raga");
  EXPECT_EQ(text.clip, "Clip 1 of 3");
  EXPECT_EQ(describe(playing(2, 3)).clip, "Clip 3 of 3");
}

TEST(DescribeStatus, UnknownTotalIsShownAsUnknownNeverAsZero) {
  PlayerStatus status = playing(0, 1);
  EXPECT_EQ(describe(status).time, "0:12 / --:--");
  status.totalSeconds = 0.0;
  EXPECT_EQ(describe(status).time, "0:12 / 0:00");
  status.totalSeconds = 200.0;
  EXPECT_EQ(describe(status).time, "0:12 / 3:20");
}

TEST(DescribeStatus, WithoutSourceSaysSoAndShowsNoClipCount) {
  const DisplayText text = describe(PlayerStatus{});
  EXPECT_EQ(text.title, "No clip");
  EXPECT_EQ(text.clip, "");
  EXPECT_EQ(text.state, "Stopped");
  EXPECT_FALSE(text.error);
}

TEST(DescribeStatus, ClipWithoutAnyTitleStillHasOne) {
  PlayerStatus status = playing(0, 1);
  status.title.clear();
  EXPECT_FALSE(describe(status).title.empty());
}

struct StateCase {
  PlayState state;
  bool noDevice;
  const char* shown;
};

class DescribeState : public ::testing::TestWithParam<StateCase> {};

TEST_P(DescribeState, ShowsStateAndMissingDevice) {
  PlayerStatus status = playing(0, 1);
  status.state = GetParam().state;
  status.noDevice = GetParam().noDevice;
  EXPECT_EQ(describe(status).state, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    States, DescribeState,
    ::testing::Values(StateCase{PlayState::Stopped, false, "Stopped"},
                      StateCase{PlayState::Playing, false, "Playing"},
                      StateCase{PlayState::Paused, false, "Paused"},
                      StateCase{PlayState::Stopped, true, "Stopped - no sound device"},
                      StateCase{PlayState::Playing, true, "Playing - no sound device"}));

// Each thing the player reports, in the words the display shows for it.
TEST(DescribeStatus, EachProblemHasItsWordsAndShowsAsAnError) {
  using engine::PlayerEvent;
  using engine::PlayerMessage;
  const std::pair<PlayerMessage, std::string> cases[] = {
      {{PlayerEvent::ClipSkipped, "broken.rm", "not a clip"}, "Skipped \"broken.rm\": not a clip"},
      {{PlayerEvent::ClipEndedEarly, "a.rm", "damaged data"}, "\"a.rm\" ended early: damaged data"},
      {{PlayerEvent::ListShortened, "", "only the first 2 clips are played"},
       "only the first 2 clips are played"},
      {{PlayerEvent::NoDevice, "", ""}, "No sound device: playing silently"},
      {{PlayerEvent::NoDevice, "", "no server"}, "No sound device (no server): playing silently"},
      {{PlayerEvent::DeviceFailed, "", ""}, "Playback stopped: the sound device failed"},
      {{PlayerEvent::DeviceFailed, "", "server gone"}, "Playback stopped: server gone"},
  };
  for (const auto& [message, words] : cases) {
    PlayerStatus status = playing(1, 2);
    status.message = message;
    const DisplayText text = describe(status);
    EXPECT_TRUE(text.error) << words;
    EXPECT_EQ(text.message, words);
  }
  EXPECT_FALSE(describe(playing(1, 2)).error);
}

struct ProgressCase {
  double elapsed;
  std::optional<double> total;
  double fraction;
};

class Progress : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(Progress, StaysWithinTheBar) {
  PlayerStatus status;
  status.elapsedSeconds = GetParam().elapsed;
  status.totalSeconds = GetParam().total;
  EXPECT_DOUBLE_EQ(progressOf(status), GetParam().fraction);
}

INSTANTIATE_TEST_SUITE_P(Fractions, Progress,
                         ::testing::Values(ProgressCase{30, 120.0, 0.25}, ProgressCase{0, 120.0, 0},
                                           ProgressCase{120, 120.0, 1}, ProgressCase{130, 120.0, 1},
                                           ProgressCase{-3, 120.0, 0},
                                           ProgressCase{30, std::nullopt, 0},
                                           ProgressCase{30, 0.0, 0}, ProgressCase{30, -5.0, 0},
                                           ProgressCase{std::nan(""), 120.0, 0}));

}  // namespace
}  // namespace tunelark::module
