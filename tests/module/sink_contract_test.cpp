// The sinks. What every sink promises the engine, checked on each alike: it pulls once started,
// a pause holds it still and a resume goes on, after stop it never touches the source again,
// and it can be started again. Then, on the test environment's PulseAudio null sink, what the
// sinks that reach a server pull is heard there, and each one's own behaviour.

#include <gtest/gtest.h>

#include <QMediaDevices>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "player/engine/null_sink.h"
#include "player/engine/wav_sink.h"
#include "player/module/pulse_direct_sink.h"
#include "player/module/qt_audio_sink.h"
#include "player/module/sound_output.h"
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

class SinkContract : public ::testing::TestWithParam<SinkKind> {
 protected:
  void SetUp() override {
    const std::string reason = testing::soundUnavailableReason();
    if (GetParam().needsServer && !reason.empty()) GTEST_SKIP() << reason;
  }
};

TEST_P(SinkContract, PullsPausesStopsForGoodAndStartsAgain) {
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

const SinkKind kNull{"Null", false,
                     [](const auto&) { return std::make_unique<engine::NullSink>(); }};
const SinkKind kWav{"Wav", false, [](const auto& dir) {
                      return std::make_unique<engine::WavSink>(dir.str() + "/out.wav",
                                                               engine::AudioFormat{8000, 1});
                    }};
const SinkKind kQt{"Qt", true, [](const auto&) {
                     return std::make_unique<QtAudioSink>(QtAudioSink::defaultOutput());
                   }};
const SinkKind kDirect{"PulseDirect", true, [](const auto&) {
                         return std::make_unique<PulseDirectSink>(engine::AudioFormat{44100, 2});
                       }};
const auto kName = [](const auto& row) { return std::string(row.param.name); };

INSTANTIATE_TEST_SUITE_P(Sinks, SinkContract, ::testing::Values(kNull, kWav, kQt, kDirect), kName);

class ServerSink : public SinkContract {};

// At the server's pace (an unpaced sink would have taken minutes of sound), and stops at once.
TEST_P(ServerSink, WhatItPullsIsHeardThere) {
  tunelark::testing::TempDir dir;
  const auto sink = GetParam().make(dir);
  SineSource source(sink->format(), 440);
  testing::MonitorRecording recording;
  ASSERT_TRUE(recording.started());
  ASSERT_TRUE(sink->start(source)) << sink->error();
  pumpEvents(1500);
  EXPECT_LT(static_cast<double>(source.frames()) / sink->format().sampleRate, 2.5);
  const auto before = std::chrono::steady_clock::now();
  sink->stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
  testing::expectHeardTone(recording.finish(), 440);
  EXPECT_FALSE(sink->failed());
}

INSTANTIATE_TEST_SUITE_P(Sinks, ServerSink, ::testing::Values(kQt, kDirect), kName);

class OnTheTestServer : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = testing::soundUnavailableReason();
    if (!reason.empty()) GTEST_SKIP() << reason;
    ASSERT_TRUE(QtAudioSink::outputAvailable()) << "the test sound server lists no output";
  }
};

TEST_F(OnTheTestServer, QtSinkAtZeroVolumeIsSilent) {
  QtAudioSink sink(QtAudioSink::defaultOutput());
  sink.setVolume(0);
  SineSource source(sink.format(), 440);
  testing::MonitorRecording recording;
  ASSERT_TRUE(sink.start(source)) << sink.error();
  pumpEvents(800);
  sink.stop();
  EXPECT_GT(source.frames(), 0u);
  EXPECT_LT(testing::rms(recording.finish()), 50);
}

TEST_F(OnTheTestServer, QtSinkBridgesALateDecoderWithSilenceAndPullingGoesOn) {
  QtAudioSink sink(QtAudioSink::defaultOutput());
  SineSource source(sink.format(), 440, /*silentPulls=*/5);
  ASSERT_TRUE(sink.start(source)) << sink.error();
  pumpEvents(10000, [&] { return source.frames() > 0; });
  sink.stop();
  EXPECT_GT(source.frames(), 0u) << "the device gave up pulling after the source ran dry";
  EXPECT_FALSE(sink.failed());
}

TEST(QtSinkWithoutDevice, StartFailsWithAReasonAndTouchesNothing) {
  QtAudioSink sink{QAudioDevice()};
  SineSource source(sink.format(), 440);
  EXPECT_FALSE(sink.hasDevice());
  EXPECT_FALSE(sink.start(source));
  EXPECT_FALSE(sink.error().empty());
  EXPECT_FALSE(sink.failed()) << "a start that never happened is not a lost device";
  EXPECT_EQ(source.pulls(), 0);
}

TEST_F(OnTheTestServer, DirectSinkRefusesToStartWithoutAServerAndSaysWhy) {
  testing::TempDir dir;
  const std::string saved = std::getenv("PULSE_SERVER");
  ::setenv("PULSE_SERVER", ("unix:" + dir.str() + "/no-server").c_str(), 1);
  PulseDirectSink sink({44100, 2});
  SineSource source(sink.format(), 440);
  const bool started = sink.start(source);
  ::setenv("PULSE_SERVER", saved.c_str(), 1);
  EXPECT_FALSE(started);
  EXPECT_NE(sink.error().find("sound server cannot be reached"), std::string::npos) << sink.error();
  EXPECT_EQ(source.pulls(), 0);
}

TEST_F(OnTheTestServer, TheOutputPrefersQtWhileQtHasTheServer) {
  SoundOutput output;
  SineSource source(output.format(), 440);
  EXPECT_EQ(output.route(), SoundOutput::Route::None);
  ASSERT_TRUE(output.start(source)) << output.error();
  EXPECT_EQ(output.route(), SoundOutput::Route::Qt);
  pumpEvents(300);
  EXPECT_GT(source.frames(), 0u);
  output.stop();
  EXPECT_EQ(output.route(), SoundOutput::Route::None);
}

}  // namespace
}  // namespace tunelark::module
