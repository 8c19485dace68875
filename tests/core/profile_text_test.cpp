#include "platform/profile_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>

namespace tunelark {
namespace {

struct ReadCase {
  const char* what;
  std::string text;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};

const std::string kJunk = std::string("\0\xff\xfe[Dirlagu\0]\n\x01\x02=\x03\n", 17) +
                          std::string(200000, '\xab') + "\n[\n]\n=\n==\n";

TEST(ProfileRead, FindsTheValueAWindowsProfileReadWould) {
  const ReadCase cases[] = {
      ReadCase{"plain", "[Dirlagu]\nfile=/a.ram\n", "Dirlagu", "file", "/a.ram"},
      ReadCase{"section case", "[DIRLAGU]\nfile=/a\n", "dirlagu", "file", "/a"},
      ReadCase{"key case", "[Dirlagu]\nFILE=/a\n", "Dirlagu", "File", "/a"},
      ReadCase{"names trimmed", "  [  Dirlagu\t]  \n\t file  = /a\n", " Dirlagu ", "file ", "/a"},
      ReadCase{"value trimmed", "[s]\nk= \t /a b \t \n", "s", "k", "/a b"},
      ReadCase{"CRLF line", "[s]\r\nk=v\r\n", "s", "k", "v"},
      ReadCase{"no inline comment", "[s]\na=1 ; x\n", "s", "a", "1 ; x"},
      ReadCase{"double quotes removed", "[s]\nk=\" /a \"\n", "s", "k", " /a "},
      ReadCase{"unmatched quotes kept", "[s]\nk=\"/a'\n", "s", "k", "\"/a'"},
      ReadCase{"empty value", "[s]\nk=\n", "s", "k", ""},
      ReadCase{"header to last ]", "[a]b]\nk=v\n", "a]b", "k", "v"},
      ReadCase{"text after header", "[s] ; note\nk=v\n", "s", "k", "v"},
      ReadCase{"first section wins", "[s]\nx=1\n[S]\nk=2\n", "s", "k", std::nullopt},
      ReadCase{"first key wins", "[s]\nk=1\nK=2\n", "s", "k", "1"},
      ReadCase{"key before any section", "k=1\n[s]\n", "s", "k", std::nullopt},
      ReadCase{"commented key", "[s]\n;k=1\n", "s", "k", std::nullopt},
      ReadCase{"line without =", "[s]\nk\n", "s", "k", std::nullopt},
      ReadCase{"unclosed header is no header", "[s]\n[t\nk=1\n", "s", "k", "1"},
      ReadCase{"missing section", "[Option]\ntaskbar=1\n", "Dirlagu", "file", std::nullopt},
      ReadCase{"binary junk", kJunk, "Dirlagu", "file", std::nullopt},
      ReadCase{"NUL in value kept", std::string("[s]\nk=a\0b\n", 10), "s", "k",
               std::string("a\0b", 3)}};
  for (const ReadCase& c : cases)
    EXPECT_EQ(findProfileValue(c.text, c.section, c.key), c.expected) << c.what;
}

struct WriteCase {
  const char* what;
  std::string before;
  const char* section;
  const char* key;
  std::string value;
  std::string after;
};

TEST(ProfileWrite, ChangesOnlyTheKeysLine) {
  const WriteCase cases[] = {
      WriteCase{"new file", "", "Dirlagu", "file", "/a.ram", "[Dirlagu]\nfile=/a.ram\n"},
      WriteCase{"replace value", "[Dirlagu]\nfile=/old\n", "Dirlagu", "file", "/new",
                "[Dirlagu]\nfile=/new\n"},
      WriteCase{"replace keeps the key's spelling", "; mine\n[DIRLAGU]\n  File = /old\n", "Dirlagu",
                "file", "/new", "; mine\n[DIRLAGU]\n  File = /new\n"},
      WriteCase{"replace in CRLF file", "[s]\r\nk=1\r\n[t]\r\nx=2\r\n", "s", "k", "9",
                "[s]\r\nk=9\r\n[t]\r\nx=2\r\n"},
      WriteCase{"add key after the section's last line", "[s]\na=1\n\n[t]\nb=2\n", "s", "k", "v",
                "[s]\na=1\nk=v\n\n[t]\nb=2\n"},
      WriteCase{"add key after unterminated line", "[s]\na=1", "s", "k", "v", "[s]\na=1\nk=v\n"},
      WriteCase{"add section keeps comments", "; c1\n[Option]\ntaskbar=2 ; c2\n", "Dirlagu", "file",
                "/x", "; c1\n[Option]\ntaskbar=2 ; c2\n[Dirlagu]\nfile=/x\n"},
      WriteCase{"add section to CRLF file", "[Option]\r\ntaskbar=1\r\n", "Dirlagu", "file", "/x",
                "[Option]\r\ntaskbar=1\r\n[Dirlagu]\r\nfile=/x\r\n"},
      WriteCase{"first duplicate section written", "[s]\nk=1\n[S]\nk=2\n", "s", "k", "3",
                "[s]\nk=3\n[S]\nk=2\n"},
      WriteCase{"empty value", "[s]\nk=1\n", "s", "k", "", "[s]\nk=\n"},
      WriteCase{"padded value quoted", "", "s", "k", " /a ", "[s]\nk=\" /a \"\n"},
      WriteCase{"value with ; kept", "", "s", "k", "1 ; x", "[s]\nk=1 ; x\n"}};
  for (const WriteCase& c : cases) {
    const auto written = setProfileValue(c.before, c.section, c.key, c.value);
    ASSERT_TRUE(written.has_value()) << c.what;
    EXPECT_EQ(*written, c.after) << c.what;
    EXPECT_EQ(findProfileValue(*written, c.section, c.key), c.value) << c.what;
  }
}

TEST(ProfileWrite, RefusesWhatCouldNotBeReadBackTheSame) {
  const std::tuple<const char*, const char*, std::string> cases[] = {
      {"s", "k", "/a\n[x]"}, {"s", "k", "/a\r"}, {"s", "k", std::string("/a\0b", 4)},
      {" ", "k", "v"},       {"s", "\t", "v"},   {"a]b", "k", "v"},
      {"s", "a=b", "v"},     {"s", ";k", "v"}};
  for (const auto& [section, key, value] : cases)
    EXPECT_FALSE(setProfileValue("[s]\nk=1\n", section, key, value).has_value()) << key << value;
}

TEST(ProfileWrite, KeepsEveryOtherByteOfJunk) {
  const std::string junk =
      std::string("\0\xff\r\n[\x01]\nrandom\r", 12) + std::string(5000, '\x80');
  const auto written = setProfileValue(junk, "Dirlagu", "file", "/a");
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(written->substr(0, junk.size()), junk);
  EXPECT_EQ(findProfileValue(*written, "Dirlagu", "file"), "/a");
}

}  // namespace
}  // namespace tunelark
