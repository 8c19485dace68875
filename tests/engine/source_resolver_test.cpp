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

TEST(ResolveSingleLine, ALineIsOneClip) {
  const auto resolved = resolveSource("file:/music/a.rm?title=A");
  ASSERT_EQ(resolved.clips.size(), 1u);
  EXPECT_EQ(resolved.clips[0].location, "/music/a.rm");
  EXPECT_EQ(resolved.clips[0].title, "A");
  EXPECT_EQ(resolved.message, "");
}

TEST(ResolveSingleLine, EmptySourceHasNoClips) {
  EXPECT_TRUE(resolveSource("").clips.empty());
  EXPECT_TRUE(resolveSource(" \r\n").clips.empty());
}

TEST(ResolveRam, EntriesInOrderWithRelativeOnesAgainstTheListsFolder) {
  TempDir dir;
  const auto ram = dir.write("lists/mix.ram",
                             "file:/abs/one.rm\r\n"
                             "two.rm\r\n"
                             "file:sub/three.ra?title=Three\r\n"
                             "http://example.org/four.rm\r\n");
  const auto resolved = resolveSource(ram);
  const auto folder = dir.str() + "/lists";
  EXPECT_EQ(locations(resolved),
            (std::vector<std::string>{"/abs/one.rm", folder + "/two.rm", folder + "/sub/three.ra",
                                      "http://example.org/four.rm"}));
  EXPECT_EQ(resolved.clips[2].title, "Three");
  EXPECT_FALSE(resolved.clips[1].relative);
}

TEST(ResolveRam, TheFileFormAndPlainPathOfAListAreTheSame) {
  TempDir dir;
  const auto ram = dir.write("a.ram", "file:/x.rm\r\n");
  EXPECT_EQ(locations(resolveSource("file:" + ram)), locations(resolveSource(ram)));
  EXPECT_EQ(locations(resolveSource("file://" + ram)), locations(resolveSource(ram)));
}

TEST(ResolveRam, UpperCaseExtensionIsAList) {
  TempDir dir;
  const auto ram = dir.write("A.RAM", "file:/x.rm\r\n");
  EXPECT_EQ(locations(resolveSource(ram)), std::vector<std::string>{"/x.rm"});
}

TEST(ResolveRam, BinaryClipNamedRamIsAClip) {
  TempDir dir;
  const auto ram = dir.write("song.ram", std::string(".RMF\0\0\0\x12\0\0", 10));
  const auto resolved = resolveSource(ram);
  ASSERT_EQ(resolved.clips.size(), 1u);
  EXPECT_EQ(resolved.clips[0].location, ram);
}

TEST(ResolveRam, TextNamedLikeAClipIsAClip) {
  TempDir dir;
  const auto rm = dir.write("notes.rm", "file:/x.rm\r\n");
  EXPECT_EQ(locations(resolveSource(rm)), std::vector<std::string>{rm});
}

TEST(ResolveRam, FifoNamedRamIsNotReadAndStaysAClip) {
  TempDir dir;
  const auto fifo = dir.str() + "/pipe.ram";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(locations(resolveSource(fifo)), std::vector<std::string>{fifo});
}

TEST(ResolveNesting, NestedListsAreExpandedInPlace) {
  TempDir dir;
  dir.write("inner.ram", "b.rm\r\nc.rm\r\n");
  const auto outer = dir.write("outer.ram", "a.rm\r\ninner.ram\r\nd.rm\r\n");
  const auto f = dir.str() + "/";
  EXPECT_EQ(locations(resolveSource(outer)),
            (std::vector<std::string>{f + "a.rm", f + "b.rm", f + "c.rm", f + "d.rm"}));
}

TEST(ResolveNesting, AListThatListsItselfIsLeftOutOnce) {
  TempDir dir;
  const auto self = dir.write("self.ram", "a.rm\r\nself.ram\r\nb.rm\r\n");
  const auto resolved = resolveSource(self);
  const auto f = dir.str() + "/";
  EXPECT_EQ(locations(resolved), (std::vector<std::string>{f + "a.rm", f + "b.rm"}));
  EXPECT_NE(resolved.message.find("lists itself"), std::string::npos);
}

TEST(ResolveNesting, TwoListsThatListEachOtherEnd) {
  TempDir dir;
  dir.write("ping.ram", "ping.rm\r\npong.ram\r\n");
  const auto pong = dir.write("pong.ram", "pong.rm\r\nping.ram\r\n");
  const auto f = dir.str() + "/";
  EXPECT_EQ(locations(resolveSource(pong)),
            (std::vector<std::string>{f + "pong.rm", f + "ping.rm"}));
}

TEST(ResolveNesting, DepthIsLimitedOnBothSidesOfTheLimit) {
  // level1.ram lists level2.ram ... each also lists one clip of its own.
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

TEST(ResolveLimitsTest, ClipListIsCappedAndTheMessageSaysSo) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "file:/nowhere/clip" + std::to_string(i) + ".rm\r\n";
  const auto ram = dir.write("huge.ram", text);
  const auto resolved = resolveSource(ram);
  EXPECT_EQ(resolved.clips.size(), 10000u);
  EXPECT_EQ(resolved.clips.back().location, "/nowhere/clip9999.rm");
  EXPECT_NE(resolved.message.find("10000"), std::string::npos) << resolved.message;
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
}

TEST(ResolveLimitsTest, ABigListIsCutAtItsLastWholeLine) {
  TempDir dir;
  const auto ram = dir.write("big.ram", "first.rm\r\nsecond.rm\r\nthird.rm\r\n");
  ResolveLimits limits;
  limits.maxFileBytes = 25;  // "first.rm\r\nsecond.rm\r\nthi"
  const auto cut = resolveSource(ram, limits);
  ASSERT_EQ(cut.clips.size(), 2u);
  EXPECT_EQ(cut.clips[1].location, dir.str() + "/second.rm");
  EXPECT_NE(cut.message.find("read only in part"), std::string::npos);
}

TEST(ResolveLimitsTest, ExactlyTheCapIsNotReportedAsCut) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 3; ++i) text.append("c").append(std::to_string(i)).append(".rm\r\n");
  const auto ram = dir.write("three.ram", text);
  ResolveLimits limits;
  limits.maxClips = 3;
  EXPECT_EQ(resolveSource(ram, limits).message, "");
  limits.maxClips = 2;
  const auto cut = resolveSource(ram, limits);
  EXPECT_EQ(cut.clips.size(), 2u);
  EXPECT_NE(cut.message.find("only the first 2"), std::string::npos);
}

}  // namespace
}  // namespace tunelark::engine

namespace tunelark::engine {
namespace {

TEST(ResolveRam, UnplayableEntriesKeepTheirPlaceInTheList) {
  testing::TempDir dir;
  const auto ram =
      dir.write("mixed.ram", "a.rm\r\npnm://live.example.org/x.ra\r\nconcat:a|b\r\nb.rm\r\n");
  const auto resolved = resolveSource(ram);
  ASSERT_EQ(resolved.clips.size(), 4u);
  EXPECT_EQ(resolved.clips[1].kind, ClipKind::Unplayable);
  EXPECT_EQ(resolved.clips[1].location, "pnm://live.example.org/x.ra");
  EXPECT_EQ(resolved.clips[2].kind, ClipKind::Unplayable);
  EXPECT_EQ(resolved.clips[3].location, dir.str() + "/b.rm");
}

}  // namespace
}  // namespace tunelark::engine
