// Reading one playlist line into a clip: forms of local paths, parameters, and which network
// schemes are allowed.

#include "player/engine/source_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tunelark::engine {
namespace {

struct LineCase {
  std::string line;
  ClipKind kind;
  std::string location;
  std::string title;
};

class SourceLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(SourceLineTest, LineGivesTheExpectedClip) {
  const auto& c = GetParam();
  const auto clip = parseSourceLine(c.line);
  EXPECT_EQ(clip.kind, c.kind) << c.line;
  EXPECT_EQ(clip.location, c.location) << c.line;
  EXPECT_EQ(clip.title, c.title) << c.line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SourceLineTest,
    ::testing::Values(
        LineCase{"file:/home/ann/song.ra", ClipKind::LocalFile, "/home/ann/song.ra", ""},
        LineCase{"file:/home/ann/song.ra\r", ClipKind::LocalFile, "/home/ann/song.ra", ""},
        LineCase{"FILE:/home/ann/song.ra", ClipKind::LocalFile, "/home/ann/song.ra", ""},
        LineCase{"file:///home/ann/song.ra", ClipKind::LocalFile, "/home/ann/song.ra", ""},
        LineCase{"file://localhost/home/a.rm", ClipKind::LocalFile, "/home/a.rm", ""},
        LineCase{"/home/ann/song.rm", ClipKind::LocalFile, "/home/ann/song.rm", ""},
        LineCase{"  /home/ann/song.rm \t", ClipKind::LocalFile, "/home/ann/song.rm", ""},
        LineCase{"file:/m/caf\xc3\xa9 \xff.ra", ClipKind::LocalFile, "/m/caf\xc3\xa9 \xff.ra", ""},
        LineCase{"C:\\music\\a.ra", ClipKind::LocalFile, "C:\\music\\a.ra", ""},
        LineCase{"file:/m/a.rm?title=Morning", ClipKind::LocalFile, "/m/a.rm", "Morning"},
        LineCase{"file:/m/a.rm?start=10&title=Two%20Words", ClipKind::LocalFile, "/m/a.rm",
                 "Two Words"},
        LineCase{"file:/m/a.rm?title=A+B&author=x", ClipKind::LocalFile, "/m/a.rm", "A B"},
        LineCase{"file:/m/what?.rm", ClipKind::LocalFile, "/m/what?.rm", ""},
        LineCase{"file:/m/why?.rm?title=T", ClipKind::LocalFile, "/m/why?.rm", "T"},
        LineCase{"file:/m/a.rm?title=%zz", ClipKind::LocalFile, "/m/a.rm", "%zz"},
        LineCase{"file:/m/a.rm?=x", ClipKind::LocalFile, "/m/a.rm?=x", ""},
        LineCase{"http://example.org/a.rm", ClipKind::NetworkUrl, "http://example.org/a.rm", ""},
        LineCase{"HTTPS://example.org/a.ra", ClipKind::NetworkUrl, "HTTPS://example.org/a.ra", ""},
        LineCase{"pnm://example.org/a.ra", ClipKind::Unplayable, "pnm://example.org/a.ra", ""}));

TEST(SourceLineRefusal, EveryOtherSchemeIsRefusedAndSaysWhich) {
  for (const auto* line :
       {"concat:/a.rm|/b.rm", "subfile,,start,0,end,0,,:/a.rm", "data:audio/wav;base64,UklG",
        "pipe:0", "fd:3", "crypto:/a.rm", "cache:/a.rm", "ftp://host/a.rm", "async:/a.rm",
        "gopher://host/a", "unix:/run/socket", "tee:/a.rm", "srtp://host:5004", "hls+http://host/a",
        "file+concat:/x"}) {
    const auto clip = parseSourceLine(line);
    EXPECT_EQ(clip.kind, ClipKind::Unplayable) << line;
    EXPECT_NE(clip.refusal.find("not allowed"), std::string::npos) << line << ": " << clip.refusal;
  }
  EXPECT_NE(parseSourceLine("pnm://h/live.ra").refusal.find("pnm"), std::string::npos);
  EXPECT_EQ(parseSourceLine("file:").kind, ClipKind::Unplayable);
  EXPECT_EQ(parseSourceLine("file:?title=x").kind, ClipKind::Unplayable);
}

TEST(SourceLineNames, DisplayNameAndRelativeFlag) {
  EXPECT_EQ(parseSourceLine("file:/m/dir/song.ra").displayName(), "song.ra");
  EXPECT_EQ(parseSourceLine("song.ra").displayName(), "song.ra");
  EXPECT_EQ(parseSourceLine("http://h/x.rm").displayName(), "http://h/x.rm");
  EXPECT_TRUE(parseSourceLine("file:songs/a.rm").relative);
  EXPECT_TRUE(parseSourceLine("a.rm").relative);
  EXPECT_FALSE(parseSourceLine("file:/songs/a.rm").relative);
  EXPECT_FALSE(parseSourceLine("/songs/a.rm").relative);
}

}  // namespace
}  // namespace tunelark::engine
