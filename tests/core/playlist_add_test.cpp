// Adding clips with the add button and by a drop from the clip list.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/case_name.h"
#include "core/playlist_fixture.h"

namespace tunelark {
namespace {

using testing::readFile;
using Lines = std::vector<std::string>;

const char* kFull = "Sorry ... Only 80 songs for one list";

struct AddCase {
  const char* what;
  int before;                 // entries already in the list
  std::vector<int> selected;  // File1 rows, of clips a.ra b.ra c.ra d.ra e.ra
  Lines added;                // the clips appended, in order
  Lines messages;
  int dropped = -2;  // the add button; else a drop with File1's current row (-1 for none)  //
                     // File1's current row for a drop from it (-1 for none)
};

class AddButton : public testing::PlaylistFixture, public ::testing::WithParamInterface<AddCase> {};

TEST_P(AddButton, AppendsInRowOrderUpToEighty) {
  const AddCase& c = GetParam();
  listClips({"c.ra", "a.ra", "e.ra", "b.ra", "d.ra"});
  Lines start;
  for (int i = 0; i < c.before; ++i) start.push_back("file:/old/" + std::to_string(i) + ".ra");
  setEntries(start);
  selectClips(c.selected);
  const bool drop = c.dropped != -2;
  if (drop) {
    form.File1.setListIndex(c.dropped);
    form.List1_DragDrop();  // adds the current clip, not the selection
  } else {
    form.Image5_Click();
  }

  Lines expected = start;
  for (const auto& name : c.added) expected.push_back("file:" + form.File1.Path() + "/" + name);
  EXPECT_EQ(entries(), expected);
  ASSERT_EQ(form.List1.ListCount(), app.entryCount);
  for (std::size_t i = 0; i < c.added.size(); ++i)
    EXPECT_EQ(form.List1.List(c.before + static_cast<int>(i)),
              std::to_string(c.before + static_cast<int>(i) + 1) + ". " + c.added[i]);
  EXPECT_EQ(host.messages, c.messages);
  EXPECT_EQ(form.File1.selectedRows(), c.selected);  // the selection is left as it was
  if (drop) return;
  EXPECT_EQ(form.selCount, static_cast<int>(c.selected.size()));
  // The list's file is rewritten whatever happened, every entry in order.
  std::string file;
  for (const auto& line : expected) file += line + "\r\n";
  EXPECT_EQ(readFile(temp()), file);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AddButton,
    ::testing::Values(AddCase{"two clips", 0, {1, 3}, {"b.ra", "d.ra"}, {}},
                      AddCase{
                          "78 and five selected", 78, {0, 1, 2, 3, 4}, {"a.ra", "b.ra"}, {kFull}},
                      AddCase{"80 and one selected", 80, {2}, {}, {kFull}},
                      AddCase{"nothing selected", 3, {}, {}, {"Clip Not Selected"}},
                      AddCase{"drop of the current clip", 2, {0}, {"b.ra"}, {}, 1},
                      AddCase{"drop on a full list", 80, {0}, {}, {kFull}, 1},
                      AddCase{"drop with no current file", 0, {0}, {}, {"Clip Not Selected"}, -1}),
    [](const auto& row) { return testing::caseName(row.param.what); });

class Adding : public testing::PlaylistFixture {};

TEST_F(Adding, TheSameClipTwiceGivesTwoEntries) {
  listClips({"a.ra"});
  selectClips({0});
  form.Image5_Click();
  form.Image5_Click();
  const std::string line = "file:" + form.File1.Path() + "/a.ra";
  EXPECT_EQ(entries(), (Lines{line, line}));
  EXPECT_EQ(rows(), (Lines{"1. a.ra", "2. a.ra"}));
}

TEST_F(Adding, AfterNewTheWorkingListFileIsWrittenNotTheOpenedOne) {
  const std::string opened = dir.write("lists/mine.ram", "file:/x.ra\r\n");
  dialogs.answers.push_back(opened);
  form.Image10_Click();
  form.Image26_Click();
  listClips({"a.ra"});
  selectClips({0});
  form.Image5_Click();
  EXPECT_EQ(rows(), (Lines{"1. a.ra"}));
  EXPECT_EQ(readFile(opened), "file:/x.ra\r\n");
  EXPECT_EQ(readFile(temp()), "file:" + form.File1.Path() + "/a.ra\r\n");
  EXPECT_EQ(form.workfile, temp());
}

TEST_F(Adding, ANameWithALineBreakIsRefusedAndNamedTheOthersAreAdded) {
  listClips({"a.ra", "b\nc.ra", "d\re.ra"});
  selectClips({0, 1, 2});
  form.Image5_Click();
  EXPECT_EQ(entries(), (Lines{"file:" + form.File1.Path() + "/a.ra"}));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_NE(host.messages[0].find("b\nc.ra"), std::string::npos);
  EXPECT_NE(host.messages[0].find("d\re.ra"), std::string::npos);
}

}  // namespace
}  // namespace tunelark
