// Removing, moving, sorting and shuffling through the window's buttons: the entries, the rows,
// the selection left behind, and the file rewritten.

#include "playlist/playlist_edits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/case_name.h"
#include "core/playlist_fixture.h"

namespace tunelark {
namespace {

using testing::readFile;
using Lines = std::vector<std::string>;

Lines letters(int n) {
  Lines out;
  for (int i = 0; i < n; ++i) out.push_back(std::string(1, static_cast<char>('A' + i)));
  return out;
}

std::string fileOf(const Lines& lines) {
  std::string text;
  for (const auto& l : lines)
    if (!l.empty()) text += l + "\r\n";
  return text;
}

struct EditCase {
  const char* what;
  void (Form1::*edit)();
  int size;
  std::vector<int> selected;
  Lines after;
  std::vector<int> selectedAfter;
};

class RowEdits : public testing::PlaylistFixture, public ::testing::WithParamInterface<EditCase> {};

TEST_P(RowEdits, EntriesRowsSelectionAndFile) {
  const EditCase& c = GetParam();
  setEntries(letters(c.size));
  selectRows(c.selected);
  (form.*c.edit)();
  EXPECT_EQ(entries(), c.after);
  ASSERT_EQ(form.List1.ListCount(), static_cast<int>(c.after.size()));
  EXPECT_EQ(form.List1.selectedRows(), c.selectedAfter);
  for (int i = 0; i < form.List1.ListCount(); ++i)
    EXPECT_EQ(form.List1.List(i), std::to_string(i + 1) + ". ");
  EXPECT_EQ(readFile(temp()), fileOf(c.after));
  EXPECT_EQ(form.selCount, static_cast<int>(c.selected.size()));
  EXPECT_TRUE(host.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RowEdits,
    ::testing::Values(
        EditCase{"remove 1 and 3", &Form1::Image22_Click, 5, {1, 3}, {"A", "C", "E"}, {}},
        EditCase{"remove all", &Form1::Image22_Click, 3, {0, 1, 2}, {}, {}},
        EditCase{"up 0 1 2", &Form1::Image31_Click, 3, {0, 1, 2}, {"B", "C", "A"}, {0, 1}},
        EditCase{"up 2 and 5",
                 &Form1::Image31_Click,
                 7,
                 {2, 5},
                 {"A", "C", "B", "D", "F", "E", "G"},
                 {1, 2, 4}},
        EditCase{"up top row alone", &Form1::Image31_Click, 3, {0}, {"A", "B", "C"}, {0}},
        EditCase{"down last three", &Form1::Image32_Click, 3, {0, 1, 2}, {"C", "A", "B"}, {1, 2}},
        EditCase{"down 2 and 5",
                 &Form1::Image32_Click,
                 7,
                 {2, 5},
                 {"A", "B", "D", "C", "E", "G", "F"},
                 {5, 6}},
        EditCase{"down one row", &Form1::Image32_Click, 4, {1}, {"A", "C", "B", "D"}, {2}}),
    [](const auto& row) { return testing::caseName(row.param.what); });

class RemoveFromFull : public testing::PlaylistFixture {};
TEST_F(RemoveFromFull, LeavesSeventyNineDistinctLines) {
  Lines full;
  for (int i = 0; i < 80; ++i) full.push_back(std::string(1, static_cast<char>(' ' + 1 + i)));
  setEntries(full);
  selectRows({40});
  form.Image22_Click();
  const auto left = entries();
  EXPECT_EQ(left.size(), 79u);
  EXPECT_EQ(std::set<std::string>(left.begin(), left.end()).size(), 79u);
}

class NothingSelected : public testing::PlaylistFixture,
                        public ::testing::WithParamInterface<std::pair<void (Form1::*)(), int>> {};

TEST_P(NothingSelected, ChangesAndWritesNothing) {
  setEntries({"A", "B"});
  (form.*GetParam().first)();
  EXPECT_EQ(entries(), (Lines{"A", "B"}));
  EXPECT_FALSE(std::filesystem::exists(temp()));
  EXPECT_EQ(host.messages.size(), static_cast<std::size_t>(GetParam().second));
  if (GetParam().second) {
    EXPECT_EQ(host.messages[0], "Clip Not Selected");
  }
}

INSTANTIATE_TEST_SUITE_P(Buttons, NothingSelected,
                         ::testing::Values(std::pair{&Form1::Image22_Click, 1},
                                           std::pair{&Form1::Image31_Click, 0},
                                           std::pair{&Form1::Image32_Click, 0}));

Lines entriesOf(const AppState& app) {
  return Lines(app.entries.begin(), app.entries.begin() + app.entryCount);
}

AppState appWith(const Lines& lines) {
  AppState app;
  for (const auto& l : lines) appendEntry(app, l);
  return app;
}

TEST(Sort, ByteOrderStableAndDescending) {
  const std::tuple<bool, Lines, Lines> cases[] = {
      {false, {"file:/b.ra", "file:/a.ra"}, {"file:/a.ra", "file:/b.ra"}},
      {false, {"file:c/m/a.ra", "file:C/M/b.ra"}, {"file:C/M/b.ra", "file:c/m/a.ra"}},
      {false, {"file:/ab", "file:/a"}, {"file:/a", "file:/ab"}},
      {false, {"\xe9", "z"}, {"z", "\xe9"}},
      {true, {"A", "C", "B"}, {"C", "B", "A"}},
      {false, {"B", "A", "B", "A"}, {"A", "A", "B", "B"}},
      {false, {"x"}, {"x"}}};
  for (const auto& [descending, before, after] : cases) {
    AppState app = appWith(before);
    sortEntries(app, descending);
    EXPECT_EQ(entriesOf(app), after);
  }
}

TEST(Shuffle, IsAPermutationThatTheSeedDecides) {
  Lines before;
  for (int i = 0; i < 40; ++i) before.push_back("file:/c" + std::to_string(i));
  const auto shuffled = [&](unsigned seed) {
    AppState app = appWith(before);
    std::mt19937_64 random(seed);
    shuffleEntries(app, random);
    return entriesOf(app);
  };
  const Lines once = shuffled(7);
  EXPECT_NE(once, before);
  EXPECT_TRUE(std::is_permutation(once.begin(), once.end(), before.begin()));
  EXPECT_EQ(shuffled(7), once);
  EXPECT_NE(shuffled(8), once);
}

// Two entries exchange about half the time, unless the first is empty: then never.
TEST(Shuffle, TwoEntriesExchangeAboutHalfTheTimeButNeverFromAnEmptyFirst) {
  std::mt19937_64 random(11);
  AppState one = appWith({"x"});
  shuffleEntries(one, random);
  EXPECT_EQ(one.entries[0], "x");
  int exchanged = 0;
  for (int run = 0; run < 1000; ++run) {
    AppState two = appWith({"a", "b"});
    shuffleEntries(two, random);
    exchanged += two.entries[0] == "b";
    AppState blank = appWith({"", "b"});
    shuffleEntries(blank, random);
    ASSERT_EQ(blank.entries[1], "b");
  }
  EXPECT_GT(exchanged, 400);
  EXPECT_LT(exchanged, 600);
}

class WholeListEdits : public testing::PlaylistFixture {};

TEST_F(WholeListEdits, EveryRunShufflesDifferently) {
  Lines lines;
  for (int i = 0; i < 30; ++i) lines.push_back("file:/c" + std::to_string(i));
  setEntries(lines);
  form.mnurandom();
  const Lines first = entries();
  setEntries(lines);
  form.mnurandom();
  EXPECT_NE(entries(), first);
}

TEST_F(WholeListEdits, AnEmptyListIsWrittenEmptyAndHandedToThePlayer) {
  for (auto edit : {&Form1::mnusort, &Form1::mnureverse, &Form1::mnurandom}) {
    std::filesystem::remove(temp());
    player.calls.clear();
    (form.*edit)();
    EXPECT_TRUE(std::filesystem::exists(temp()));
    EXPECT_EQ(readFile(temp()), "");
    EXPECT_EQ(player.calls, (Lines{"source:" + temp()}));
  }
}

TEST_F(WholeListEdits, SortRebuildsRowsWithNamesFoundOnDisk) {
  const std::string b = dir.write("m/B.ra", "x");
  const std::string a = dir.write("m/a.ra", "x");
  setEntries({"file:" + a, "file:" + b, "file:/gone/c.ra"});
  form.Image23_Click();
  EXPECT_EQ(rows(), (Lines{"1. ", "2. B.ra", "3. a.ra"}));
  EXPECT_EQ(readFile(temp()), "file:/gone/c.ra\r\nfile:" + b + "\r\nfile:" + a + "\r\n");
}

}  // namespace
}  // namespace tunelark
