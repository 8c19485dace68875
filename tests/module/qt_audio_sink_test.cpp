// The Qt Multimedia sink against the test environment's PulseAudio null sink: what it pulls is
// what the server hears, underruns and pauses do not break the stream, and a missing device is
// reported instead of played into.

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
};

TEST_F(QtAudioSinkTest, WhatItPullsReachesTheSoundServer) {
  QtAudioSink sink(QtAudioSink::defaultOutput());
  SineSource source(sink.format(), 440);
  MonitorRecording recording;
  ASSERT_TRUE(recording.started());
  ASSERT_TRUE(sink.start(source)) << sink.error();
  pumpEvents(1500);
  sink.stop();
  testing::expectHeardTone(recording.finish(), 440);
  EXPECT_FALSE(sink.failed());
}

TEST_F(QtAudioSinkTest, ZeroVolumeIsSilent) {
  QtAudioSink sink(QtAudioSink::defaultOutput());
  sink.setVolume(0);
  SineSource source(sink.format(), 440);
  MonitorRecording recording;
  ASSERT_TRUE(sink.start(source)) << sink.error();
  pumpEvents(800);
  sink.stop();
  const auto heard = recording.finish();
  EXPECT_GT(source.frames(), 0u);
  EXPECT_LT(testing::rms(heard), 50);
}

TEST_F(QtAudioSinkTest, LateDecoderIsBridgedWithSilenceAndPullingGoesOn) {
  QtAudioSink sink(QtAudioSink::defaultOutput());
  SineSource source(sink.format(), 440, /*silentPulls=*/5);
  ASSERT_TRUE(sink.start(source)) << sink.error();
  pumpEvents(10000, [&] { return source.frames() > 0; });
  sink.stop();
  EXPECT_GT(source.pulls(), 5);
  EXPECT_GT(source.frames(), 0u) << "the device gave up pulling after the source ran dry";
  EXPECT_FALSE(sink.failed());
}

TEST_F(QtAudioSinkTest, FormatFollowsTheDevice) {
  const QAudioDevice device = QtAudioSink::defaultOutput();
  QtAudioSink sink(device);
  EXPECT_EQ(sink.format().sampleRate, device.preferredFormat().sampleRate());
  EXPECT_GE(sink.format().channels, 1);
  EXPECT_LE(sink.format().channels, 2);
  EXPECT_TRUE(sink.hasDevice());
}

// Needs no sound server: a sink given no device refuses to start and says why.
TEST(QtAudioSinkWithoutDevice, StartFailsWithAReasonAndTouchesNothing) {
  QtAudioSink sink{QAudioDevice()};
  SineSource source(sink.format(), 440);
  EXPECT_FALSE(sink.hasDevice());
  EXPECT_FALSE(sink.start(source));
  EXPECT_FALSE(sink.error().empty());
  EXPECT_FALSE(sink.failed()) << "a start that never happened is not a lost device";
  EXPECT_EQ(source.pulls(), 0);
  sink.stop();  // harmless when nothing was started
}

}  // namespace
}  // namespace tunelark::module
