// File1 on real folders: which files it lists, in what order, and its selection; and the
// file-type dialog that sets its filter, with the main window's enabled state around it. What a
// failed path keeps is seen through the tree click that sets it; the dialog's close box is driven
// through the real dialog in the Qt tests.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "app/app_state.h"
#include "browser/file_list_box.h"
#include "browser/form5.h"
#include "browser/wildcard.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// The rows of a list, joined by spaces.
std::string rows(const FileListBox& list) {
  std::string out;
  for (int i = 0; i < list.ListCount(); ++i) out += (i ? " " : "") + list.List(i);
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
  EXPECT_EQ(rows(list), "here.ra");
}

// Names that are not UTF-8 keep their bytes.
TEST(FileList, ListsMatchingRegularVisibleFilesSortedWithoutRegardToCase) {
  TempDir dir;
  for (const char* name : {"b.rm", "SONG.RA", "a.ram", "c.Rm", "notes.txt", "x.ra.bak",
                           ".hidden.ra", "list.RAM", "caf\xe9.ra"}) {
    dir.write(name, "x");
  }
  fs::create_directory(dir.path() / "folder.ra");
  fs::create_symlink(dir.path() / "b.rm", dir.path() / "link.rm");
  fs::create_symlink(dir.path() / "missing.rm", dir.path() / "dangling.rm");
  ::mkfifo((dir.path() / "pipe.ra").c_str(), 0600);
  FileListBox list;
  ASSERT_TRUE(list.setPath(dir.str()));
  EXPECT_EQ(rows(list), "a.ram b.rm c.Rm caf\xe9.ra link.rm list.RAM SONG.RA");
  list.setListIndex(3);
  EXPECT_EQ(list.FileName(), "caf\xe9.ra");
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

TEST(Wildcard, MatchesWithoutRegardToCaseAndSplitsOnSemicolons) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"*.ra", "SONG.RA", true}, {"*.ra", "song.ram", false},
      {"*.rm", "a.b.rm", true},  {"*.ra", ".ra", true},
      {"*.ra", "ra", false},     {"?.ra", "a.ra", true},
      {"?.ra", "ab.ra", false},  {"", "", true},
      {"", "a", false},          {"a*b*c", "aXbYc", true},
      {"**.ra", "x.ra", true},   {"*a", "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb", false}};
  for (const auto& [pattern, name, matches] : cases)
    EXPECT_EQ(wildcardMatch(pattern, name), matches) << pattern << " / " << name;
  EXPECT_EQ(splitPatterns(" *.rm ; ;*.ra;"), (std::vector<std::string>{"*.rm", "*.ra"}));
  EXPECT_TRUE(splitPatterns(";;").empty());
}

struct Window {
  Window() {
    for (const char* name : {"a.ra", "b.rm", "c.ram", "D.RA", "e.txt"}) dir.write(name, "x");
    EXPECT_TRUE(form.File1.setPath(dir.str()));
  }
  TempDir dir;
  AppState app;
  testing::FakeHost host;
  Form1 form{app, host};
};

TEST(FileTypes, OkAppliesTheTicksAndTheDialogReopensWithAllOn) {
  const std::tuple<int, int, int, const char*, const char*, const char*> cases[] = {
      // The .ram, .ra and .rm boxes (0 off, 1 ticked, 2 grey), the pattern, the caption's
      // types, and what File1 lists.
      {1, 1, 1, "*.ram;*.ra;*.rm", "*.ra, *.ram, *.rm", "a.ra b.rm c.ram D.RA"},
      {1, 1, 0, "*.ram;*.ra", "*.ra, *.ram", "a.ra c.ram D.RA"},
      {0, 1, 1, "*.ra;*.rm", "*.ra, *.rm", "a.ra b.rm D.RA"},
      {0, 1, 0, "*.ra", "*.ra", "a.ra D.RA"},
      {0, 0, 0, "", "None", ""},
      {2, 1, 1, "*.ra;*.rm", "*.ra, *.rm", "a.ra b.rm D.RA"},  // a grey box counts as off
      {2, 2, 2, "", "None", ""}};
  for (const auto& [ram, ra, rm, pattern, types, listed] : cases) {
    SCOPED_TRACE(pattern);
    Window w;
    w.form.Image33_Click();
    ASSERT_TRUE(w.form.form5);
    EXPECT_FALSE(w.form.Enabled);
    w.form.form5->ram.Value = ram;
    w.form.form5->ra.Value = ra;
    w.form.form5->rm.Value = rm;
    w.form.form5->Command1_Click();
    EXPECT_FALSE(w.form.form5);
    EXPECT_TRUE(w.form.Enabled);
    EXPECT_EQ(w.form.File1.Pattern(), pattern);
    EXPECT_EQ(w.form.Label5.caption, std::string("RealMedia Files (") + types + ")");
    EXPECT_EQ(rows(w.form.File1), listed);
    EXPECT_TRUE(w.host.messages.empty());
    w.form.Image33_Click();  // opened again, it offers all three types
    const Form5& d = *w.form.form5;
    EXPECT_EQ(std::tuple(d.ram.Value, d.ra.Value, d.rm.Value), std::tuple(1, 1, 1));
    w.form.Image33_Click();  // and opening it once more keeps the loaded dialog
    EXPECT_EQ(w.form.form5.get(), &d);
  }
}

TEST(FileTypes, OkOnAFolderThatVanishedEmptiesTheListQuietly) {
  Window w;
  TempDir other;
  other.write("x.ra", "x");
  ASSERT_TRUE(w.form.File1.setPath(other.str() + "/"));
  fs::remove_all(other.path());
  w.form.Image33_Click();
  w.form.form5->Command1_Click();
  EXPECT_EQ(w.form.File1.ListCount(), 0);
  EXPECT_TRUE(w.form.Enabled);
}

}  // namespace
}  // namespace tunelark
