// The playlist file's own rules beside the handler tables: a line ends only at CR, written lines
// end in CR LF, and the row and line helpers' edge cases.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playlist/list_text.h"
#include "playlist/playlist_line.h"

namespace tunelark {
namespace {

using Lines = std::vector<std::string>;

TEST(ListText, ALineEndsAtCrAndWrittenLinesEndInCrLf) {
  EXPECT_EQ(readListLines("a\rb\r", 80, false).lines, (Lines{"a", "b"}));
  EXPECT_EQ(readListLines("a\r\nb", 80, false).lines, (Lines{"a", "b"}));
  EXPECT_EQ(readListLines("a\nb\n", 80, false).lines, (Lines{"a\nb\n"}));
  EXPECT_EQ(readListLines(" \r\n  \r\n", 80, true).lines, (Lines{"  "}));
  EXPECT_EQ(readListLines("x\ry\r", 1, false).more, true);
  const std::string lines[] = {"file:/a.ra", "", "file:/b c.ra"};
  EXPECT_EQ(listFileText(lines, 3, false), "file:/a.ra\r\n\r\nfile:/b c.ra\r\n");
  EXPECT_EQ(listFileText(lines, 3, true), "file:/a.ra\r\nfile:/b c.ra\r\n");
  EXPECT_EQ(clipLine("/", "song.ra"), "file://song.ra");  // no separator is folded
  EXPECT_EQ(linePath("http:/x"), "/x");  // the first five characters, whatever they are
  EXPECT_EQ(linePath("file:"), "");
}

}  // namespace
}  // namespace tunelark
