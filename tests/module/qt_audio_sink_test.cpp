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

TEST_F(QtAudioSinkTest, PausedSinkStopsPullingAndResumes) {
  QtAudioSink sink(QtAudioSink::defaultOutput());
  SineSource source(sink.format(), 440);
  ASSERT_TRUE(sink.start(source)) << sink.error();
  pumpEvents(400);
  sink.setPaused(true);
  pumpEvents(100);
  const int pullsWhenPaused = source.pulls();
  pumpEvents(500);
  EXPECT_EQ(source.pulls(), pullsWhenPaused);
  sink.setPaused(false);
  pumpEvents(2000, [&] { return source.pulls() > pullsWhenPaused; });
  EXPECT_GT(source.pulls(), pullsWhenPaused);
  sink.stop();
}

TEST_F(QtAudioSinkTest, StoppedSinkNeverTouchesTheSourceAgain) {
  QtAudioSink sink(QtAudioSink::defaultOutput());
  SineSource source(sink.format(), 440);
  ASSERT_TRUE(sink.start(source)) << sink.error();
  pumpEvents(300);
  sink.stop();
  const int pulls = source.pulls();
  EXPECT_GT(pulls, 0);
  pumpEvents(400);
  EXPECT_EQ(source.pulls(), pulls);
}

TEST_F(QtAudioSinkTest, CanBeStartedAgainAfterStop) {
  QtAudioSink sink(QtAudioSink::defaultOutput());
  SineSource first(sink.format(), 440);
  ASSERT_TRUE(sink.start(first)) << sink.error();
  pumpEvents(200);
  sink.stop();
  SineSource second(sink.format(), 440);
  ASSERT_TRUE(sink.start(second)) << sink.error();
  pumpEvents(2000, [&] { return second.frames() > 0; });
  sink.stop();
  EXPECT_GT(second.frames(), 0u);
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
