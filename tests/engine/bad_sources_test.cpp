// Sources that cannot be played end in a clear state quickly, say why, and open nothing that
// the whitelists leave out. Several cases point at a real clip that would sound if it were
// opened, so "no frames" shows it was not.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <memory>
#include <string>

#include "engine/engine_fixtures.h"
#include "player/engine/player_engine.h"
#include "player/engine/wav_sink.h"
#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

using testing::TempDir;

// Far more than the work takes, so a hang fails while a slow sanitizer build does not.
constexpr auto kClearStateWithin = std::chrono::seconds(3);

// The folder holds a real clip "real.rm" and the same sound as "real.wav".
struct Fixture {
  TempDir dir;
  std::string rm = dir.str() + "/real.rm";
  std::string wav = dir.str() + "/real.wav";
  Fixture() {
    testing::makeTone(rm);
    if (std::system(("ffmpeg -nostdin -v error -i " + rm + " " + wav).c_str()) != 0) {
      throw std::runtime_error("ffmpeg failed");
    }
  }
};

struct BadSource {
  std::string name;
  std::function<std::string(Fixture&)> make;  // returns the source to give the player
  std::string says;                           // part of the message that must be shown
  bool realClipPlays = false;                 // the real clip is in the list too
};

std::vector<BadSource> badSources() {
  std::vector<BadSource> cases = {
      {"MissingFile", [](Fixture& f) { return "file:" + f.dir.str() + "/none.rm"; }, "not found"},
      {"Directory", [](Fixture& f) { return "file:" + f.dir.str(); }, "is a folder"},
      {"Fifo",
       [](Fixture& f) {
         const auto p = f.dir.str() + "/pipe.rm";
         if (::mkfifo(p.c_str(), 0600) != 0) throw std::runtime_error("mkfifo");
         return "file:" + p;
       },
       "not a regular file"},
      {"FifoNamedAsAList",
       [](Fixture& f) {
         const auto p = f.dir.str() + "/pipe.ram";
         if (::mkfifo(p.c_str(), 0600) != 0) throw std::runtime_error("mkfifo");
         return p;
       },
       "not a regular file"},
      {"DeviceNode", [](Fixture&) { return std::string("file:/dev/zero"); }, "not a regular file"},
      {"TextNamedRm",
       [](Fixture& f) { return f.dir.write("notes.rm", "just some words\r\nand more\r\n"); },
       "not a clip format"},
      {"HlsPlaylistNamedRm",
       [](Fixture& f) {
         return f.dir.write("stream.rm", "#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:1.0,\n" +
                                             f.wav + "\n#EXT-X-ENDLIST\n");
       },
       "not a clip format"},
      {"RealMediaSignatureThenJunk",
       [](Fixture& f) {
         std::string junk = ".RMF";
         for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919 + 13) % 256);
         return f.dir.write("fake.rm", junk);
       },
       "not a clip format"},
      {"BinaryJunkRam",
       [](Fixture& f) {
         std::string junk;
         for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 7919 + 13) % 256);
         return f.dir.write("junk.ram", junk);
       },
       "not a clip format"},
      {"SelfListingRam",
       [](Fixture& f) { return f.dir.write("self.ram", "self.ram\r\nreal.rm\r\nself.ram\r\n"); },
       "lists itself", true},
      {"PnmStream", [](Fixture&) { return std::string("pnm://example.org/live.ra"); }, "pnm"},
      {"HugeRam",
       [](Fixture& f) {
         std::string text;
         for (int i = 0; i < 100000; ++i) text += "missing" + std::to_string(i) + ".rm\r\n";
         return f.dir.write("huge.ram", text);
       },
       "missing9999.rm"},
      {"ClosedLocalPort", [](Fixture&) { return std::string("http://127.0.0.1:9/a.rm"); },
       "refused"},
  };
  // Each would reach the real clip if FFmpeg's own protocol were asked to open it. The scheme
  // check itself, for every refused scheme, is source_line_test's.
  const std::vector<std::pair<std::string, std::function<std::string(Fixture&)>>> schemes = {
      {"Concat", [](Fixture& f) { return "concat:" + f.rm + "|" + f.rm; }},
      {"Subfile", [](Fixture& f) { return "subfile,,start,0,end,0,,:" + f.rm; }},
      {"Cache", [](Fixture& f) { return "cache:" + f.rm; }},
      {"Async", [](Fixture& f) { return "async:file:" + f.rm; }},
  };
  for (const auto& [name, make] : schemes) cases.push_back({"Scheme" + name, make, "not allowed"});
  // The same refusals inside a list, next to a clip that plays.
  cases.push_back(
      {"RefusedSchemeInsideAList",
       [](Fixture& f) { return f.dir.write("mixed.ram", "cache:" + f.rm + "\r\nreal.rm\r\n"); }, "",
       true});
  return cases;
}

void PrintTo(const BadSource& c, std::ostream* os) { *os << c.name; }

class BadSourceTest : public ::testing::TestWithParam<BadSource> {};

TEST_P(BadSourceTest, EndsStoppedWithAReasonAndPlaysNothingItShouldNot) {
  const auto& c = GetParam();
  Fixture f;
  const auto out = f.dir.str() + "/out.wav";
  const auto source = c.make(f);
  PlayerMessage message;
  {
    PlayerEngine player(std::make_unique<WavSink>(out, AudioFormat{8000, 1}));
    player.setSource(source);
    ASSERT_TRUE(testing::pollUntilStopped(player, kClearStateWithin)) << c.name;
    message = player.status().message;
  }
  EXPECT_NE(testing::said(message).find(c.says), std::string::npos)
      << c.name << ": " << testing::said(message);
  const auto played = testing::readWav(out).fileFrames;
  if (c.realClipPlays) {
    EXPECT_EQ(played, testing::ffmpegDecodedFrames(f.rm, 1)) << c.name;
  } else {
    EXPECT_EQ(played, 0) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, BadSourceTest, ::testing::ValuesIn(badSources()),
                         [](const auto& param) { return param.param.name; });

TEST(BadSourceLimits, HugeListIsCutAndUnplayableClipsAreMarked) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "clip" + std::to_string(i) + ".rm\r\n";
  PlayerEngine player(std::make_unique<WavSink>("/dev/null", AudioFormat{8000, 1}));
  player.setAutoStart(false);
  player.setSource(dir.write("huge.ram", text));
  const auto s = player.status();
  EXPECT_EQ(s.clipCount, 10000);
  EXPECT_EQ(s.message.what, PlayerEvent::ListShortened);
  EXPECT_NE(s.message.detail.find("only the first 10000 clips"), std::string::npos);
  player.setSource("pnm://example.org/live.ra");
  EXPECT_TRUE(player.status().unplayable);
  EXPECT_EQ(player.status().clipCount, 1);
}

}  // namespace
}  // namespace tunelark::engine
