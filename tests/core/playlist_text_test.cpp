// The playlist file's own reading rule (a line ends only at CR) and its writing (CR LF after
// every line, bytes verbatim), beside the player's looser rule for .ram files in the wild.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/case_name.h"
#include "playlist/list_text.h"
#include "playlist/playlist_line.h"

namespace tunelark {
namespace {

struct ReadCase {
  const char* what;
  std::string text;
  bool skipSingleSpace;
  std::vector<std::string> lines;
};

class ListReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ListReading, TakesTheEntryLines) {
  EXPECT_EQ(readListLines(GetParam().text, 80, GetParam().skipSingleSpace).lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ListReading,
    ::testing::Values(
        ReadCase{"empty file", "", false, {}},
        ReadCase{"CR LF", "file:/a.ra\r\nfile:/b.ra\r\n", false, {"file:/a.ra", "file:/b.ra"}},
        ReadCase{"CR alone", "file:/a.ra\rfile:/b.ra\r", false, {"file:/a.ra", "file:/b.ra"}},
        ReadCase{"LF only is one line", "a\nb\n", false, {"a\nb\n"}},
        ReadCase{"last line without end", "a\r\nb", false, {"a", "b"}},
        ReadCase{"blank lines are entries", "\r\n\r\na\r\n", false, {"", "", "a"}},
        ReadCase{"single space kept at start-up", " \r\n a\r\n", false, {" ", " a"}},
        ReadCase{"single space skipped by Open", " \r\n \r\n  \r\n", true, {"  "}},
        ReadCase{"bytes verbatim",
                 "file:/m/\xe9t\xe9 \t.ra \r\n#x\r\n",
                 false,
                 {"file:/m/\xe9t\xe9 \t.ra ", "#x"}}),
    [](const auto& row) { return testing::caseName(row.param.what); });

TEST(ListReadingLimit, LinesPastTheLimitAreReadAndLeftOut) {
  std::string text;
  for (int i = 1; i <= 85; ++i) text += "file:/c" + std::to_string(i) + ".ra\r\n";
  const auto read = readListLines(text, 80, false);
  ASSERT_EQ(read.lines.size(), 80u);
  EXPECT_EQ(read.lines.back(), "file:/c80.ra");
  EXPECT_TRUE(read.more);
  EXPECT_FALSE(readListLines(text, 85, false).more);
}

TEST(ListWriting, EveryLineEndsInCrLfAndEmptyOnesAreSkippedOnlyWhenAsked) {
  const std::string lines[] = {"file:/a.ra", "", "file:/b c.ra"};
  EXPECT_EQ(listFileText(lines, 3, false), "file:/a.ra\r\n\r\nfile:/b c.ra\r\n");
  EXPECT_EQ(listFileText(lines, 3, true), "file:/a.ra\r\nfile:/b c.ra\r\n");
  EXPECT_EQ(listFileText(lines, 0, false), "");
  // What is written reads back as the same entries.
  EXPECT_EQ(readListLines(listFileText(lines, 3, false), 80, false).lines,
            std::vector<std::string>(lines, lines + 3));
}

TEST(PlaylistLine, FolderNameAndRowsAsTheBoxShowsThem) {
  EXPECT_EQ(clipLine("/home/ann/Music", "song.ra"), "file:/home/ann/Music/song.ra");
  EXPECT_EQ(clipLine("/", "song.ra"), "file://song.ra");  // no separator is folded
  EXPECT_EQ(linePath("file:/a/b.ra"), "/a/b.ra");
  EXPECT_EQ(linePath("http:/x"), "/x");  // the first five characters, whatever they are
  EXPECT_EQ(linePath("file:"), "");
  EXPECT_EQ(rowText(2, "song.ra"), "3. song.ra");
  EXPECT_EQ(rowText(79, ""), "80. ");
}

}  // namespace
}  // namespace tunelark
