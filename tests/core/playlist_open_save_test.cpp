// New, Open and Save: the dialogs as the window sets them up, what each outcome does to the
// playlist, its caption and its files, and failed writes that must lose nothing.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/case_name.h"
#include "core/playlist_fixture.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using Lines = std::vector<std::string>;

std::string numbered(int n, const char* end = "\r\n") {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "file:/c" + std::to_string(i) + ".ra" + end;
  return text;
}

struct OpenCase {
  const char* what;
  std::optional<std::string> contents;  // nothing: the chosen name does not exist
  int entries;                          // -1: the open is refused and nothing changes
};

class Open : public testing::PlaylistFixture, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(Open, LoadsTheFileOrChangesNothing) {
  const OpenCase& c = GetParam();
  setEntries({"file:/before.ra"});
  app.lastfile = temp();
  const std::string chosen = dir.str() + "/lists/chosen.ram";
  if (c.contents) dir.write("lists/chosen.ram", *c.contents);
  dialogs.answers.push_back(chosen);

  form.Image10_Click();

  ASSERT_EQ(dialogs.shown.size(), 1u);
  const CommonDialog& shown = dialogs.shown[0].dialog;
  EXPECT_FALSE(dialogs.shown[0].save);
  EXPECT_EQ(shown.DialogTitle, "Open Playlist");
  EXPECT_EQ(shown.Filter, "Tunelark (*.ram)|*.ram|RealMedia Files (*.ra,*.rm)|*.ra;*.rm");
  EXPECT_EQ(shown.FilterIndex, 1);
  EXPECT_EQ(shown.Flags, 4);
  EXPECT_TRUE(form.Image10.visible);
  EXPECT_FALSE(form.Image11.visible);
  if (c.entries < 0) {
    EXPECT_EQ(entries(), Lines{"file:/before.ra"});
    EXPECT_EQ(app.lastfile, temp());
    EXPECT_EQ(form.listmode, 2);
    EXPECT_TRUE(player.calls.empty());
    EXPECT_EQ(form.Label4.caption, "PlayList File : ");  // temp.ram does not exist
    return;
  }
  EXPECT_EQ(app.entryCount, c.entries);
  EXPECT_EQ(form.List1.ListCount(), c.entries);
  EXPECT_EQ(app.lastfile, chosen);
  EXPECT_EQ(form.workfile, chosen);
  EXPECT_EQ(form.listmode, 1);
  EXPECT_EQ(player.calls, Lines{"source:" + chosen});
  EXPECT_EQ(form.Label4.caption, "PlayList File : chosen.ram");
  EXPECT_EQ(readFile(chosen), *c.contents);  // opening writes nothing
}

INSTANTIATE_TEST_SUITE_P(
    Table, Open,
    ::testing::Values(OpenCase{"empty file", "", 0},
                      OpenCase{"only single spaces", " \r\n \r\n", 0},
                      OpenCase{"blank lines are entries", "\r\n\r\nfile:/a.ra\r\n", 3},
                      OpenCase{"85 lines", numbered(85), 80},
                      OpenCase{"LF only", numbered(5, "\n"), 1},
                      OpenCase{"exactly 100000 bytes", std::string(99998, 'x') + "\r\n", 1},
                      OpenCase{"one byte more", std::string(99999, 'x') + "\r\n", -1},
                      OpenCase{"missing", std::nullopt, -1}),
    [](const auto& row) { return testing::caseName(row.param.what); });

class PlaylistFiles : public testing::PlaylistFixture {};

TEST_F(PlaylistFiles, OpenRowsNameTheFilesFoundAndKeepLinesVerbatim) {
  const std::string clip = dir.write("m/Song.ra", "x");
  dir.write("m/.hidden.ra", "x");
  fs::create_directories(dir.path() / "m" / "folder.ra");
  const std::string text = "file:" + clip + "\r\nfile:" + dir.str() + "/m/.hidden.ra\r\n" +
                           "file:" + dir.str() + "/m/folder.ra\r\nfile:/gone.ra\r\nhttp:" + clip +
                           "\r\nfile:\r\n";
  dialogs.answers.push_back(dir.write("l.ram", text));
  form.Image10_Click();
  EXPECT_EQ(rows(), (Lines{"1. Song.ra", "2. ", "3. ", "4. ", "5. Song.ra", "6. "}));
  EXPECT_EQ(entries()[4], "http:" + clip);
}

TEST_F(PlaylistFiles, OpenOfWhatIsNoOrdinaryFileChangesNothingAndNeverBlocks) {
  const std::string fifo = dir.str() + "/pipe.ram";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directories(dir.path() / "folder.ram");
  for (const std::string& chosen : {fifo, dir.str() + "/folder.ram", std::string("/dev/zero")}) {
    dialogs.answers.push_back(chosen);
    form.Image10_Click();
    EXPECT_EQ(app.lastfile, temp()) << chosen;
    EXPECT_EQ(form.listmode, 2) << chosen;
  }
}

TEST_F(PlaylistFiles, CancelledOpenAfterNewNamesTheWorkingListFile) {
  form.Image26_Click();
  EXPECT_EQ(form.Label4.caption, "PlayList File : Untitled.ram (Not Save)");
  dir.write("win/temp.ram", "");
  form.Image10_Click();  // no answer: cancelled
  EXPECT_EQ(form.Label4.caption, "PlayList File : temp.ram");
  EXPECT_TRUE(player.calls.empty());
}

TEST_F(PlaylistFiles, NewEmptiesTheListAndLeavesFilesAndWorkfileAlone) {
  const std::string opened = dir.write("a.ram", "file:/x.ra\r\nfile:/y.ra\r\n");
  dialogs.answers.push_back(opened);
  form.Image10_Click();
  form.Image26_Click();
  EXPECT_EQ(app.entryCount, 0);
  EXPECT_EQ(form.List1.ListCount(), 0);
  EXPECT_EQ(app.entries[1], "");
  EXPECT_EQ(form.listmode, 2);
  EXPECT_EQ(app.lastfile, temp());
  EXPECT_EQ(form.workfile, opened);
  EXPECT_EQ(readFile(opened), "file:/x.ra\r\nfile:/y.ra\r\n");
  EXPECT_FALSE(fs::exists(temp()));
}

TEST_F(PlaylistFiles, SaveWritesTheNameAsTypedAndOverwritesWithoutAsking) {
  setEntries({"file:/b.ra", "", "file:/a.ra"});
  const std::string mylist = dir.str() + "/mylist";
  const std::string existing = dir.write("old.ram", "old contents\r\n");
  dialogs.answers = {mylist, existing};
  form.Image28_Click();
  EXPECT_EQ(readFile(mylist), "file:/b.ra\r\n\r\nfile:/a.ra\r\n");
  EXPECT_EQ(form.Label4.caption, "PlayList File : mylist");
  EXPECT_EQ(app.lastfile, mylist);
  EXPECT_EQ(form.listmode, 2);
  EXPECT_EQ(form.workfile, temp());
  EXPECT_EQ(host.busyCalls, (std::vector<bool>{true, false}));

  form.Image28_Click();
  EXPECT_EQ(readFile(existing), "file:/b.ra\r\n\r\nfile:/a.ra\r\n");
  const CommonDialog& second = dialogs.shown[1].dialog;
  EXPECT_TRUE(dialogs.shown[1].save);
  EXPECT_EQ(second.DialogTitle, "Save As");
  EXPECT_EQ(second.Filter, "Tunelark (*.ram)|*.ram|RealMedia Files (*.ra)|*.ra");
  EXPECT_EQ(second.FilterIndex, 1);
  EXPECT_EQ(second.FileName, "Untitled");  // always, whatever the list is called
  EXPECT_EQ(second.InitDir, dir.str());    // where the last choice was made
}

// A cancelled or failed save keeps the caption and lastfile, and says so once when it failed.
TEST_F(PlaylistFiles, ACancelledOrFailedSaveKeepsTheCaptionAndAnEmptyListSavesEmpty) {
  form.Image28_Click();  // cancelled
  EXPECT_TRUE(host.messages.empty());
  const std::string empty = dir.str() + "/empty.ram";
  dialogs.answers = {dir.str() + "/no/such/folder/x.ram", empty};
  form.Image28_Click();
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(app.lastfile, temp());
  EXPECT_EQ(form.Label4.caption, "PlayList File : Untitled.ram");
  form.Image28_Click();
  EXPECT_TRUE(fs::exists(empty));
  EXPECT_EQ(fs::file_size(empty), 0u);
}

TEST_F(PlaylistFiles, AFailedEditWriteIsShownAndTheEditKept) {
  const std::string list = dir.write("list.ram", "file:/b.ra\r\nfile:/a.ra\r\n");
  dialogs.answers.push_back(list);
  form.Image10_Click();
  fs::permissions(list, fs::perms::owner_read);
  form.Image23_Click();
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(readFile(list), "file:/b.ra\r\nfile:/a.ra\r\n");
  EXPECT_EQ(entries()[0], "file:/a.ra");  // the sort happened in memory
}

}  // namespace
}  // namespace tunelark
