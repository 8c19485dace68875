// Decoding real clips through the WAV sink: every frame the codec gives arrives, resampled when
// the sink asks for another format, and clips of a list follow each other with nothing between.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "engine/engine_fixtures.h"
#include "player/engine/player_engine.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

using testing::TempDir;
using testing::ToneSpec;

struct CodecCase {
  std::string name;
  ToneSpec tone;
};

class DecodeLengthTest : public ::testing::TestWithParam<CodecCase> {};

// Plays `source` to its end into a WAV file at `format` and returns what was written.
testing::WavInfo playToEnd(const TempDir& dir, const std::string& source, AudioFormat format) {
  const auto out = dir.str() + "/out.wav";
  {
    PlayerEngine player(std::make_unique<WavSink>(out, format));
    player.setSource(source);
    EXPECT_EQ(player.status().state, PlayState::Playing);
    EXPECT_TRUE(testing::pollUntilStopped(player)) << "playback did not end";
  }
  return testing::readWav(out);
}

TEST_P(DecodeLengthTest, EveryDecodedFrameReachesTheSinkResampledOrNot) {
  const auto& tone = GetParam().tone;
  TempDir dir;
  const auto clip = dir.str() + "/tone.rm";
  testing::makeTone(clip, tone);
  const auto expected = testing::ffmpegDecodedFrames(clip, tone.channels);
  ASSERT_GT(expected, 0);
  const auto wav = playToEnd(dir, "file:" + clip, AudioFormat{tone.sampleRate, tone.channels});
  EXPECT_EQ(wav.sampleRate, tone.sampleRate);
  EXPECT_EQ(wav.channels, tone.channels);
  EXPECT_EQ(wav.fileFrames, expected);
  EXPECT_EQ(wav.headerFrames, expected);
  // Resamplers may differ by their filter's last few frames, never by more.
  const auto resampled = playToEnd(dir, clip, AudioFormat{22050, 2});
  EXPECT_EQ(resampled.headerFrames, resampled.fileFrames);
  EXPECT_NEAR(static_cast<double>(resampled.fileFrames),
              static_cast<double>(testing::ffmpegDecodedFrames(clip, 2, 22050)), 32.0);
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, DecodeLengthTest,
    ::testing::Values(CodecCase{"RealAudio14k4", ToneSpec{"real_144", 8000, 1, 1.0, 440, ""}},
                      CodecCase{"Ac3Stereo", ToneSpec{"ac3", 48000, 2, 1.0, 440, ""}},
                      CodecCase{"Ac3Mono44k", ToneSpec{"ac3", 44100, 1, 0.5, 440, ""}},
                      CodecCase{"Aac", ToneSpec{"aac", 44100, 2, 0.7, 440, ""}}),
    [](const auto& param) { return param.param.name; });

// A missing clip between the two adds nothing either.
TEST(GaplessJoin, TwoClipsInAListGiveExactlyBothWithNothingBetween) {
  TempDir dir;
  const auto a = dir.str() + "/a.rm";
  const auto b = dir.str() + "/b.rm";
  testing::makeTone(a, ToneSpec{"real_144", 8000, 1, 1.0, 440, ""});
  testing::makeTone(b, ToneSpec{"real_144", 8000, 1, 0.5, 660, ""});
  const auto wav = playToEnd(dir, dir.write("both.ram", "file:a.rm\r\nmissing.rm\r\nfile:b.rm\r\n"),
                             AudioFormat{8000, 1});
  ASSERT_EQ(std::system(("ffmpeg -nostdin -v error -i " + a + " -f s16le " + a +
                         ".raw && ffmpeg -nostdin -v error -i " + b + " -f s16le " + b + ".raw")
                            .c_str()),
            0);
  EXPECT_EQ(wav.fileFrames,
            testing::ffmpegDecodedFrames(a, 1) + testing::ffmpegDecodedFrames(b, 1));
  EXPECT_TRUE(wav.data == testing::readFile(a + ".raw") + testing::readFile(b + ".raw"))
      << "the joined sound differs from the two clips' sound";
}

TEST(Volume, HalfVolumeHalvesTheSamples) {
  TempDir dir;
  const auto clip = dir.str() + "/tone.rm";
  testing::makeTone(clip);
  const auto full = playToEnd(dir, clip, AudioFormat{8000, 1});
  const auto out = dir.str() + "/half.wav";
  {
    PlayerEngine player(std::make_unique<WavSink>(out, AudioFormat{8000, 1}));
    player.setAutoStart(false);
    player.setSource(clip);
    player.setVolume(0.5);
    player.playPause();
    ASSERT_TRUE(testing::pollUntilStopped(player));
  }
  const auto half = testing::readWav(out);
  ASSERT_EQ(half.data.size(), full.data.size());
  for (std::size_t at = 0; at + 1 < full.data.size(); at += 2) {
    std::int16_t a, b;
    std::memcpy(&a, &full.data[at], 2);
    std::memcpy(&b, &half.data[at], 2);
    ASSERT_LE(std::abs(std::lround(a * 0.5) - b), 1) << "sample " << at / 2;
  }
}

}  // namespace
}  // namespace tunelark::engine
