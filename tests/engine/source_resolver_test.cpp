// Turning a source into its clip list with real files: .ram files found by their text, relative
// entries, nesting, cycles and size limits.

#include "player/engine/source_resolver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/temp_dir.h"

namespace tunelark::engine {
namespace {

using testing::TempDir;

std::vector<std::string> locations(const ResolvedSource& resolved) {
  std::vector<std::string> out;
  for (const auto& clip : resolved.clips) out.push_back(clip.location);
  return out;
}

TEST(ResolveSource, LinesAndEmptySources) {
  const auto resolved = resolveSource("file:/music/a.rm?title=A");
  ASSERT_EQ(resolved.clips.size(), 1u);
  EXPECT_EQ(resolved.clips[0].location, "/music/a.rm");
  EXPECT_EQ(resolved.clips[0].title, "A");
  EXPECT_EQ(resolved.message, "");
  EXPECT_TRUE(resolveSource("").clips.empty());
  EXPECT_TRUE(resolveSource(" \r\n").clips.empty());
}

TEST(ResolveRam, EntriesInOrderWithRelativeOnesAgainstTheListsFolder) {
  TempDir dir;
  const auto ram = dir.write("lists/mix.ram",
                             "file:/abs/one.rm\r\ntwo.rm\r\nfile:sub/three.ra?title=Three\r\n"
                             "http://example.org/four.rm\r\npnm://live.example.org/x.ra\r\n"
                             "concat:a|b\r\n");
  const auto resolved = resolveSource(ram);
  const auto folder = dir.str() + "/lists";
  EXPECT_EQ(locations(resolved),
            (std::vector<std::string>{"/abs/one.rm", folder + "/two.rm", folder + "/sub/three.ra",
                                      "http://example.org/four.rm", "pnm://live.example.org/x.ra",
                                      "concat:a|b"}));
  EXPECT_EQ(resolved.clips[2].title, "Three");
  EXPECT_FALSE(resolved.clips[1].relative);
  EXPECT_EQ(resolved.clips[4].kind, ClipKind::Unplayable);
  EXPECT_EQ(resolved.clips[5].kind, ClipKind::Unplayable);
  // Blank lines, comments and a byte order mark make no entries; a line ends at LF; --stop-- ends
  // the list.
  const auto marked =
      dir.write("lists/marked.ram",
                "\xEF\xBB\xBF# c\r\n   \r\na.rm\n#b.rm\r\n--stop--x\r\n--stop--\r\nd.rm\r\n");
  EXPECT_EQ(locations(resolveSource(marked)),
            (std::vector<std::string>{folder + "/a.rm", folder + "/--stop--x"}));
  // The file: forms of a list's path name the same list.
  EXPECT_EQ(locations(resolveSource("file:" + ram)), locations(resolved));
  EXPECT_EQ(locations(resolveSource("file://" + ram)), locations(resolved));
}

// A file is a list when its name ends in .ram (any case) and it holds text; else it is a clip.
TEST(ResolveRam, ListsAreKnownByNameAndText) {
  TempDir dir;
  EXPECT_EQ(locations(resolveSource(dir.write("A.RAM", "file:/x.rm\r\n"))),
            std::vector<std::string>{"/x.rm"});
  const auto binary = dir.write("song.ram", std::string(".RMF\0\0\0\x12\0\0", 10));
  EXPECT_EQ(locations(resolveSource(binary)), std::vector<std::string>{binary});
  const auto text = dir.write("notes.rm", "file:/x.rm\r\n");
  EXPECT_EQ(locations(resolveSource(text)), std::vector<std::string>{text});
  const auto fifo = dir.str() + "/pipe.ram";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(locations(resolveSource(fifo)), std::vector<std::string>{fifo});
}

TEST(ResolveNesting, NestedListsExpandInPlaceAndCyclesEnd) {
  TempDir dir;
  const auto f = dir.str() + "/";
  dir.write("inner.ram", "b.rm\r\nc.rm\r\n");
  EXPECT_EQ(locations(resolveSource(dir.write("outer.ram", "a.rm\r\ninner.ram\r\nd.rm\r\n"))),
            (std::vector<std::string>{f + "a.rm", f + "b.rm", f + "c.rm", f + "d.rm"}));
  const auto self = resolveSource(dir.write("self.ram", "a.rm\r\nself.ram\r\nb.rm\r\n"));
  EXPECT_EQ(locations(self), (std::vector<std::string>{f + "a.rm", f + "b.rm"}));
  EXPECT_NE(self.message.find("lists itself"), std::string::npos);
  dir.write("ping.ram", "ping.rm\r\npong.ram\r\n");
  EXPECT_EQ(locations(resolveSource(dir.write("pong.ram", "pong.rm\r\nping.ram\r\n"))),
            (std::vector<std::string>{f + "pong.rm", f + "ping.rm"}));
}

TEST(ResolveNesting, DepthIsLimitedOnBothSidesOfTheLimit) {
  for (const int levels : {4, 5}) {
    TempDir dir;
    for (int i = 1; i <= levels; ++i) {
      std::string text = "clip" + std::to_string(i) + ".rm\r\n";
      if (i < levels) text += "level" + std::to_string(i + 1) + ".ram\r\n";
      dir.write("level" + std::to_string(i) + ".ram", text);
    }
    ResolveLimits limits;
    limits.maxDepth = 4;
    const auto resolved = resolveSource(dir.str() + "/level1.ram", limits);
    EXPECT_EQ(resolved.clips.size(), 4u) << levels << " levels";
    EXPECT_EQ(resolved.message.find("nested too deeply") != std::string::npos, levels > 4)
        << resolved.message;
  }
}

TEST(ResolveLimitsTest, ClipCountIsCappedAndOnlyACutIsReported) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "file:/nowhere/clip" + std::to_string(i) + ".rm\r\n";
  const auto resolved = resolveSource(dir.write("huge.ram", text));
  EXPECT_EQ(resolved.clips.size(), 10000u);
  EXPECT_EQ(resolved.clips.back().location, "/nowhere/clip9999.rm");
  EXPECT_NE(resolved.message.find("10000"), std::string::npos) << resolved.message;
  const auto three = dir.write("three.ram", "c0.rm\r\nc1.rm\r\nc2.rm\r\n");
  ResolveLimits limits;
  limits.maxClips = 3;
  EXPECT_EQ(resolveSource(three, limits).message, "");
  limits.maxClips = 2;
  const auto cut = resolveSource(three, limits);
  EXPECT_EQ(cut.clips.size(), 2u);
  EXPECT_NE(cut.message.find("only the first 2"), std::string::npos);
}

TEST(ResolveLimitsTest, PlaylistTextIsReadOnlyUpToABudget) {
  TempDir dir;
  // Each inner list is 40 bytes; the budget takes the outer list and one inner list only.
  const std::string inner = "clip.rm\r\n" + std::string(30, '#') + "\r\n";
  dir.write("one.ram", inner);
  dir.write("two.ram", inner);
  const auto outer = dir.write("outer.ram", "one.ram\r\ntwo.ram\r\n");
  ResolveLimits limits;
  limits.maxTotalBytes = 18 + inner.size() + 1;
  const auto cut = resolveSource(outer, limits);
  EXPECT_EQ(cut.clips.size(), 1u);
  EXPECT_NE(cut.message.find("two.ram was read only in part"), std::string::npos) << cut.message;
  limits.maxTotalBytes = 18 + 2 * inner.size();
  EXPECT_EQ(resolveSource(outer, limits).clips.size(), 2u);
  // One big list is cut at its last whole line.
  const auto big = dir.write("big.ram", "first.rm\r\nsecond.rm\r\nthird.rm\r\n");
  ResolveLimits small;
  small.maxFileBytes = 25;  // "first.rm\r\nsecond.rm\r\nthi"
  const auto bigCut = resolveSource(big, small);
  EXPECT_NE(bigCut.message.find("read only in part"), std::string::npos);
  EXPECT_EQ(locations(bigCut),
            (std::vector<std::string>{dir.str() + "/first.rm", dir.str() + "/second.rm"}));
}

}  // namespace
}  // namespace tunelark::engine
