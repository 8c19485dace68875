// Which file each edit rewrites in each state of the playlist, and the files the edits must
// leave alone, byte for byte.

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/case_name.h"
#include "core/playlist_fixture.h"

namespace tunelark {
namespace {

using testing::readFile;

// The files in play: the working list T, named playlists A and B, a file F whose start-up load
// failed part-way.
enum File { T, A, B, F };

struct State {
  const char* what;
  int listmode;
  File lastfile;
  File workfile;
  bool partlyRead = false;
};

const State kStates[] = {{"untitled", 2, T, T},
                         {"named", 1, A, A},
                         {"new after open", 2, T, A},
                         {"saved as after open", 1, B, A},
                         {"failed start up load", 2, F, F, true}};

enum class Edit { Add, Drop, Remove, Up, Down, Sort, Reverse, Shuffle };

struct WriteCase {
  Edit edit;
  // The file written in each state, in the order of kStates.
  std::array<File, 5> written;
};

const WriteCase kWrites[] = {{Edit::Add, {T, A, T, B, T}},     {Edit::Drop, {T, A, T, B, T}},
                             {Edit::Remove, {T, A, A, A, T}},  {Edit::Up, {T, A, A, A, T}},
                             {Edit::Down, {T, A, A, A, T}},    {Edit::Sort, {T, A, T, B, T}},
                             {Edit::Reverse, {T, A, T, B, T}}, {Edit::Shuffle, {T, A, T, B, T}}};

class WhichFile : public testing::PlaylistFixture,
                  public ::testing::WithParamInterface<std::tuple<int, int>> {
 protected:
  std::string path(File f) const {
    return f == T ? temp() : dir.str() + "/lists/" + std::string(1, "TABF"[f]) + ".ram";
  }
};

TEST_P(WhichFile, EachEditRewritesItsFileAndNoOther) {
  const State& state = kStates[std::get<0>(GetParam())];
  const WriteCase& c = kWrites[std::get<1>(GetParam())];
  std::map<File, std::string> before;
  for (File f : {T, A, B, F})
    before[f] = dir.write(path(f).substr(dir.str().size() + 1), "old\r\n");
  form.listmode = state.listmode;
  app.lastfile = path(state.lastfile);
  form.workfile = path(state.workfile);
  if (state.partlyRead) form.partlyReadFile = path(F);
  listClips({"z.ra", "y.ra"});
  selectClips({0});
  form.File1.setListIndex(0);
  setEntries({"file:/m/b.ra", "file:/m/a.ra"});
  selectRows({1});

  switch (c.edit) {
    case Edit::Add:
      form.Image5_Click();
      break;
    case Edit::Drop:
      form.List1_DragDrop();
      break;
    case Edit::Remove:
      form.Image22_Click();
      break;
    case Edit::Up:
      form.Image31_Click();
      break;
    case Edit::Down:
      form.Image32_Click();
      break;
    case Edit::Sort:
      form.Image23_Click();
      break;
    case Edit::Reverse:
      form.Image25_Click();
      break;
    case Edit::Shuffle:
      form.Image24_Click();
      break;
  }

  const File written = c.written[static_cast<std::size_t>(std::get<0>(GetParam()))];
  std::string expected;
  for (const auto& line : entries()) expected += line + "\r\n";
  for (File f : {T, A, B, F})
    EXPECT_EQ(readFile(path(f)), f == written ? expected : "old\r\n") << "file "
                                                                      << "TABF"[f];
  EXPECT_EQ(form.listmode, state.listmode);
  EXPECT_EQ(app.lastfile, path(state.lastfile));
  const bool whole = c.edit >= Edit::Sort;
  const bool adds = c.edit <= Edit::Drop;
  // Adding to an untitled list points workfile at the working list file, the whole-list
  // edits at the file they wrote; a guarded write moves it off the partly read file.
  const bool moved = whole || (adds && state.listmode == 2) || state.partlyRead;
  EXPECT_EQ(form.workfile, path(moved ? written : state.workfile));
  EXPECT_EQ(player.calls, whole ? std::vector<std::string>{"source:" + path(written)}
                                : std::vector<std::string>{});
  EXPECT_TRUE(host.messages.empty());
}

std::string whichFileName(const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
  static const char* const kEdits[] = {"Add",  "Drop", "Remove",  "Up",
                                       "Down", "Sort", "Reverse", "Shuffle"};
  return testing::caseName(kStates[std::get<0>(info.param)].what) + kEdits[std::get<1>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Table, WhichFile,
                         ::testing::Combine(::testing::Range(0, 5), ::testing::Range(0, 8)),
                         whichFileName);

}  // namespace
}  // namespace tunelark
