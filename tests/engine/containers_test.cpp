// Which containers a local clip may come in: RealMedia and the common audio containers play,
// anything else is refused by the format whitelist whatever the file is called. A seek plays the
// rest of the clip to the frame.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_fixtures.h"
#include "player/engine/player_engine.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

using testing::TempDir;
using testing::ToneSpec;

struct ContainerCase {
  std::string name;
  std::string file;      // the name the clip is made under (ffmpeg picks the container from it)
  std::string codec;     // ffmpeg's -c:a
  std::string renameTo;  // "" to keep the name; the engine must not go by the name
  bool plays;
};

void PrintTo(const ContainerCase& c, std::ostream* os) { *os << c.name; }

class ContainerTest : public ::testing::TestWithParam<ContainerCase> {};

TEST_P(ContainerTest, PlaysExactlyWhenTheContainerIsAllowed) {
  const auto& c = GetParam();
  TempDir dir;
  auto clip = dir.str() + "/" + c.file;
  testing::makeTone(clip, ToneSpec{c.codec, 44100, 1, 0.5, 440, ""});
  if (!c.renameTo.empty()) {
    const auto renamed = dir.str() + "/" + c.renameTo;
    std::filesystem::rename(clip, renamed);
    clip = renamed;
  }
  const auto out = dir.str() + "/out.wav";
  PlayerMessage message;
  {
    PlayerEngine player(std::make_unique<WavSink>(out, AudioFormat{44100, 1}));
    player.setSource("file:" + clip);
    ASSERT_TRUE(testing::pollUntilStopped(player));
    message = player.status().message;
  }
  const auto frames = testing::readWav(out).fileFrames;
  if (c.plays) {
    EXPECT_EQ(frames, testing::ffmpegDecodedFrames(clip, 1));
    EXPECT_EQ(message, PlayerMessage{});
  } else {
    EXPECT_EQ(frames, 0);
    EXPECT_EQ(message.what, PlayerEvent::ClipSkipped);
    EXPECT_NE(message.detail.find("not a clip format"), std::string::npos);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Containers, ContainerTest,
    ::testing::Values(ContainerCase{"Wav", "a.wav", "pcm_s16le", "", true},
                      ContainerCase{"Mp3", "a.mp3", "libmp3lame", "", true},
                      ContainerCase{"OggVorbis", "a.ogg", "libvorbis", "", true},
                      ContainerCase{"Flac", "a.flac", "flac", "", true},
                      ContainerCase{"RawAc3", "a.ac3", "ac3", "", true},
                      ContainerCase{"AdtsAac", "a.aac", "aac", "", true},
                      ContainerCase{"FlacNamedRm", "a.flac", "flac", "a.rm", true},
                      ContainerCase{"Mp4", "a.m4a", "aac", "", false},
                      ContainerCase{"Mp4NamedRm", "a.m4a", "aac", "a.rm", false},
                      ContainerCase{"Matroska", "a.mka", "flac", "", false},
                      ContainerCase{"MatroskaNamedRm", "a.mka", "flac", "a.rm", false},
                      ContainerCase{"MpegProgramStream", "a.mpg", "mp2", "a.ra", false}),
    [](const auto& param) { return param.param.name; });

TEST(SeekExactness, PlayingFromASeekGivesTheRestOfTheClipToTheFrame) {
  struct Case {
    ToneSpec tone;
    double seek;
  };
  // Both sides of the stretch that is decoded rather than passed over (one second).
  const std::vector<Case> cases = {{ToneSpec{"real_144", 8000, 1, 2.0, 440, ""}, 0.5},
                                   {ToneSpec{"real_144", 8000, 1, 5.0, 440, ""}, 3.0},
                                   {ToneSpec{"ac3", 48000, 2, 5.0, 440, ""}, 3.5},
                                   {ToneSpec{"ac3", 48000, 2, 3.0, 440, ""}, 0.9}};
  for (const auto& c : cases) {
    TempDir dir;
    const auto clip = dir.str() + "/tone.rm";
    testing::makeTone(clip, c.tone);
    const auto whole = testing::ffmpegDecodedFrames(clip, c.tone.channels);
    const auto out = dir.str() + "/out.wav";
    {
      PlayerEngine player(
          std::make_unique<WavSink>(out, AudioFormat{c.tone.sampleRate, c.tone.channels}));
      player.setAutoStart(false);
      player.setSource(clip);
      player.seek(c.seek);
      player.playPause();
      ASSERT_TRUE(testing::pollUntilStopped(player));
    }
    const auto skipped = static_cast<std::int64_t>(c.seek * c.tone.sampleRate);
    EXPECT_EQ(testing::readWav(out).fileFrames, whole - skipped)
        << c.tone.codec << " from " << c.seek << " s";
  }
}

}  // namespace
}  // namespace tunelark::engine
