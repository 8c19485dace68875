// The buffer between worker and sink: positions follow what was pulled, clip marks move the
// position to the next clip exactly at the join, and a reset drops what an old epoch wrote.

#include "player/engine/sample_buffer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <thread>
#include <vector>

namespace tunelark::engine {
namespace {

std::vector<std::int16_t> ramp(std::size_t frames, std::int16_t from = 0) {
  std::vector<std::int16_t> v(frames);
  std::iota(v.begin(), v.end(), from);
  return v;
}

TEST(SampleBufferPosition, PullCountsFramesOfTheCurrentClip) {
  SampleBuffer buffer(AudioFormat{8000, 1}, 100);
  const auto epoch = buffer.reset(2, 50);
  ASSERT_TRUE(buffer.beginClip(epoch, 2, 50));
  const auto data = ramp(40);
  ASSERT_TRUE(buffer.write(epoch, data.data(), data.size()));
  std::vector<std::int16_t> out(25);
  EXPECT_EQ(buffer.pull(out.data(), out.size()), 25u);
  EXPECT_EQ(buffer.position().clip, 2);
  EXPECT_EQ(buffer.position().frames, 75);
  EXPECT_EQ(out, ramp(25));
}

TEST(SampleBufferPosition, ClipMarkTakesEffectExactlyAtTheJoin) {
  SampleBuffer buffer(AudioFormat{8000, 2}, 64);
  const auto epoch = buffer.reset(0, 0);
  buffer.beginClip(epoch, 0, 0);
  const auto first = ramp(10 * 2);
  buffer.write(epoch, first.data(), 10);
  buffer.beginClip(epoch, 1, 0);
  const auto second = ramp(6 * 2, 100);
  buffer.write(epoch, second.data(), 6);
  std::vector<std::int16_t> out(2 * 12);
  // One pull spanning the join hands over both clips' frames with nothing between.
  ASSERT_EQ(buffer.pull(out.data(), 12), 12u);
  EXPECT_EQ(std::vector<std::int16_t>(out.begin(), out.begin() + 20), first);
  EXPECT_EQ(out[20], 100);
  EXPECT_EQ(buffer.position().clip, 1);
  EXPECT_EQ(buffer.position().frames, 2);
}

TEST(SampleBufferPosition, DrainedOnlyAfterTheEndIsMarkedAndEverythingPulled) {
  SampleBuffer buffer(AudioFormat{8000, 1}, 16);
  const auto epoch = buffer.reset(0, 0);
  buffer.beginClip(epoch, 0, 0);
  const auto data = ramp(8);
  buffer.write(epoch, data.data(), 8);
  std::vector<std::int16_t> out(8);
  buffer.pull(out.data(), 4);
  EXPECT_FALSE(buffer.position().drained);
  buffer.finish(epoch);
  EXPECT_FALSE(buffer.position().drained);
  buffer.pull(out.data(), 8);
  EXPECT_TRUE(buffer.position().drained);
}

TEST(SampleBufferEpochs, WritesForAnOldEpochAreDropped) {
  SampleBuffer buffer(AudioFormat{8000, 1}, 16);
  const auto old = buffer.reset(0, 0);
  const auto current = buffer.reset(1, 0);
  const auto data = ramp(4);
  EXPECT_FALSE(buffer.write(old, data.data(), 4));
  EXPECT_FALSE(buffer.beginClip(old, 0, 0));
  std::vector<std::int16_t> out(4);
  EXPECT_EQ(buffer.pull(out.data(), 4), 0u);
  EXPECT_TRUE(buffer.write(current, data.data(), 4));
  EXPECT_EQ(buffer.pull(out.data(), 4), 4u);
}

TEST(SampleBufferEpochs, WriterWaitingForRoomIsReleasedByAResetOrAClose) {
  for (const bool close : {false, true}) {
    SampleBuffer buffer(AudioFormat{8000, 1}, 8);
    const auto epoch = buffer.reset(0, 0);
    const auto data = ramp(32);
    bool written = true;
    std::thread writer([&] { written = buffer.write(epoch, data.data(), data.size()); });
    // The writer fills the 8 frames and waits; only the reset or close lets it return.
    while (!buffer.waitForSamples(std::chrono::milliseconds(10))) {
    }
    if (close) {
      buffer.close();
    } else {
      buffer.reset(0, 0);
    }
    writer.join();
    EXPECT_FALSE(written) << (close ? "close" : "reset");
  }
}

}  // namespace
}  // namespace tunelark::engine
