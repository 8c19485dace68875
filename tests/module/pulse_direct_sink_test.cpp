// The module's own stream to the sound server, and the output that chooses between it and Qt's
// sink, against the test environment's PulseAudio null sink.
#include "player/module/pulse_direct_sink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "player/module/sound_output.h"
#include "sine_source.h"
#include "sound_check.h"
#include "support/temp_dir.h"

namespace tunelark::module {
namespace {

using testing::pumpEvents;
using testing::SineSource;

class DirectSink : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string reason = testing::soundUnavailableReason();
    if (!reason.empty()) GTEST_SKIP() << reason;
  }
};

TEST_F(DirectSink, WhatItPullsReachesTheSoundServerAtItsPaceAndStopsAtOnce) {
  PulseDirectSink sink({44100, 2});
  SineSource source(sink.format(), 440);
  testing::MonitorRecording recording;
  ASSERT_TRUE(recording.started());
  ASSERT_TRUE(sink.start(source)) << sink.error();
  pumpEvents(1500);
  // An unpaced sink would have taken minutes of sound by now; the null sink takes it in bursts.
  EXPECT_LT(static_cast<double>(source.frames()) / 44100, 2.5);
  const auto before = std::chrono::steady_clock::now();
  sink.stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(500));
  testing::expectHeardTone(recording.finish(), 440);
  EXPECT_FALSE(sink.failed());
}

TEST_F(DirectSink, RefusesToStartWithoutAServerAndSaysWhy) {
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

TEST_F(DirectSink, TheOutputPrefersQtWhileQtHasTheServer) {
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
