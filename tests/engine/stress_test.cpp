// Thousands of random operations from the UI thread while the worker decodes and the sink
// pulls: nothing crashes, hangs or races (this runs under ThreadSanitizer too), and the status
// always describes a position that exists.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/engine_fixtures.h"
#include "player/engine/null_sink.h"
#include "player/engine/player_engine.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

using testing::TempDir;
using testing::ToneSpec;

std::unique_ptr<AudioSink> makeSink(std::mt19937& random, const TempDir& dir) {
  switch (random() % 3) {
    case 0:
      return std::make_unique<NullSink>(AudioFormat{8000, 1});
    case 1:
      return std::make_unique<WavSink>(dir.str() + "/out.wav", AudioFormat{22050, 2});
    default:
      // Cannot start: the player falls back to the clock.
      return std::make_unique<WavSink>(dir.str() + "/none/out.wav", AudioFormat{8000, 1});
  }
}

TEST(Stress, RandomOperationsLeaveAConsistentPlayer) {
  TempDir dir;
  testing::makeTone(dir.str() + "/a.rm", ToneSpec{"real_144", 8000, 1, 0.6, 440, ""});
  testing::makeTone(dir.str() + "/b.rm", ToneSpec{"ac3", 48000, 2, 0.4, 550, ""});
  const std::vector<std::string> sources = {
      dir.write("list.ram", "a.rm\r\nmissing.rm\r\nb.rm\r\ncache:a.rm\r\na.rm\r\n"),
      dir.write("one.ram", "b.rm\r\n"),
      "file:" + dir.str() + "/a.rm",
      "",
      "concat:" + dir.str() + "/a.rm",
      dir.str() + "/missing.ram",
  };
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));

  auto player = std::make_unique<PlayerEngine>(makeSink(random, dir));
  const std::vector<std::function<void()>> operations = {
      [&] { player->setSource(sources[random() % sources.size()]); },
      [&] { player->setAutoStart(random() % 2); },
      [&] { player->playPause(); },
      [&] { player->playPause(); },
      [&] { player->stop(); },
      [&] { player->nextClip(); },
      [&] { player->previousClip(); },
      [&] { player->seek(random() % 50 == 0 ? 1e9 : static_cast<double>(random() % 1000) / 1e3); },
      [&] { player->setVolume(static_cast<double>(random() % 11) / 10.0); },
      [&] {
        if (random() % 20 == 0) player = std::make_unique<PlayerEngine>(makeSink(random, dir));
      },
      [&] { player->poll(); },
      [&] { player->poll(); }};
  for (int step = 0; step < 5000; ++step) {
    operations[random() % operations.size()]();
    const auto s = player->status();
    ASSERT_GE(s.clipIndex, 0) << "step " << step;
    ASSERT_TRUE(s.clipCount == 0 ? s.clipIndex == 0 : s.clipIndex < s.clipCount) << "step " << step;
    ASSERT_GE(s.elapsedSeconds, 0) << "step " << step;
    ASSERT_TRUE(s.clipCount > 0 || s.state == PlayState::Stopped) << "step " << step;
  }
  // Whatever state it was left in, a fresh source plays to its end.
  player->setSource("");
  player->setAutoStart(true);
  player->setSource(sources[1]);
  EXPECT_TRUE(testing::pollUntilStopped(*player, std::chrono::seconds(20)));
}

}  // namespace
}  // namespace tunelark::engine
