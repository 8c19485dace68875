// What every sink promises the engine, checked on each of them alike: it pulls once started,
// a pause holds it still and a resume goes on, after stop it never touches the source again,
// and it can be started again on a new source.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "player/engine/null_sink.h"
#include "player/engine/wav_sink.h"
#include "player/module/pulse_direct_sink.h"
#include "player/module/qt_audio_sink.h"
#include "sine_source.h"
#include "sound_check.h"
#include "support/temp_dir.h"

namespace tunelark::module {
namespace {

using testing::pumpEvents;
using testing::SineSource;

struct SinkKind {
  const char* name;
  bool needsServer;
  std::function<std::unique_ptr<engine::AudioSink>(const tunelark::testing::TempDir&)> make;
};

class SinkContract : public ::testing::TestWithParam<SinkKind> {};

TEST_P(SinkContract, PullsPausesStopsForGoodAndStartsAgain) {
  if (GetParam().needsServer) {
    const std::string reason = testing::soundUnavailableReason();
    if (!reason.empty()) GTEST_SKIP() << reason;
  }
  tunelark::testing::TempDir dir;
  const auto sink = GetParam().make(dir);
  SineSource source(sink->format(), 440);
  ASSERT_TRUE(sink->start(source)) << sink->error();
  pumpEvents(3000, [&] { return source.frames() > 0; });
  EXPECT_GT(source.frames(), 0u) << "nothing was pulled";

  sink->setPaused(true);
  pumpEvents(150);  // a pull under way may finish
  const auto paused = source.frames();
  pumpEvents(400);
  EXPECT_EQ(source.frames(), paused) << "pulled while paused";
  sink->setPaused(false);
  pumpEvents(3000, [&] { return source.frames() > paused; });
  EXPECT_GT(source.frames(), paused) << "did not resume";

  sink->stop();
  const int pulls = source.pulls();
  pumpEvents(300);
  EXPECT_EQ(source.pulls(), pulls) << "touched the source after stop";

  SineSource next(sink->format(), 660);
  ASSERT_TRUE(sink->start(next)) << sink->error();
  pumpEvents(3000, [&] { return next.frames() > 0; });
  sink->stop();
  EXPECT_GT(next.frames(), 0u) << "a second start pulled nothing";
  EXPECT_FALSE(sink->failed()) << sink->error();
}

INSTANTIATE_TEST_SUITE_P(
    Sinks, SinkContract,
    ::testing::Values(
        SinkKind{"Null", false, [](const auto&) { return std::make_unique<engine::NullSink>(); }},
        SinkKind{"Wav", false,
                 [](const auto& dir) {
                   return std::make_unique<engine::WavSink>(dir.str() + "/out.wav",
                                                            engine::AudioFormat{8000, 1});
                 }},
        SinkKind{"Qt", true,
                 [](const auto&) {
                   return std::make_unique<QtAudioSink>(QtAudioSink::defaultOutput());
                 }},
        SinkKind{"PulseDirect", true,
                 [](const auto&) {
                   return std::make_unique<PulseDirectSink>(engine::AudioFormat{48000, 1});
                 }}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tunelark::module
