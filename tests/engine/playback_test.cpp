// The FFmpeg inside the engine, and sources played to their end into a WAV file. What comes out is
// exactly the sound ffmpeg decodes from the clips that may play, one after the other with nothing
// between (resampled, from a seek or at half volume when the row asks), and their length is counted
// before play. A source that may not play ends stopped quickly, says why, and writes nothing:
// several of them point at a real clip that would sound if it were opened.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "engine/engine_fixtures.h"
#include "player/engine/ffmpeg_components.h"
#include "player/engine/player_engine.h"
#include "player/engine/source_line.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

using testing::ToneSpec;

// The clips' folder, made once: 8 kHz RealAudio "ra.rm" (1 s), "b.rm" (0.5 s) and "five.rm"
// (5 s); AC-3 and AAC in RealMedia; a 0.5 s 44.1 kHz mono tone in each container; and files
// that are no clip.
std::string folder() {
  static testing::TempDir dir;
  static const bool made = [] {
    const auto tone = [](const std::string& name, const ToneSpec& spec,
                         const std::string& renameTo = "") {
      testing::makeTone(dir.str() + "/" + name, spec);
      if (!renameTo.empty()) std::filesystem::rename(dir.path() / name, dir.path() / renameTo);
    };
    tone("ra.rm", {});
    tone("b.rm", {"real_144", 8000, 1, 0.5, 660, ""});
    tone("five.rm", {"real_144", 8000, 1, 5.0, 440, ""});
    tone("real.wav", {"pcm_s16le", 8000, 1, 1.0, 440, ""});
    tone("ac3.rm", {"ac3", 48000, 2, 5.0, 440, ""});
    tone("ac3mono.rm", {"ac3", 44100, 1, 0.5, 440, ""});
    tone("aac.rm", {"aac", 44100, 2, 0.7, 440, ""});
    const std::pair<const char*, const char*> containers[] = {
        {"a.wav", "pcm_s16le"}, {"a.mp3", "libmp3lame"}, {"a.ogg", "libvorbis"},
        {"a.flac", "flac"},     {"a.ac3", "ac3"},        {"a.aac", "aac"},
        {"a.m4a", "aac"},       {"a.mka", "flac"},       {"a.mpg", "mp2"}};
    for (const auto& [name, codec] : containers) tone(name, {codec, 44100, 1, 0.5, 440, ""});
    tone("f.flac", {"flac", 44100, 1, 0.5, 440, ""}, "flac.rm");
    tone("m.m4a", {"aac", 44100, 1, 0.5, 440, ""}, "m4a.rm");
    tone("m.mka", {"flac", 44100, 1, 0.5, 440, ""}, "mka.rm");
    tone("m.mpg", {"mp2", 44100, 1, 0.5, 440, ""}, "mpg.ra");
    for (const auto* fifo : {"/pipe.rm", "/pipe.ram"})
      if (::mkfifo((dir.str() + fifo).c_str(), 0600) != 0) throw std::runtime_error("mkfifo");
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919 + 13) % 256);
    std::string huge;
    for (int i = 0; i < 100000; ++i) huge += "missing" + std::to_string(i) + ".rm\r\n";
    dir.write("notes.rm", "just some words\r\nand more\r\n");
    dir.write("stream.rm", "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:1.0,\n" + dir.str() +
                               "/real.wav\n#EXT-X-ENDLIST\n");
    dir.write("fake.rm", ".RMF" + junk);
    dir.write("junk.ram", junk);
    dir.write("huge.ram", huge);
    dir.write("self.ram", "self.ram\r\nra.rm\r\nself.ram\r\n");
    dir.write("mixed.ram", "ra.rm\r\ncache:" + dir.str() + "/ra.rm\r\n");
    dir.write("both.ram", "file:ra.rm\r\nmissing.rm\r\nfile:b.rm\r\n");
    return true;
  }();
  return made ? dir.str() : "";
}

struct Row {
  const char* name;
  std::string source;              // "@" stands for the clips' folder
  std::vector<std::string> plays;  // the clips whose sound must come out, in order
  std::string says;                // part of the message at the end; "" for no message at all
  AudioFormat sink;
  double seek = 0;
  double volume = 1;
  int slack = 0;  // frames a resampled length may differ by; its samples are not compared then
};

constexpr AudioFormat kRa{8000, 1}, kMono{44100, 1}, kTo22k{22050, 2};
const char* const kNotClip = "not a clip format";

const Row kRows[] = {
    {"RealAudio", "file:@/ra.rm", {"ra.rm"}, "", kRa},
    {"Ac3Stereo", "@/ac3.rm", {"ac3.rm"}, "", {48000, 2}},
    {"Ac3Mono", "@/ac3mono.rm", {"ac3mono.rm"}, "", kMono},
    {"Aac", "@/aac.rm", {"aac.rm"}, "", {44100, 2}},
    {"RealAudioResampled", "@/ra.rm", {"ra.rm"}, "", kTo22k, 0, 1, 32},
    {"Ac3Resampled", "@/ac3.rm", {"ac3.rm"}, "", kTo22k, 0, 1, 32},
    {"Ac3MonoResampled", "@/ac3mono.rm", {"ac3mono.rm"}, "", kTo22k, 0, 1, 32},
    {"AacResampled", "@/aac.rm", {"aac.rm"}, "", kTo22k, 0, 1, 32},
    {"Wav", "@/a.wav", {"a.wav"}, "", kMono},
    {"Mp3", "@/a.mp3", {"a.mp3"}, "", kMono},
    {"OggVorbis", "@/a.ogg", {"a.ogg"}, "", kMono},
    {"Flac", "@/a.flac", {"a.flac"}, "", kMono},
    {"RawAc3", "@/a.ac3", {"a.ac3"}, "", kMono},
    {"AdtsAac", "@/a.aac", {"a.aac"}, "", kMono},
    {"FlacNamedRm", "@/flac.rm", {"flac.rm"}, "", kMono},
    {"Mp4", "@/a.m4a", {}, kNotClip, kMono},
    {"Mp4NamedRm", "@/m4a.rm", {}, kNotClip, kMono},
    {"Matroska", "@/a.mka", {}, kNotClip, kMono},
    {"MatroskaNamedRm", "@/mka.rm", {}, kNotClip, kMono},
    {"MpegProgramStreamNamedRa", "@/mpg.ra", {}, kNotClip, kMono},
    // Both sides of the stretch that is decoded rather than passed over (one second).
    {"RealAudioSeekEarly", "@/five.rm", {"five.rm"}, "", kRa, 0.5},
    {"RealAudioSeekLate", "@/five.rm", {"five.rm"}, "", kRa, 3.0},
    {"Ac3SeekEarly", "@/ac3.rm", {"ac3.rm"}, "", {48000, 2}, 0.9},
    {"Ac3SeekLate", "@/ac3.rm", {"ac3.rm"}, "", {48000, 2}, 3.5},
    {"HalfVolume", "@/ra.rm", {"ra.rm"}, "", kRa, 0, 0.5},
    {"GaplessPastAMissingClip", "@/both.ram", {"ra.rm", "b.rm"}, "missing.rm: not found", kRa},
    {"SelfListingRam", "@/self.ram", {"ra.rm"}, "lists itself", kRa},
    {"RefusedSchemeInsideAList", "@/mixed.ram", {"ra.rm"}, "not allowed", kRa},
    {"MissingFile", "file:@/none.rm", {}, "not found", kRa},
    {"Directory", "file:@", {}, "is a folder", kRa},
    {"Fifo", "file:@/pipe.rm", {}, "not a regular file", kRa},
    {"FifoNamedAsAList", "@/pipe.ram", {}, "not a regular file", kRa},
    {"DeviceNode", "file:/dev/zero", {}, "not a regular file", kRa},
    {"TextNamedRm", "@/notes.rm", {}, kNotClip, kRa},
    {"HlsPlaylistNamedRm", "@/stream.rm", {}, kNotClip, kRa},
    {"RealMediaSignatureThenJunk", "@/fake.rm", {}, kNotClip, kRa},
    {"BinaryJunkRam", "@/junk.ram", {}, kNotClip, kRa},
    {"PnmStream", "pnm://example.org/live.ra", {}, "pnm", kRa},
    {"HugeRamIsCut", "@/huge.ram", {}, "missing9999.rm", kRa},
    {"ClosedLocalPort", "http://127.0.0.1:9/a.rm", {}, "refused", kRa},
    // Each would reach the real clip if FFmpeg's own protocol were asked to open it.
    {"SchemeConcat", "concat:@/ra.rm|@/ra.rm", {}, "not allowed", kRa},
    {"SchemeSubfile", "subfile,,start,0,end,0,,:@/ra.rm", {}, "not allowed", kRa},
    {"SchemeCache", "cache:@/ra.rm", {}, "not allowed", kRa},
    {"SchemeAsync", "async:file:@/ra.rm", {}, "not allowed", kRa},
};

TEST(Playback, EachSourceGivesExactlyItsClipsSoundOrNothingAndItsReason) {
  const std::string dir = folder();
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    std::string source = row.source;
    for (auto at = source.find('@'); at != std::string::npos; at = source.find('@', at))
      source.replace(at, 1, dir);
    const std::int64_t frameBytes = 2 * row.sink.channels;
    std::string expected;
    for (const auto& clip : row.plays)
      expected += testing::ffmpegDecoded(dir + "/" + clip, row.sink.channels, row.sink.sampleRate);
    const auto firstFrames = row.plays.empty() ? 0 : std::ssize(expected) / frameBytes;
    expected.erase(0, frameBytes * static_cast<std::int64_t>(row.seek * row.sink.sampleRate));

    const auto out = dir + "/out.wav";
    PlayerStatus counted, ended;
    {
      PlayerEngine player(std::make_unique<WavSink>(out, row.sink));
      player.setAutoStart(false);
      player.setSource(source);
      player.setVolume(row.volume);
      if (!row.plays.empty()) {
        EXPECT_TRUE(
            testing::pollUntil(player, [&] { return player.status().totalSeconds.has_value(); }));
        counted = player.status();
      }
      player.seek(row.seek);
      player.playPause();
      const auto within = row.plays.empty() ? std::chrono::seconds(3) : std::chrono::seconds(10);
      ASSERT_TRUE(testing::pollUntilStopped(player, within));
      ended = player.status();
    }
    EXPECT_EQ(ended.clipIndex, 0) << "the end of the list goes back to its first clip";
    EXPECT_EQ(ended.elapsedSeconds, 0);
    if (row.says.empty()) {
      EXPECT_EQ(ended.message, PlayerMessage{});
    } else {
      const auto said = ended.message.clip + ": " + ended.message.detail;
      EXPECT_NE(said.find(row.says), std::string::npos) << said;
    }
    const auto wav = testing::readWav(out);
    EXPECT_EQ(wav.headerFrames, wav.fileFrames);
    if (expected.empty()) {
      EXPECT_EQ(wav.fileFrames, 0);
      continue;
    }
    EXPECT_EQ(counted.state, PlayState::Stopped);
    // MP3 and Vorbis are counted from their headers, which leave out the encoder's padding.
    const auto ext = row.plays[0].substr(row.plays[0].rfind('.'));
    if (row.plays.size() == 1 && row.slack == 0) {
      EXPECT_NEAR(*counted.totalSeconds, static_cast<double>(firstFrames) / row.sink.sampleRate,
                  ext == ".mp3" || ext == ".ogg" ? 0.05 : 1e-9);
    }
    EXPECT_EQ(wav.sampleRate, row.sink.sampleRate);
    EXPECT_EQ(wav.channels, row.sink.channels);
    EXPECT_NEAR(wav.fileFrames, std::ssize(expected) / frameBytes, row.slack);
    // A decoder restarted by a seek does not give the same samples as one that ran from the start.
    if (row.slack > 0 || row.seek > 0) continue;
    ASSERT_EQ(wav.data.size(), expected.size());
    for (std::size_t at = 0; at < expected.size(); at += 2) {
      std::int16_t want, got;
      std::memcpy(&want, &expected[at], 2);
      std::memcpy(&got, &wav.data[at], 2);
      ASSERT_LE(std::abs(std::lround(want * row.volume) - got), row.volume == 1 ? 0 : 1)
          << "sample " << at / 2;
    }
  }
}

TEST(Playback, AHugeListIsCutAndSaysSo) {
  PlayerEngine player(std::make_unique<WavSink>("/dev/null", kRa));
  player.setAutoStart(false);
  player.setSource(folder() + "/huge.ram");
  EXPECT_EQ(player.status().clipCount, 10000);
  EXPECT_EQ(player.status().message.what, PlayerEvent::ListShortened);
  EXPECT_NE(player.status().message.detail.find("only the first 10000"), std::string::npos);
}

std::set<std::string> split(std::string_view names) {
  std::set<std::string> out;
  while (!names.empty()) {
    const auto comma = names.find(',');
    out.emplace(names.substr(0, comma));
    names = comma == std::string_view::npos ? "" : names.substr(comma + 1);
  }
  return out;
}

// The FFmpeg the engine links holds every component of third_party/ffmpeg/components.list; the
// bundled one holds no decoder or protocol beyond it.
TEST(FfmpegComponents, TheLinkedFfmpegHoldsTheListedComponentsAndTheBundledOneNoOthers) {
  std::set<std::string> decoders, protocols, listedDecoders;
  void* at = nullptr;
  while (const AVCodec* codec = av_codec_iterate(&at))
    if (av_codec_is_decoder(codec)) decoders.insert(codec->name);
  at = nullptr;
  while (const char* name = avio_enum_protocols(&at, 0)) protocols.insert(name);
  // The list names decoders as FFmpeg's configure does; two go by another name once built.
  for (const auto& name : split(kListedDecoders))
    listedDecoders.insert(name == "ra_144" ? "real_144" : name == "ra_288" ? "real_288" : name);
  for (const auto& name : split(kListedDemuxers))
    EXPECT_NE(av_find_input_format(name.c_str()), nullptr) << "demuxer " << name;
  const std::tuple<const char*, std::set<std::string>, std::set<std::string>> kinds[] = {
      {"decoder", listedDecoders, decoders}, {"protocol", split(kListedProtocols), protocols}};
  for (const auto& [kind, listed, built] : kinds) {
    for (const auto& name : listed) EXPECT_TRUE(built.contains(name)) << kind << " " << name;
    if (!kBundledFfmpeg) continue;  // the system's FFmpeg may hold more
    for (const auto& name : built)
      EXPECT_TRUE(listed.contains(name)) << "unlisted " << kind << " " << name;
  }
  // The scheme check of a playlist line admits every network protocol the list names.
  for (const auto& name : split(kNetworkProtocols))
    EXPECT_TRUE(isAllowedNetworkScheme(name)) << name;
}

// https reaches a real TLS server: `openssl s_server -WWW` serves the folder over TLS on a free
// local port, with a key and a certificate made for the run (FFmpeg checks certificates only when
// asked to).
TEST(FfmpegComponents, ClipOverHttpsPlaysWhole) {
  const auto dir = folder();
  const auto script = "cd '" + dir +
                      "' && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 "
                      "-nodes -keyout k.pem -out c.pem -days 1 -subj /CN=localhost 2>/dev/null && "
                      "echo $$ && exec openssl s_server -WWW -cert c.pem -key k.pem -accept "
                      "127.0.0.1:0 2>/dev/null";
  FILE* server = ::popen(script.c_str(), "r");
  ASSERT_NE(server, nullptr);
  char line[256];
  pid_t pid = 0;
  std::string port;
  while (port.empty() && std::fgets(line, sizeof line, server)) {
    const std::string_view text(line);
    if (pid == 0) pid = std::atoi(line);
    if (text.starts_with("ACCEPT ")) port = std::to_string(std::atoi(line + text.rfind(':') + 1));
  }
  const auto out = dir + "/https.wav";
  if (pid > 0 && !port.empty()) {
    PlayerEngine player(std::make_unique<WavSink>(out, AudioFormat{8000, 1}));
    player.setSource("https://127.0.0.1:" + port + "/ra.rm");
    EXPECT_TRUE(testing::pollUntilStopped(player));
  }
  if (pid > 0) ::kill(pid, SIGTERM);
  ::pclose(server);
  ASSERT_FALSE(port.empty()) << "openssl s_server did not start";
  EXPECT_EQ(testing::readWav(out).fileFrames, testing::ffmpegDecodedFrames(dir + "/ra.rm", 1));
}

}  // namespace
}  // namespace tunelark::engine
