// File1 on real folders: which files it lists, in what order, and its selection. What a failed
// path keeps is seen through the tree click that sets it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "browser/file_list_box.h"
#include "browser/wildcard.h"
#include "support/temp_dir.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::vector<std::string> rows(const FileListBox& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
  return out;
}

TEST(FileList, StartsOnTheCurrentFolderWithTheDesignPattern) {
  TempDir dir;
  dir.write("here.ra", "x");
  const auto old = fs::current_path();
  fs::current_path(dir.path());
  FileListBox list;
  fs::current_path(old);
  EXPECT_EQ(list.Path(), fs::canonical(dir.path()).string());
  EXPECT_EQ(list.Pattern(), "*.rm;*.ra;*.ram");
  EXPECT_EQ(rows(list), (std::vector<std::string>{"here.ra"}));
}

TEST(FileList, ListsMatchingRegularVisibleFilesSortedWithoutRegardToCase) {
  TempDir dir;
  for (const char* name :
       {"b.rm", "SONG.RA", "a.ram", "c.Rm", "notes.txt", "x.ra.bak", ".hidden.ra", "list.RAM"}) {
    dir.write(name, "x");
  }
  fs::create_directory(dir.path() / "folder.ra");
  fs::create_symlink(dir.path() / "b.rm", dir.path() / "link.rm");
  fs::create_symlink(dir.path() / "missing.rm", dir.path() / "dangling.rm");
  ::mkfifo((dir.path() / "pipe.ra").c_str(), 0600);
  FileListBox list;
  ASSERT_TRUE(list.setPath(dir.str()));
  EXPECT_EQ(rows(list),
            (std::vector<std::string>{"a.ram", "b.rm", "c.Rm", "link.rm", "list.RAM", "SONG.RA"}));
}

TEST(FileList, NamesThatAreNotUtf8KeepTheirBytes) {
  TempDir dir;
  const std::string latin1 = "caf\xe9.ra";
  dir.write(latin1, "x");
  FileListBox list;
  ASSERT_TRUE(list.setPath(dir.str()));
  ASSERT_EQ(list.ListCount(), 1);
  EXPECT_EQ(list.List(0), latin1);
  list.setListIndex(0);
  EXPECT_EQ(list.FileName(), latin1);
}

// Selection and the current row as the add and drop tables do not reach them.
TEST(FileList, ACurrentRowPastEitherEndIsNoneAndRefreshClearsTheSelection) {
  TempDir dir;
  for (const char* name : {"1.ra", "2.ra", "3.ra", "4.ra"}) dir.write(name, "x");
  FileListBox list;
  ASSERT_TRUE(list.setPath(dir.str()));
  EXPECT_EQ(list.FileName(), "");
  list.setSelected(3, true);
  list.setListIndex(2);
  EXPECT_EQ(list.FileName(), "3.ra");
  list.setListIndex(4);
  EXPECT_EQ(list.ListIndex(), -1);
  list.setListIndex(-2);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_TRUE(list.Refresh());
  EXPECT_EQ(list.selCount(), 0);
}

struct MatchCase {
  const char* pattern;
  const char* name;
  bool matches;
};

TEST(Wildcard, MatchesWithoutRegardToCase) {
  const std::vector<MatchCase> cases = {
      {"*.ra", "SONG.RA", true}, {"*.ra", "song.ram", false},
      {"*.rm", "a.b.rm", true},  {"*.ra", ".ra", true},
      {"*.ra", "ra", false},     {"?.ra", "a.ra", true},
      {"?.ra", "ab.ra", false},  {"", "", true},
      {"", "a", false},          {"a*b*c", "aXbYc", true},
      {"**.ra", "x.ra", true},   {"*a", "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " / " + c.name);
    EXPECT_EQ(wildcardMatch(c.pattern, c.name), c.matches);
  }
}

TEST(Wildcard, SplitsOnSemicolonsAndDropsEmptyPieces) {
  EXPECT_EQ(splitPatterns(" *.rm ; ;*.ra;"), (std::vector<std::string>{"*.rm", "*.ra"}));
  EXPECT_TRUE(splitPatterns(";;").empty());
}

}  // namespace
}  // namespace tunelark
