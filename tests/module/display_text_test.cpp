// What the display says for a status: times, "Clip i of n", the state, the problem shown.

#include "player/module/display_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tunelark::module {
namespace {

using engine::PlayerStatus;
using engine::PlayState;

TEST(FormatTime, ShowsMinutesSecondsHoursOrUnknown) {
  const std::pair<std::optional<double>, const char*> cases[] = {

      {59.999, "0:59"},
      {60.0, "1:00"},
      {185.4, "3:05"},
      {3599.9, "59:59"},
      {3600.0, "1:00:00"},
      {36061.0, "10:01:01"},
      {std::nullopt, "--:--"},
      {-0.5, "--:--"},
      {std::numeric_limits<double>::quiet_NaN(), "--:--"},
      {std::numeric_limits<double>::infinity(), "--:--"}};
  for (const auto& [seconds, shown] : cases) EXPECT_EQ(formatTime(seconds), shown);
}

PlayerStatus playing() {
  PlayerStatus status;
  status.state = PlayState::Playing;
  status.title = "Morning Raga";
  status.clipIndex = 2;
  status.clipCount = 3;
  status.elapsedSeconds = 12.5;
  return status;
}

TEST(DescribeStatus, NamesTheClipItsPlaceAndTheTotalUnknownNeverAsZero) {
  PlayerStatus status = playing();
  EXPECT_EQ(describe(status).title, "Morning Raga");
  EXPECT_EQ(describe(status).clip, "Clip 3 of 3");
  EXPECT_EQ(describe(status).time, "0:12 / --:--");
  status.totalSeconds = 0.0;
  EXPECT_EQ(describe(status).time, "0:12 / 0:00");
  status.title.clear();
  EXPECT_FALSE(describe(status).title.empty());
  const DisplayText none = describe(PlayerStatus{});
  EXPECT_EQ(none.title, "No clip");
  EXPECT_EQ(none.clip, "");
}

TEST(DescribeStatus, ShowsStateAndMissingDevice) {
  const std::tuple<PlayState, bool, const char*> cases[] = {
      {PlayState::Stopped, false, "Stopped"},
      {PlayState::Paused, false, "Paused"},
      {PlayState::Stopped, true, "Stopped - no sound device"},
      {PlayState::Playing, true, "Playing - no sound device"}};
  for (const auto& [state, noDevice, shown] : cases) {
    PlayerStatus status = playing();
    status.state = state;
    status.noDevice = noDevice;
    EXPECT_EQ(describe(status).state, shown);
  }
}

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
    PlayerStatus status = playing();
    status.message = message;
    EXPECT_TRUE(describe(status).error) << words;
    EXPECT_EQ(describe(status).message, words);
  }
  EXPECT_FALSE(describe(playing()).error);
}

TEST(ProgressOf, StaysWithinTheBar) {
  const std::tuple<double, std::optional<double>, double> cases[] = {
      {30, 120.0, 0.25}, {130, 120.0, 1}, {-3, 120.0, 0},          {30, std::nullopt, 0},
      {30, 0.0, 0},      {30, -5.0, 0},   {std::nan(""), 120.0, 0}};
  for (const auto& [elapsed, total, fraction] : cases) {
    PlayerStatus status;
    status.elapsedSeconds = elapsed;
    status.totalSeconds = total;
    EXPECT_DOUBLE_EQ(progressOf(status), fraction) << elapsed;
  }
}

}  // namespace
}  // namespace tunelark::module
