// The buffer between worker and sink: positions follow what was pulled, clip marks move the
// position to the next clip exactly at the join, and a reset drops what an old epoch wrote.

#include "player/engine/sample_buffer.h"

#include <gtest/gtest.h>

#include <future>
#include <numeric>
#include <thread>
#include <vector>

namespace tunelark::engine {
namespace {

std::vector<std::int16_t> ramp(std::size_t samples, std::int16_t from = 0) {
  std::vector<std::int16_t> v(samples);
  std::iota(v.begin(), v.end(), from);
  return v;
}

TEST(SampleBuffer, PositionCountsPulledFramesAndMovesToTheNextClipExactlyAtTheJoin) {
  SampleBuffer buffer(AudioFormat{8000, 2}, 64);
  const auto epoch = buffer.reset(2, 50);
  ASSERT_TRUE(buffer.beginClip(epoch, 2, 50));
  const auto first = ramp(10 * 2), second = ramp(6 * 2, 100);
  ASSERT_TRUE(buffer.write(epoch, first.data(), 10));
  ASSERT_TRUE(buffer.beginClip(epoch, 3, 0));
  ASSERT_TRUE(buffer.write(epoch, second.data(), 6));
  std::vector<std::int16_t> out(2 * 16);
  ASSERT_EQ(buffer.pull(out.data(), 4), 4u);
  EXPECT_EQ(buffer.position().clip, 2);
  EXPECT_EQ(buffer.position().frames, 54);
  // One pull spanning the join hands over both clips' frames with nothing between.
  ASSERT_EQ(buffer.pull(out.data() + 8, 8), 8u);
  EXPECT_EQ(std::vector<std::int16_t>(out.begin(), out.begin() + 20), first);
  EXPECT_EQ(out[20], 100);
  EXPECT_EQ(buffer.position().clip, 3);
  EXPECT_EQ(buffer.position().frames, 2);
  buffer.finish(epoch);  // drained only once the end is marked and everything pulled
  EXPECT_FALSE(buffer.position().drained);
  ASSERT_EQ(buffer.pull(out.data(), 16), 4u);
  EXPECT_TRUE(buffer.position().drained);
}

TEST(SampleBuffer, AResetOrACloseDropsAnOldEpochAndReleasesAWaitingWriter) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "close" : "reset");
    SampleBuffer buffer(AudioFormat{8000, 1}, 8);
    const auto old = buffer.reset(0, 0);
    const auto data = ramp(32);
    auto written =
        std::async(std::launch::async, [&] { return buffer.write(old, data.data(), 32); });
    // The writer fills the 8 frames and waits; only the reset or close lets it return.
    EXPECT_TRUE(buffer.waitForSamples(std::chrono::seconds(5)));
    const auto current = close ? old : buffer.reset(1, 0);
    if (close) buffer.close();
    if (written.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      ADD_FAILURE() << "the writer was not released";
      buffer.close();
    }
    EXPECT_FALSE(written.get());
    std::vector<std::int16_t> out(8);
    // A reset drops what the old epoch wrote; a close leaves it to be pulled.
    EXPECT_EQ(buffer.pull(out.data(), 8), close ? 8u : 0u);
    EXPECT_FALSE(buffer.beginClip(old, 0, 0));
    EXPECT_EQ(buffer.write(current, data.data(), 4), !close);
    EXPECT_EQ(buffer.pull(out.data(), 8), close ? 0u : 4u);
  }
}

}  // namespace
}  // namespace tunelark::engine
