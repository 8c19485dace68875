// The player, driven as the window drives it, with clips made by the ffmpeg command at test
// time. The FFmpeg inside; sources played to their end into a WAV file, whose sound must be
// exactly what ffmpeg itself decodes; the six operations and seeking on the clock; titles; the
// sound device missing or lost; a silent server; the buffer between worker and sink; and random
// operations from the UI thread.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <limits>
#include <memory>
#include <numeric>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "player/engine/ffmpeg_components.h"
#include "player/engine/null_sink.h"
#include "player/engine/player_engine.h"
#include "player/engine/sample_buffer.h"
#include "player/engine/source_line.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"
#include "support/tones.h"

// How gtest prints a player message.
namespace tunelark::engine {
inline void PrintTo(const PlayerMessage& m, std::ostream* os) { *os << m.clip << ": " << m.detail; }
}  // namespace tunelark::engine

namespace tunelark::testing {
namespace {

std::uint32_t le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The interleaved s16 bytes `ffmpeg -i path -f s16le` decodes, at the clip's own rate (or at
// `rate`, which makes ffmpeg resample as the engine would).
std::string ffmpegDecoded(const std::string& path, int channels, int rate = 0) {
  std::string command =
      "ffmpeg -nostdin -v error -i '" + path + "' -ac " + std::to_string(channels);
  if (rate > 0) command += " -ar " + std::to_string(rate);
  command += " -f s16le - 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run ffmpeg");
  std::string bytes;
  char chunk[65536];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;) bytes.append(chunk, n);
  if (::pclose(pipe) != 0) throw std::runtime_error("ffmpeg failed: " + command);
  return bytes;
}

struct WavInfo {
  int sampleRate = 0;
  int channels = 0;
  std::int64_t headerFrames = 0;  // what the header's data size says
  std::int64_t fileFrames = 0;    // what the file actually holds after the header
  std::string data;               // the sample bytes
};
WavInfo readWav(const std::string& path) {
  const auto bytes = readFile(path);
  WavInfo info;
  if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(36, 4, "data") != 0) {
    throw std::runtime_error("not a WAV file: " + path);
  }
  info.channels = static_cast<int>(le32(bytes, 22) & 0xffff);
  info.sampleRate = static_cast<int>(le32(bytes, 24));
  const auto frameBytes = static_cast<std::int64_t>(info.channels) * 2;
  info.headerFrames = le32(bytes, 40) / frameBytes;
  info.fileFrames = static_cast<std::int64_t>(bytes.size() - 44) / frameBytes;
  info.data = bytes.substr(44);
  return info;
}

// Calls poll() until `done` holds or `timeout` passes; true when it held.
bool pollUntil(engine::PlayerEngine& player, const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    player.poll();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

bool pollUntilStopped(engine::PlayerEngine& player,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
  return pollUntil(
      player, [&] { return player.status().state == engine::PlayState::Stopped; }, timeout);
}

}  // namespace
}  // namespace tunelark::testing

namespace tunelark::engine {
namespace {

using testing::TempDir;
using testing::ToneClip;

// A fault that hangs the player inside one of its calls fails the run instead of stalling it.
const bool kWatchdog = (std::thread([] {
                          std::this_thread::sleep_for(std::chrono::minutes(15));
                          const auto* test =
                              ::testing::UnitTest::GetInstance()->current_test_info();
                          std::fprintf(stderr, "hung in %s\n", test ? test->name() : "?");
                          std::_Exit(1);
                        }).detach(),
                        true);

// The clips' folder, made once: 8 kHz RealAudio "ra.rm" (1 s), "b.rm" (0.5 s) and "five.rm"
// (5 s); AC-3 and AAC in RealMedia; a 0.5 s 44.1 kHz mono tone in each container; and files
// that are no clip.
std::string folder() {
  static testing::TempDir dir;
  static const bool made = [] {
    const auto tone = [](const std::string& name, const ToneClip& clip,
                         const std::string& renameTo = "") {
      testing::makeTone(dir.str() + "/" + name, clip);
      if (!renameTo.empty()) std::filesystem::rename(dir.path() / name, dir.path() / renameTo);
    };
    tone("ra.rm", {});
    tone("b.rm", {"real_144", 8000, 1, 0.5, 660, ""});
    tone("five.rm", {"real_144", 8000, 1, 5.0, 440, ""});
    tone("ac3.rm", {"ac3", 48000, 2, 5.0, 440, ""});
    tone("ac3mono.rm", {"ac3", 44100, 1, 0.5, 440, ""});
    tone("aac.rm", {"aac", 44100, 2, 0.7, 440, ""});
    const std::tuple<const char*, const char*, const char*> containers[] = {
        {"a.wav", "pcm_s16le", ""}, {"a.mp3", "libmp3lame", ""}, {"a.ogg", "libvorbis", ""},
        {"a.flac", "flac", ""},     {"a.ac3", "ac3", ""},        {"a.aac", "aac", ""},
        {"a.m4a", "aac", ""},       {"a.mka", "flac", ""},       {"f.flac", "flac", "flac.rm"},
        {"m.m4a", "aac", "m4a.rm"}, {"m.mka", "flac", "mka.rm"}, {"m.mpg", "mp2", "mpg.ra"}};
    for (const auto& [name, codec, renameTo] : containers)
      tone(name, {codec, 44100, 1, 0.5, 440, ""}, renameTo);
    for (const auto* fifo : {"/pipe.rm", "/pipe.ram"})
      if (::mkfifo((dir.str() + fifo).c_str(), 0600) != 0) throw std::runtime_error("mkfifo");
    std::string junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919 + 13) % 256);
    std::string huge;
    for (int i = 0; i < 100000; ++i) huge += "missing" + std::to_string(i) + ".rm\r\n";
    dir.write("notes.rm", "just some words\r\nand more\r\n");
    dir.write("stream.rm", "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:1.0,\n" + dir.str() +
                               "/a.wav\n#EXT-X-ENDLIST\n");
    dir.write("fake.rm", ".RMF" + junk);
    dir.write("junk.ram", junk);
    dir.write("huge.ram", huge);
    dir.write("self.ram", "self.ram\r\nra.rm\r\nself.ram\r\n");
    dir.write("mixed.ram", "ra.rm\r\ncache:" + dir.str() + "/ra.rm\r\n");
    dir.write("both.ram", "file:ra.rm\r\nmissing.rm\r\nfile:b.rm\r\n");
    dir.write("cr.ram", "# old Mac line ends\rra.rm\rfile:b.rm\r");
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
  const char* listFile = "";  // the list file the source line was taken from
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
    {"CrOnlyLineEnds", "@/cr.ram", {"ra.rm", "b.rm"}, "", kRa},
    // Beside its list file, wherever the program runs.
    {"RelativeLineOfAList", "file:b.rm", {"b.rm"}, "", kRa, 0, 1, 0, "@/elsewhere.ram"},
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
    {"ClosedLocalPort", "http://127.0.0.1:9/a.rm", {}, "refused", kRa},
    // It would reach the real clip if FFmpeg's own protocol were asked to open it.
    {"SchemeConcat", "concat:@/ra.rm|@/ra.rm", {}, "not allowed", kRa},
};

TEST(Playback, EachSourceGivesExactlyItsClipsSoundOrNothingAndItsReason) {
  const std::string dir = folder();
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    std::string source = row.source, listFile = row.listFile;
    for (std::string* text : {&source, &listFile})
      for (auto at = text->find('@'); at != std::string::npos; at = text->find('@', at))
        text->replace(at, 1, dir);
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
      player.setListFile(listFile);
      player.setSource(source);
      player.setVolume(row.volume);
      if (!row.plays.empty()) {
        ASSERT_TRUE(
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
  EXPECT_EQ(testing::readWav(out).fileFrames,
            std::ssize(testing::ffmpegDecoded(dir + "/ra.rm", 1)) / 2);
}

// Auto-start on and off, load the list or nothing, and so on: in the order of `perform` below.
// Edit rewrites the list file as the playlist's edits do: 0 sorts (and hands the file over
// again), 1 removes and inserts (and the player finds out by itself).
enum class Op { On, Off, Load, Empty, Play, Stop, Next, Prev, Seek, Wait, Hold, Edit };

// One operation and the status it leaves: state, clip and where in it, from `lo` to `hi` seconds.
struct Step {
  Op op;
  double arg;
  PlayState state;
  int clip;
  double lo = 0;
  double hi = 5.0;
};

constexpr auto kStop = PlayState::Stopped, kPlay = PlayState::Playing, kPause = PlayState::Paused;
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const Step kScript[] = {
    {Op::Off, 0, kStop, 0, 0, 0},
    {Op::Load, 0, kStop, 0, 0, 0},
    {Op::Next, 0, kStop, 1, 0, 0},  // while stopped, next and previous only choose the clip
    {Op::Next, 0, kStop, 2, 0, 0},
    {Op::Prev, 0, kStop, 1, 0, 0},
    {Op::On, 0, kPlay, 1, 0, 0.1},  // plays what was loaded
    {Op::Wait, 0.05, kPlay, 1, 0.05},
    {Op::Stop, 0, kStop, 1, 0, 0},    // back to the start of the current clip
    {Op::On, 0, kStop, 1, 0, 0},      // auto-start does not undo a stop
    {Op::Load, 0, kPlay, 0, 0, 0.1},  // the same source given again plays from its top
    {Op::Empty, 0, kStop, 0, 0, 0},
    {Op::Play, 0, kStop, 0, 0, 0},  // nothing to play
    {Op::Load, 0, kPlay, 0, 0, 0.1},
    {Op::Wait, 0.1, kPlay, 0, 0.1},
    {Op::Play, 0, kPause, 0, 0.1},
    {Op::Hold, 0, kPause, 0, 0.1},  // a pause holds the position
    {Op::Play, 0, kPlay, 0, 0.1},
    {Op::Wait, 0.2, kPlay, 0, 0.2},
    {Op::Play, 0, kPause, 0, 0.2},
    {Op::Next, 0, kPause, 1, 0, 0},   // a pause survives moving to another clip
    {Op::Load, 0, kPlay, 0, 0, 0.1},  // and the same source given again plays it from its top
    {Op::Next, 0, kPlay, 1, 0, 0.1},
    {Op::Next, 0, kPlay, 2, 0, 0.1},
    {Op::Next, 0, kPlay, 2, 0, 0.1},  // the list's edges stop next and previous
    {Op::Prev, 0, kPlay, 1, 0, 0.1},
    {Op::Prev, 0, kPlay, 0, 0, 0.1},
    {Op::Prev, 0, kPlay, 0, 0, 0.1},
    {Op::Next, 0, kPlay, 1, 0, 0.1},
    {Op::Seek, 3.5, kPlay, 1, 3.5, 4.0},
    {Op::Prev, 0, kPlay, 1, 0, 0.5},  // late in a clip, previous restarts it
    {Op::Seek, 2.5, kPlay, 1, 2.5, 3.0},
    {Op::Prev, 0, kPlay, 0, 0, 0.5},  // early, it goes back
    {Op::Seek, 2.0, kPlay, 0, 2.0, 2.5},
    {Op::Wait, 2.05, kPlay, 0, 2.05, 3.0},
    {Op::Seek, -5, kPlay, 0, 0, 0.5},
    {Op::Seek, kNan, kPlay, 0, 0, 0.5},  // junk positions change nothing or stay in bounds
    {Op::Seek, kInf, kPlay, 0, 0, 0.5},
    {Op::Seek, -kInf, kPlay, 0, 0, 0.5},
    // Stopped, so that a seek to the end cannot let the list move on before the status is read.
    {Op::Stop, 0, kStop, 0, 0, 0},
    {Op::Seek, 1e300, kStop, 0, 0, 86400},
    {Op::Seek, -1e300, kStop, 0, 0, 0.5},
    {Op::Seek, 60, kStop, 0, 4.95, 5.05},  // past the end, once counted, is the end
    {Op::Next, 0, kStop, 1, 0, 0},
    {Op::Play, 0, kPlay, 1, 0, 0.1},
    {Op::Wait, 0.2, kPlay, 1, 0.2},
    {Op::Edit, 0, kPlay, 0, 0.2, 0.6},  // the clip goes on where it now stands
    {Op::Next, 0, kPlay, 1, 0, 0.1},    // and the next is the new order's
    {Op::Edit, 1, kPlay, 2, 0, 0.6},
    {Op::Prev, 0, kPlay, 0, 0, 0.1},  // back past a clip that cannot play
};

// Three five-second clips in a .ram, played on the clock.
TEST(Operations, EachOperationLeavesTheStatusItShould) {
  TempDir dir;
  for (const auto* name : {"one", "two", "three"})
    testing::makeTone(dir.str() + "/" + name + ".rm", 5);
  const auto ram =
      dir.write("three.ram", "one.rm?title=One\r\ntwo.rm?title=Two\r\nthree.rm?title=Three\r\n");
  // The playlist's edits: the titles, in order, of the file each writes whole and renames.
  const std::vector<std::string> edits[] = {{"Two", "One", "Three"}, {"Two", "Missing", "One"}};
  std::vector<std::string> titles = {"One", "Two", "Three"};
  PlayerEngine player{std::make_unique<NullSink>(AudioFormat{8000, 1})};
  const auto counted = [&] { return player.status().totalSeconds.has_value(); };
  bool loaded = false;
  double before = 0;
  const std::function<void(double)> perform[] = {
      [&](double) { player.setAutoStart(true); },
      [&](double) { player.setAutoStart(false); },
      [&](double) { player.setSource(ram), loaded = true; },
      [&](double) { player.setSource(""), loaded = false; },
      [&](double) { player.playPause(); },
      [&](double) { player.stop(); },
      [&](double) { player.nextClip(); },
      [&](double) { player.previousClip(); },
      [&](double at) {  // past the end only once the clip is counted
        ASSERT_TRUE(at < 60 || testing::pollUntil(player, counted));
        player.seek(at);
      },
      [&](double at) {
        EXPECT_TRUE(
            testing::pollUntil(player, [&] { return player.status().elapsedSeconds >= at; }));
      },
      [&](double) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(player.status().elapsedSeconds, before);
      },
      [&](double which) {
        titles = edits[static_cast<int>(which)];
        std::string text;
        for (const auto& title : titles) {
          std::string name = title;
          name[0] = static_cast<char>(std::tolower(name[0]));
          text += name + ".rm?title=" + title + "\r";
        }
        std::filesystem::rename(dir.write("edit.tmp", text), ram);
        which == 0 ? player.setSource(ram) : player.poll();
      }};
  for (std::size_t i = 0; i < std::size(kScript); ++i) {
    const Step& step = kScript[i];
    SCOPED_TRACE("step " + std::to_string(i));
    before = player.status().elapsedSeconds;
    perform[static_cast<int>(step.op)](step.arg);
    const auto s = player.status();
    EXPECT_EQ(s.state, step.state);
    EXPECT_EQ(s.clipIndex, step.clip) << ::testing::PrintToString(s.message);  // why, if skipped
    EXPECT_GE(s.elapsedSeconds, step.lo);
    EXPECT_LE(s.elapsedSeconds, step.hi);
    EXPECT_EQ(s.clipCount, loaded ? 3 : 0);
    const auto at = static_cast<std::size_t>(s.clipIndex);
    EXPECT_EQ(s.title, !loaded ? "" : at < titles.size() ? titles[at] : "(no such clip)");
  }
}

// An edit that removes the clip playing lets it finish, then the entry that followed it plays; a
// stopped player stays stopped whatever the edits.
TEST(Operations, ARemovedClipFinishesAndTheEntryThatFollowedItPlaysNext) {
  TempDir dir;
  for (const auto* name : {"a", "b", "c"}) testing::makeTone(dir.str() + "/" + name + ".rm", 1);
  const auto ram = dir.write("list.ram", "a.rm\rb.rm\rc.rm\r");
  const auto rewrite = [&](const std::string& text) {
    std::filesystem::rename(dir.write("edit.tmp", text), ram);
  };
  PlayerEngine player{std::make_unique<NullSink>(AudioFormat{8000, 1})};
  player.setSource(ram);
  ASSERT_TRUE(testing::pollUntil(player, [&] { return player.status().elapsedSeconds > 0.2; }));
  rewrite("c.rm\rb.rm\r");
  player.poll();
  EXPECT_EQ(player.status().title, "a.rm");
  EXPECT_GT(player.status().elapsedSeconds, 0.2);
  ASSERT_TRUE(testing::pollUntil(player, [&] { return player.status().title != "a.rm"; }));
  EXPECT_EQ(player.status().title, "b.rm");
  EXPECT_EQ(player.status().clipIndex, 1);
  EXPECT_EQ(player.status().clipCount, 2);
  player.stop();
  rewrite("a.rm\rb.rm\r");
  player.setSource(ram);
  EXPECT_EQ(player.status().state, PlayState::Stopped);
  EXPECT_EQ(player.status().clipIndex, 1);
}

TEST(Titles, MetadataBeforeParameter) {
  TempDir dir;
  testing::makeTone(dir.str() + "/tagged.rm", ToneClip{"real_144", 8000, 1, 1, 440, "Morning"});
  PlayerEngine player(std::make_unique<NullSink>(AudioFormat{8000, 1}));
  player.setSource("file:" + dir.str() + "/tagged.rm?title=Param");
  EXPECT_TRUE(testing::pollUntil(player, [&] { return player.status().title == "Morning"; }))
      << player.status().title;
}

// Without a device the player goes on the clock and says so, unless the null sink was chosen. A
// device lost while playing is the module tests', on a real sound server.
TEST(Sinks, NoDeviceFallsBackToTheClockAndSaysSoUnlessChosen) {
  TempDir dir;
  const auto clip = dir.str() + "/tone.rm";
  testing::makeTone(clip, 2);
  for (const bool chosen : {false, true}) {
    SCOPED_TRACE(chosen ? "null sink" : "no device");
    PlayerEngine player(
        chosen ? std::unique_ptr<AudioSink>(std::make_unique<NullSink>())
               : std::make_unique<WavSink>(dir.str() + "/no/such/out.wav", AudioFormat{8000, 1}));
    player.setSource(clip);
    EXPECT_EQ(player.status().state, PlayState::Playing);
    EXPECT_TRUE(player.status().noDevice);
    EXPECT_EQ(player.status().message.what, chosen ? PlayerEvent::None : PlayerEvent::NoDevice);
    EXPECT_TRUE(testing::pollUntil(player, [&] { return player.status().elapsedSeconds > 0.1; }));
    player.stop();
    EXPECT_FALSE(player.status().noDevice);
  }
}

// A network clip is not fetched just to count it; a silent server is given up when the deadline
// passes, and a stop while waiting returns at once.
TEST(NetworkDeadline, ASilentServerIsGivenUpAtTheDeadlineOrAtAStop) {
  const int server = ::socket(AF_INET, SOCK_STREAM, 0);  // accepts connections, never answers
  sockaddr_in addr{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t size = sizeof addr;
  ASSERT_TRUE(server >= 0 && ::bind(server, reinterpret_cast<sockaddr*>(&addr), size) == 0 &&
              ::listen(server, 8) == 0 &&
              ::getsockname(server, reinterpret_cast<sockaddr*>(&addr), &size) == 0);
  const auto url = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/a.rm";
  EngineOptions options;
  options.networkTimeout = std::chrono::milliseconds(300);
  {
    PlayerEngine player(std::make_unique<NullSink>(AudioFormat{8000, 1}), options);
    player.setAutoStart(false);
    player.setSource(url);
    testing::pollUntil(
        player, [] { return false; }, std::chrono::milliseconds(300));
    pollfd waiting{server, POLLIN, 0};  // a connection waiting to be accepted
    EXPECT_EQ(::poll(&waiting, 1, 0), 0);
  }
  {
    PlayerEngine player(std::make_unique<WavSink>("/dev/null", AudioFormat{8000, 1}), options);
    player.setSource(url);
    ASSERT_TRUE(testing::pollUntilStopped(player, std::chrono::seconds(5)));
    EXPECT_NE(player.status().message.detail.find("did not answer in time"), std::string::npos);
  }
  options.networkTimeout = std::chrono::seconds(60);
  const auto begin = std::chrono::steady_clock::now();
  {
    PlayerEngine player(std::make_unique<WavSink>("/dev/null", AudioFormat{8000, 1}), options);
    player.setSource(url);
    pollfd waiting{server, POLLIN, 0};  // the worker's connection, waiting on the server
    EXPECT_EQ(::poll(&waiting, 1, 10000), 1);
    player.stop();
    player.setSource("");
  }  // the destructor joins the worker, which was waiting on the server
  EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(30));  // not its 60
  ::close(server);
}

// The buffer between worker and sink: positions follow what was pulled, clip marks move the
// position to the next clip exactly at the join, and a reset drops what an old epoch wrote.
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

// Thousands of random operations from the UI thread while the worker decodes and the sink
// pulls: nothing crashes, hangs or races (this runs under ThreadSanitizer too), and the status
// always describes a position that exists.
TEST(Stress, RandomOperationsLeaveAConsistentPlayer) {
  TempDir dir;
  testing::makeTone(dir.str() + "/a.rm", 0.6);
  testing::makeTone(dir.str() + "/b.rm", {"ac3", 48000, 2, 0.4, 550, ""});
  const std::vector<std::string> sources = {
      dir.write("list.ram", "a.rm\r\nmissing.rm\r\nb.rm\r\ncache:a.rm\r\na.rm\r\n"),
      dir.write("one.ram", "b.rm\r\n"),
      "file:" + dir.str() + "/a.rm",
      "",
      "concat:" + dir.str() + "/a.rm",
      dir.str() + "/missing.ram",
  };
  const unsigned seed = std::random_device{}();
  std::mt19937 random(seed);
  SCOPED_TRACE("seed " + std::to_string(seed));

  const auto makeSink = [&]() -> std::unique_ptr<AudioSink> {
    const auto which = random() % 3;  // the last cannot start: the player goes on the clock
    if (which == 0) return std::make_unique<NullSink>(AudioFormat{8000, 1});
    return std::make_unique<WavSink>(dir.str() + (which == 1 ? "/out.wav" : "/none/out.wav"),
                                     AudioFormat{22050, 2});
  };
  auto player = std::make_unique<PlayerEngine>(makeSink());
  const std::vector<std::function<void()>> operations = {
      [&] { player->setSource(sources[random() % sources.size()]); },
      [&] { player->setAutoStart(random() % 2); },
      [&] { player->playPause(); },
      [&] { player->playPause(); },
      [&] { player->stop(); },
      [&] { player->nextClip(); },
      [&] { player->previousClip(); },
      [&] { player->seek(random() % 50 == 0 ? 1e9 : static_cast<double>(random() % 1000) / 1e3); },
      [&] { player->setVolume(static_cast<double>(random() % 11) / 10.0); },
      [&] {
        if (random() % 20 == 0) player = std::make_unique<PlayerEngine>(makeSink());
      },
      [&] { player->poll(); },
      [&] { player->poll(); }};
  for (int step = 0; step < 5000; ++step) {
    operations[random() % operations.size()]();
    const auto s = player->status();
    ASSERT_GE(s.clipIndex, 0) << "step " << step;
    ASSERT_TRUE(s.clipCount == 0 ? s.clipIndex == 0 : s.clipIndex < s.clipCount) << "step " << step;
    ASSERT_GE(s.elapsedSeconds, 0) << "step " << step;
    ASSERT_TRUE(s.clipCount > 0 || s.state == PlayState::Stopped) << "step " << step;
  }
  // Whatever state it was left in, a fresh source plays to its end.
  player->setSource("");
  player->setAutoStart(true);
  player->setSource(sources[1]);
  EXPECT_TRUE(testing::pollUntilStopped(*player, std::chrono::seconds(20)));
}

}  // namespace
}  // namespace tunelark::engine
