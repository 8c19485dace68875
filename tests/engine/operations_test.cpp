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

enum class Op {
  AutoStart,
  AutoStartOff,
  Load,
  Empty,
  PlayPause,
  Stop,
  Next,
  Previous,
  Seek,
  Wait,
  Hold
};

// One operation and the status it leaves: state, clip and where in it, from `lo` to `hi` seconds.
struct Step {
  Op op;
  double arg;
  PlayState state;
  int clip;
  double lo = 0;
  double hi = 5.0;
};

constexpr auto kStop = PlayState::Stopped, kPlay = PlayState::Playing, kPause = PlayState::Paused;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const Step kScript[] = {
    {Op::AutoStartOff, 0, kStop, 0, 0, 0},
    {Op::Load, 0, kStop, 0, 0, 0},
    {Op::Next, 0, kStop, 1, 0, 0},  // while stopped, next and previous only choose the clip
    {Op::Next, 0, kStop, 2, 0, 0},
    {Op::Previous, 0, kStop, 1, 0, 0},
    {Op::AutoStart, 0, kPlay, 1, 0, 0.1},  // plays what was loaded
    {Op::Wait, 0.05, kPlay, 1, 0.05},
    {Op::Stop, 0, kStop, 1, 0, 0},       // back to the start of the current clip
    {Op::AutoStart, 0, kStop, 1, 0, 0},  // but not after a stop
    {Op::Load, 0, kStop, 1, 0, 0},       // the same source again changes nothing
    {Op::Empty, 0, kStop, 0, 0, 0},
    {Op::PlayPause, 0, kStop, 0, 0, 0},  // nothing to play
    {Op::Load, 0, kPlay, 0, 0, 0.1},
    {Op::Wait, 0.1, kPlay, 0, 0.1},
    {Op::PlayPause, 0, kPause, 0, 0.1},
    {Op::Hold, 0, kPause, 0, 0.1},  // a pause holds the position
    {Op::PlayPause, 0, kPlay, 0, 0.1},
    {Op::Wait, 0.2, kPlay, 0, 0.2},
    {Op::PlayPause, 0, kPause, 0, 0.2},
    {Op::Next, 0, kPause, 1, 0, 0},  // a pause survives moving to another clip
    {Op::PlayPause, 0, kPlay, 1, 0, 0.1},
    {Op::Next, 0, kPlay, 2, 0, 0.1},
    {Op::Next, 0, kPlay, 2, 0, 0.1},  // the list's edges stop next and previous
    {Op::Previous, 0, kPlay, 1, 0, 0.1},
    {Op::Previous, 0, kPlay, 0, 0, 0.1},
    {Op::Previous, 0, kPlay, 0, 0, 0.1},
    {Op::Next, 0, kPlay, 1, 0, 0.1},
    {Op::Seek, 3.5, kPlay, 1, 3.5, 4.0},
    {Op::Previous, 0, kPlay, 1, 0, 0.5},  // late in a clip, previous restarts it
    {Op::Seek, 2.5, kPlay, 1, 2.5, 3.0},
    {Op::Previous, 0, kPlay, 0, 0, 0.5},  // early, it goes back
    {Op::Seek, 2.0, kPlay, 0, 2.0, 2.5},
    {Op::Wait, 2.05, kPlay, 0, 2.05, 3.0},
    {Op::Seek, -5, kPlay, 0, 0, 0.5},
    {Op::Seek, kNan, kPlay, 0, 0, 0.5},  // junk positions change nothing or stay in bounds
    {Op::Seek, kInf, kPlay, 0, 0, 0.5},
    {Op::Seek, -kInf, kPlay, 0, 0, 0.5},
    {Op::Seek, 1e300, kPlay, 0, 0, 86400},
    {Op::Seek, -1e300, kPlay, 0, 0, 0.5},
    {Op::Stop, 0, kStop, 0, 0, 0},
    {Op::Seek, 60, kStop, 0, 4.95, 5.05},  // past the end, once counted, is the end
    {Op::Next, 0, kStop, 1, 0, 0},
    {Op::PlayPause, 0, kPlay, 1, 0, 0.1},
};

// Three five-second clips in a .ram, played on the clock.
TEST(Operations, EachOperationLeavesTheStatusItShould) {
  TempDir dir;
  for (const auto* name : {"one", "two", "three"})
    testing::makeTone(dir.str() + "/" + name + ".rm", ToneSpec{"real_144", 8000, 1, 5.0, 440, ""});
  const auto ram =
      dir.write("three.ram", "one.rm?title=One\r\ntwo.rm?title=Two\r\nthree.rm?title=Three\r\n");
  PlayerEngine player{std::make_unique<NullSink>(AudioFormat{8000, 1})};
  const auto counted = [&] { return player.status().totalSeconds.has_value(); };
  bool loaded = false;
  for (std::size_t i = 0; i < std::size(kScript); ++i) {
    const Step& step = kScript[i];
    SCOPED_TRACE("step " + std::to_string(i));
    const double before = player.status().elapsedSeconds;
    switch (step.op) {
      case Op::AutoStart:
        player.setAutoStart(true);
        break;
      case Op::AutoStartOff:
        player.setAutoStart(false);
        break;
      case Op::Load:
        player.setSource(ram), loaded = true;
        break;
      case Op::Empty:
        player.setSource(""), loaded = false;
        break;
      case Op::PlayPause:
        player.playPause();
        break;
      case Op::Stop:
        player.stop();
        break;
      case Op::Next:
        player.nextClip();
        break;
      case Op::Previous:
        player.previousClip();
        break;
      case Op::Seek:
        ASSERT_TRUE(step.arg < 60 || testing::pollUntil(player, counted));
        player.seek(step.arg);
        break;
      case Op::Wait:
        EXPECT_TRUE(
            testing::pollUntil(player, [&] { return player.status().elapsedSeconds >= step.arg; }));
        break;
      case Op::Hold:
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(player.status().elapsedSeconds, before);
        break;
    }
    const auto s = player.status();
    EXPECT_EQ(s.state, step.state);
    EXPECT_EQ(s.clipIndex, step.clip);
    EXPECT_GE(s.elapsedSeconds, step.lo);
    EXPECT_LE(s.elapsedSeconds, step.hi);
    EXPECT_EQ(s.clipCount, loaded ? 3 : 0);
    const char* const titles[] = {"One", "Two", "Three"};
    EXPECT_EQ(s.title, loaded ? titles[s.clipIndex] : "");
  }
  ASSERT_TRUE(testing::pollUntil(player, counted));
  EXPECT_NEAR(*player.status().totalSeconds, 5.0, 0.05);
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
