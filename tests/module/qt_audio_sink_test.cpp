// The Qt Multimedia sink against the test environment's PulseAudio null sink: what it pulls is
// what the server hears, underruns do not break the stream, and a missing device is reported
// instead of played into.

#include "player/module/qt_audio_sink.h"

#include <gtest/gtest.h>

#include <QMediaDevices>

#include "sine_source.h"
#include "sound_check.h"

namespace tunelark::module {
namespace {

using testing::MonitorRecording;
using testing::pumpEvents;
using testing::SineSource;

class QtAudioSinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = testing::soundUnavailableReason();
    if (!reason.empty()) GTEST_SKIP() << reason;
    ASSERT_TRUE(QtAudioSink::outputAvailable()) << "the test sound server lists no output";
  }
  QtAudioSink sink_{QtAudioSink::defaultOutput()};
};

TEST_F(QtAudioSinkTest, WhatItPullsReachesTheSoundServer) {
  SineSource source(sink_.format(), 440);
  MonitorRecording recording;
  ASSERT_TRUE(recording.started());
  ASSERT_TRUE(sink_.start(source)) << sink_.error();
  pumpEvents(1500);
  sink_.stop();
  testing::expectHeardTone(recording.finish(), 440);
}

TEST_F(QtAudioSinkTest, ZeroVolumeIsSilent) {
  sink_.setVolume(0);
  SineSource source(sink_.format(), 440);
  MonitorRecording recording;
  ASSERT_TRUE(sink_.start(source)) << sink_.error();
  pumpEvents(800);
  sink_.stop();
  EXPECT_GT(source.frames(), 0u);
  EXPECT_LT(testing::rms(recording.finish()), 50);
}

TEST_F(QtAudioSinkTest, LateDecoderIsBridgedWithSilenceAndPullingGoesOn) {
  SineSource source(sink_.format(), 440, /*silentPulls=*/5);
  ASSERT_TRUE(sink_.start(source)) << sink_.error();
  pumpEvents(10000, [&] { return source.frames() > 0; });
  sink_.stop();
  EXPECT_GT(source.frames(), 0u) << "the device gave up pulling after the source ran dry";
  EXPECT_FALSE(sink_.failed());
}

TEST(QtAudioSinkWithoutDevice, StartFailsWithAReasonAndTouchesNothing) {
  QtAudioSink sink{QAudioDevice()};
  SineSource source(sink.format(), 440);
  EXPECT_FALSE(sink.hasDevice());
  EXPECT_FALSE(sink.start(source));
  EXPECT_FALSE(sink.error().empty());
  EXPECT_FALSE(sink.failed()) << "a start that never happened is not a lost device";
  EXPECT_EQ(source.pulls(), 0);
}

}  // namespace
}  // namespace tunelark::module
