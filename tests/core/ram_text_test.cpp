// Which lines of a .ram text are entries.

#include "playlist/ram_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace tunelark {
namespace {

using Lines = std::vector<std::string>;

TEST(RamText, EntriesAreTheLinesThatNameClips) {
  const std::pair<std::string, Lines> cases[] = {
      {"", {}},
      {"file:/a.rm\r\nfile:/b.rm", {"file:/a.rm", "file:/b.rm"}},
      {"file:/a.rm\nfile:/b.rm\n", {"file:/a.rm", "file:/b.rm"}},
      {"\r\n# c\r\n   \r\nfile:/a.rm\r\n#file:/b.rm\r\n", {"file:/a.rm"}},
      {"file:/a.rm\r\n--stop--\r\nfile:/b.rm\r\n", {"file:/a.rm"}},
      {"--stop--x\r\nfile:/\xe9.rm\r\n", {"--stop--x", "file:/\xe9.rm"}},
      {"\xEF\xBB\xBF"
       "a.rm\r\n\xEF\xBB\xBF"
       "b.rm\r\n",
       {"a.rm",
        "\xEF\xBB\xBF"
        "b.rm"}}};
  for (const auto& [text, lines] : cases) EXPECT_EQ(parseRamText(text, 100).lines, lines) << text;
  const std::string five = "1\r\n2\r\n3\r\n4\r\n5\r\n";
  EXPECT_FALSE(parseRamText(five, 5).truncated);
  EXPECT_EQ(parseRamText(five, 4).lines.size(), 4u);
  EXPECT_TRUE(parseRamText(five, 4).truncated);
  EXPECT_TRUE(looksLikeText("file:/a.rm\r\n"));
  EXPECT_TRUE(looksLikeText(""));
  EXPECT_FALSE(looksLikeText(std::string(".RMF\0\0\0\x12", 8)));
}

}  // namespace
}  // namespace tunelark
