// Which lines of a .ram text are entries.

#include "playlist/ram_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tunelark {
namespace {

struct RamCase {
  std::string name;
  std::string text;
  std::vector<std::string> lines;
};

class RamTextTest : public ::testing::TestWithParam<RamCase> {};

TEST_P(RamTextTest, EntriesAreTheExpectedLines) {
  EXPECT_EQ(parseRamText(GetParam().text, 100).lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RamTextTest,
    ::testing::Values(
        RamCase{"Empty", "", {}},
        RamCase{"CrLf", "file:/a.rm\r\nfile:/b.rm\r\n", {"file:/a.rm", "file:/b.rm"}},
        RamCase{"LfAndNoFinalNewline", "file:/a.rm\nfile:/b.rm", {"file:/a.rm", "file:/b.rm"}},
        RamCase{"BlankAndCommentLinesSkipped",
                "\r\n# a comment\r\n   \r\nfile:/a.rm\r\n#file:/b.rm\r\n",
                {"file:/a.rm"}},
        RamCase{"StopEndsTheList", "file:/a.rm\r\n--stop--\r\nfile:/b.rm\r\n", {"file:/a.rm"}},
        RamCase{
            "StopMustBeTheWholeLine", "--stop--x\r\nfile:/a.rm\r\n", {"--stop--x", "file:/a.rm"}},
        RamCase{"ByteOrderMarkIsNotPartOfTheFirstEntry",
                "\xEF\xBB\xBF"
                "file:/a.rm\r\n",
                {"file:/a.rm"}},
        RamCase{"ByteOrderMarkOnlyAtTheStart",
                "file:/a.rm\r\n\xEF\xBB\xBF"
                "b.rm\r\n",
                {"file:/a.rm",
                 "\xEF\xBB\xBF"
                 "b.rm"}},
        RamCase{"BytesKeptAsTheyAre", "file:/m/\xe9t\xe9.ra\r\n", {"file:/m/\xe9t\xe9.ra"}}),
    [](const auto& param) { return param.param.name; });

TEST(RamTextLimits, EntriesBeyondTheLimitAreLeftOutAndSaidSo) {
  std::string text;
  for (int i = 0; i < 5; ++i) text += "file:/c" + std::to_string(i) + ".rm\r\n";
  const auto atLimit = parseRamText(text, 5);
  EXPECT_EQ(atLimit.lines.size(), 5u);
  EXPECT_FALSE(atLimit.truncated);
  const auto belowLimit = parseRamText(text, 4);
  EXPECT_EQ(belowLimit.lines.size(), 4u);
  EXPECT_TRUE(belowLimit.truncated);
}

TEST(RamTextDetection, TextAndBinaryAreTold) {
  EXPECT_TRUE(looksLikeText("file:/a.rm\r\n"));
  EXPECT_TRUE(looksLikeText(""));
  EXPECT_FALSE(looksLikeText(std::string(".RMF\0\0\0\x12", 8)));
}

}  // namespace
}  // namespace tunelark
