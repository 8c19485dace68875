// The playlist through the window's buttons: adding, the row edits, the whole-list edits, which
// file each edit rewrites, New, Open, Save and the start-up load; and the playlist text rules.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/playlist_window.h"
#include "playlist/list_file.h"
#include "playlist/list_text.h"
#include "playlist/playlist_edits.h"
#include "playlist/playlist_line.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::Lines;
using testing::readFile;
using testing::TempDir;
using testing::Window;

const char* kFull = "Sorry ... Only 80 songs for one list";

std::string fileOf(const Lines& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

// lastfile, workfile, listmode and the caption, compared in one go.
Lines stateOf(const AppState& app, const Form1& form) {
  return {app.lastfile, form.workfile, std::to_string(form.listmode), form.Label4.caption};
}

// A file dialog as it was shown; its file name and folder only for a save.
Lines dialogOf(const testing::ScriptedDialogs::Shown& shown) {
  const CommonDialog& d = shown.dialog;
  Lines out = {shown.save ? "save" : "open", d.DialogTitle, d.Filter, std::to_string(d.FilterIndex),
               std::to_string(d.Flags)};
  if (shown.save) out.insert(out.end(), {d.FileName, d.InitDir});
  return out;
}

TEST(PlaylistAdd, AppendsInRowOrderUpToEightyAndRewritesTheList) {
  // What, the entries already in the list, the File1 rows selected (of a.ra b.ra c.ra d.ra e.ra
  // f<LF>g.ra), the clips added, the messages, and -2 for the add button or else a drop with
  // this current File1 row.
  const std::string refused =
      "A clip whose path holds a line break cannot go into a playlist:\n@/clips/f\ng.ra";
  const std::tuple<const char*, int, std::vector<int>, Lines, Lines, int> cases[] = {
      {"two clips", 0, {1, 3}, {"b.ra", "d.ra"}, {}, -2},
      {"78 and five selected", 78, {0, 1, 2, 3, 4}, {"a.ra", "b.ra"}, {kFull}, -2},
      {"80 and one selected", 80, {2}, {}, {kFull}, -2},
      {"nothing selected", 3, {}, {}, {"Clip Not Selected"}, -2},
      {"a line break refused", 0, {0, 5}, {"a.ra"}, {refused}, -2},
      {"drop of the current clip", 2, {0}, {"b.ra"}, {}, 1},
      {"drop on a full list", 80, {0}, {}, {kFull}, 1},
      {"drop with no current file", 0, {0}, {}, {"Clip Not Selected"}, -1}};
  for (const auto& [what, before, selected, added, messages, drop] : cases) {
    SCOPED_TRACE(what);
    Window w;
    w.listClips({"c.ra", "a.ra", "e.ra", "b.ra", "d.ra", "f\ng.ra"}, selected);
    Lines expected;
    for (int i = 0; i < before; ++i) expected.push_back("file:/old/" + std::to_string(i));
    w.setEntries(expected);
    if (drop != -2) {
      w.form.File1.setListIndex(drop);
      w.form.List1_DragDrop();  // adds the current clip, not the selection
    } else {
      w.form.Image5_Click();
    }
    for (const auto& name : added) expected.push_back("file:" + w.form.File1.Path() + "/" + name);
    EXPECT_EQ(w.entries(), expected);
    ASSERT_EQ(w.form.List1.ListCount(), w.app.entryCount);
    for (std::size_t i = 0; i < added.size(); ++i)
      EXPECT_EQ(w.form.List1.List(before + static_cast<int>(i)),
                std::to_string(before + static_cast<int>(i) + 1) + ". " + added[i]);
    Lines shown;
    for (const auto& m : messages) shown.push_back(w.at(m));
    EXPECT_EQ(w.host.messages, shown);
    EXPECT_EQ(w.form.File1.selectedRows(), selected);  // the selection is left as it was
    if (drop != -2) continue;
    EXPECT_EQ(w.form.selCount, static_cast<int>(selected.size()));
    EXPECT_EQ(readFile(w.temp()), fileOf(expected));  // rewritten whatever happened
  }
}

TEST(PlaylistEdit, RowEditsSetEntriesRowsSelectionAndFile) {
  const auto remove = &Form1::Image22_Click, up = &Form1::Image31_Click,
             down = &Form1::Image32_Click;
  // The edit, the entries before (one letter each), the rows selected, and after.
  const std::tuple<void (Form1::*)(), std::string, std::vector<int>, std::string, std::vector<int>>
      cases[] = {{remove, "ABCDE", {1, 3}, "ACE", {}},
                 {remove, "ABC", {0, 1, 2}, "", {}},
                 {remove, "AB", {}, "AB", {}},
                 {up, "ABC", {0, 1, 2}, "BCA", {0, 1}},
                 {up, "ABCDEFG", {2, 5}, "ACBDFEG", {1, 2, 4}},
                 {up, "ABC", {0}, "ABC", {0}},
                 {up, "AB", {}, "AB", {}},
                 {down, "ABC", {0, 1, 2}, "CAB", {1, 2}},
                 {down, "ABCDEFG", {2, 5}, "ABDCEGF", {5, 6}},
                 {down, "ABCD", {1}, "ACBD", {2}},
                 {down, "AB", {}, "AB", {}}};
  const auto lines = [](const std::string& letters) {
    Lines out;
    for (const char letter : letters) out.push_back(std::string(1, letter));
    return out;
  };
  for (const auto& [edit, before, selected, after, selectedAfter] : cases) {
    SCOPED_TRACE(::testing::Message() << before << " to " << after);
    Window w;
    w.setEntries(lines(before), selected);
    (w.form.*edit)();
    EXPECT_EQ(w.entries(), lines(after));
    ASSERT_EQ(w.form.List1.ListCount(), static_cast<int>(after.size()));
    EXPECT_EQ(w.form.List1.selectedRows(), selectedAfter);
    for (int i = 0; i < w.form.List1.ListCount(); ++i)
      EXPECT_EQ(w.form.List1.List(i), std::to_string(i + 1) + ". ");
    EXPECT_EQ(w.form.selCount, static_cast<int>(selected.size()));
    const bool none = selected.empty();  // nothing changes and nothing is written
    EXPECT_EQ(fs::exists(w.temp()), !none);
    EXPECT_EQ(readFile(w.temp()), none ? "" : fileOf(lines(after)));
    EXPECT_EQ(w.host.messages, none && edit == remove ? Lines{"Clip Not Selected"} : Lines{});
  }
}

AppState appWith(const Lines& lines) {
  AppState app;
  for (const auto& l : lines) appendEntry(app, l);
  return app;
}

TEST(PlaylistEdit, SortIsByteOrderAndShuffleAFairPermutationNewAtEveryRun) {
  const std::tuple<bool, Lines, Lines> cases[] = {
      {false, {"file:c/m/a.ra", "file:C/M/b.ra"}, {"file:C/M/b.ra", "file:c/m/a.ra"}},
      {false, {"file:/ab", "file:/a"}, {"file:/a", "file:/ab"}},
      {false, {"\xe9", "z"}, {"z", "\xe9"}},
      {true, {"A", "C", "B"}, {"C", "B", "A"}}};
  for (const auto& [descending, before, after] : cases) {
    AppState app = appWith(before);
    sortEntries(app, descending);
    EXPECT_EQ(Lines(app.entries.begin(), app.entries.begin() + app.entryCount), after);
  }
  Window w;
  w.form.mnurandom();  // even an empty list is written and handed over
  EXPECT_TRUE(fs::exists(w.temp()));
  EXPECT_EQ(w.player.calls, (Lines{"source:" + w.temp()}));
  Lines before;
  for (int i = 0; i < 40; ++i) before.push_back("file:/c" + std::to_string(i));
  w.setEntries(before);
  w.form.mnurandom();
  const Lines once = w.entries();
  EXPECT_NE(once, before);
  EXPECT_TRUE(std::is_permutation(once.begin(), once.end(), before.begin()));
  w.setEntries(before);
  w.form.mnurandom();
  EXPECT_NE(w.entries(), once);
  std::mt19937_64 random(11);  // two entries exchange about half the time, never from an empty one
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

// The files in play: the working list T, named playlists A and B, a file F whose load failed.
// Each edit rewrites one of them in each state and leaves the others alone; after a failed load
// every edit goes to the working list, which then becomes the current playlist.
TEST(PlaylistEdit, EachEditRewritesItsFileAndNoOther) {
  // Each state: its listmode, and the files that lastfile and workfile name.
  const std::tuple<const char*, int, const char*> states[] = {{"untitled", 2, "TT"},
                                                              {"named", 1, "AA"},
                                                              {"new after open", 2, "TA"},
                                                              {"failed start up load", 2, "FF"},
                                                              {"open failed part-way", 1, "FF"}};
  // Each edit, and the file it writes in each state above.
  const std::pair<void (Form1::*)(), const char*> edits[] = {
      {&Form1::Image5_Click, "TATTT"},  {&Form1::List1_DragDrop, "TATTT"},  // add, drop
      {&Form1::Image22_Click, "TAATT"}, {&Form1::Image31_Click, "TAATT"},   // remove, up
      {&Form1::Image32_Click, "TAATT"}, {&Form1::Image23_Click, "TATTT"},   // down, sort
      {&Form1::Image25_Click, "TATTT"}, {&Form1::Image24_Click, "TATTT"}};  // reverse, shuffle
  for (int s = 0; s < 5; ++s) {
    for (int e = 0; e < 8; ++e) {
      const auto& [what, listmode, names] = states[s];
      SCOPED_TRACE(::testing::Message() << what << ", edit " << e);
      Window w;
      const auto path = [&](char f) {
        return f == 'T' ? w.temp() : w.dir.str() + "/" + f + ".ram";
      };
      for (const char f : std::string("TABF"))
        w.dir.write(path(f).substr(w.dir.str().size() + 1), "old\r\n");
      w.form.listmode = listmode;
      w.app.lastfile = path(names[0]);
      w.form.workfile = path(names[1]);
      const bool failed = names[0] == 'F';
      if (failed) w.form.failedLoadFile = path('F');
      w.listClips({"z.ra", "y.ra"}, {0});
      w.form.File1.setListIndex(0);
      w.setEntries({"file:/m/b.ra", "file:/m/a.ra"}, {1});
      (w.form.*edits[e].first)();
      const char written = edits[e].second[s];
      for (const char f : std::string("TABF"))
        EXPECT_EQ(readFile(path(f)), f == written ? fileOf(w.entries()) : "old\r\n") << f;
      const bool whole = e >= 5, adds = e <= 1;
      // Adding to an untitled list points workfile at the working list file, the whole-list
      // edits at the file they wrote.
      const bool moved = whole || (adds && listmode == 2) || failed;
      EXPECT_EQ(stateOf(w.app, w.form),
                (failed ? Lines{w.temp(), w.temp(), "2", kUntitledUnsaved}
                        : Lines{path(names[0]), path(moved ? written : names[1]),
                                std::to_string(listmode), w.form.Label4.caption}));
      EXPECT_EQ(w.form.failedLoadFile, "");
      EXPECT_EQ(w.player.calls, whole ? Lines{"source:" + path(written)} : Lines{});
      EXPECT_TRUE(w.host.messages.empty());
    }
  }
}

// The same files chosen in the Open dialog and remembered at start-up. A line ends only at CR
// (an LF after it belongs to the end); Open skips lines of one space, the start-up load does not.
// A file that is no playlist (a clip, anything with a NUL) is never taken as one.
TEST(PlaylistLoad, OpenAndStartUpLoadTheFileOrChangeNothing) {
  const auto numbered = [](int n, const char* end) {
    std::string text;
    for (int i = 1; i <= n; ++i) text += "file:/c" + std::to_string(i) + ".ra" + end;
    return text;
  };
  struct Case {
    const char* what;
    std::string contents;  // of l.ram; or <missing>, <folder>, <fifo>, or a device's path
    int opened;            // entries after Open; -1: refused and nothing changes
    int started;           // entries after the start-up load; -1: nothing read
    bool whole = true;     // the entries read are the whole file
  };
  const std::string binary = "file:/a.ra\r\n" + std::string(1, '\0') + "\r\n";
  const Case cases[] = {
      {"empty file", "", 0, 0},
      {"single spaces", " \r\n  \r\n \r\n", 1, 3},
      {"CR only", numbered(5, "\r") + "file:/unended.ra", 6, 6},
      {"blank lines", "\r\n\r\nfile:/a.ra\r\n", 3, 3},
      {"85 lines", numbered(85, "\r\n"), 80, 80},
      {"LF only", numbered(5, "\n"), 1, 1},
      {"exactly 100000 bytes", std::string(99998, 'x') + "\r\n", 1, 1},
      {"one byte more", std::string(99999, 'x') + "\r\n", -1, 1},
      {"over 16 MiB", numbered(85, "\r\n") + std::string(17 << 20, 'x'), -1, 80, false},
      {"a RealMedia clip", ".RMF" + numbered(2, "\r\n"), -1, -1},
      {"a RealAudio clip", ".ra\xFD" + numbered(2, "\r\n"), -1, -1},
      {"a NUL byte", binary, -1, -1},
      {"a read error", "/proc/self/mem", 0, 0, false},
      {"missing", "<missing>", -1, -1},
      {"a folder", "<folder>", -1, -1},
      {"a FIFO", "<fifo>", -1, -1},
      {"a device", "/dev/zero", -1, -1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Window w;
    std::string chosen = w.dir.str() + "/l.ram";
    if (c.contents == "<folder>") {
      fs::create_directories(chosen);
    } else if (c.contents == "<fifo>") {
      ASSERT_EQ(::mkfifo(chosen.c_str(), 0600), 0);
    } else if (c.contents.starts_with("/")) {
      chosen = c.contents;
    } else if (c.contents != "<missing>") {
      w.dir.write("l.ram", c.contents);
    }
    const std::string name = fs::path(chosen).filename().string();
    const bool text = isPlaylistText(c.contents);
    const std::string before = fs::is_regular_file(chosen) ? readFile(chosen) : "";
    w.setEntries({"file:/before.ra"});
    w.app.lastfile = w.temp();
    w.dialogs.answers.push_back(chosen);
    w.form.Image10_Click();  // a refused open names temp.ram, which does not exist
    EXPECT_EQ(dialogOf(w.dialogs.shown.at(0)),
              (Lines{"open", "Open Playlist",
                     "Tunelark (*.ram)|*.ram|RealMedia Files (*.ra,*.rm)|*.ra;*.rm", "1", "4"}));
    EXPECT_TRUE(w.form.Image10.visible && !w.form.Image11.visible);
    const bool opened = c.opened >= 0;
    EXPECT_EQ(w.entries().size(), opened ? c.opened : 1u);
    EXPECT_EQ(w.form.List1.ListCount(), opened ? c.opened : 1);
    // Failing while reading keeps the list mode and leaves the player alone.
    EXPECT_EQ(stateOf(w.app, w.form),
              (opened ? Lines{chosen, chosen, c.whole ? "1" : "2", "PlayList File : " + name}
                      : Lines{w.temp(), w.temp(), "2", "PlayList File : "}));
    EXPECT_EQ(w.player.calls, opened && c.whole ? Lines{"source:" + chosen} : Lines{});
    EXPECT_EQ(w.form.failedLoadFile, opened && !c.whole ? chosen : "");
    EXPECT_EQ(w.host.messages,
              text ? Lines{}
                   : Lines{"This file is a clip or another binary file, not a playlist, so it "
                           "was not opened:\n" +
                           chosen});
    EXPECT_EQ(fs::is_regular_file(chosen) ? readFile(chosen) : "", before);  // never written

    // Started on it, a failed load leaves the path for the next start, guards the file and
    // plays only what is on screen.
    w.dir.write("win/tunelark.ini", "[Dirlagu]\r\nfile=" + chosen + "\r\n");
    AppState app;
    testing::FakeHost host;
    Form1 started{app, host};
    started.Form_Load();
    const bool loaded = c.started >= 0 && c.whole;
    EXPECT_EQ(app.entryCount, std::max(c.started, 0));
    EXPECT_EQ(started.List1.ListCount(), std::max(c.started, 0));
    EXPECT_EQ(stateOf(app, started),
              (Lines{chosen, chosen, loaded ? "1" : "2", loaded ? "PlayList File : l.ram" : ""}));
    EXPECT_EQ(started.failedLoadFile, loaded ? "" : chosen);
    EXPECT_EQ(started.RealAudio1.source(), loaded ? chosen : "");
    started.Image9_Click();
    EXPECT_EQ(started.RealAudio1.source(), loaded || c.started > 0 ? chosen : "");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.beeps, 0);
  }
}

// Rows name the ordinary visible files that a line's path (after its first five characters)
// names; the lines themselves are kept verbatim, and a sort names the rows anew.
TEST(PlaylistLoad, RowsNameTheFilesFoundAndLinesStayVerbatim) {
  Window w;
  const std::string clip = w.dir.write("m/Song.ra", "x");
  w.dir.write("m/.hidden.ra", "x");
  fs::create_directories(w.dir.path() / "m" / "folder.ra");
  const std::string m = "file:" + w.dir.str() + "/m/";
  w.dialogs.answers.push_back(
      w.dir.write("l.ram", fileOf({"file:" + clip, m + ".hidden.ra", m + "folder.ra",
                                   "file:/gone.ra", "http:" + clip, "file:"})));
  w.form.Image10_Click();
  EXPECT_EQ(w.rows(), (Lines{"1. Song.ra", "2. ", "3. ", "4. ", "5. Song.ra", "6. "}));
  EXPECT_EQ(w.entries()[4], "http:" + clip);
  w.form.Image23_Click();
  EXPECT_EQ(w.rows(), (Lines{"1. ", "2. ", "3. ", "4. Song.ra", "5. ", "6. Song.ra"}));
}

// New empties the list and leaves the files and workfile alone. Save writes the name as typed,
// every entry, and overwrites a playlist without asking (the whole-list edits leave out empty
// entries), but never a clip. A completed save makes the saved file the playlist's own; a
// cancelled or failed one changes nothing, and a failure says so once.
TEST(PlaylistFiles, NewEmptiesTheListAndSaveWritesItOrKeepsEverythingWhenItCannot) {
  Window w;
  const std::string opened = w.dir.write("a.ram", "file:/x.ra\r\nfile:/y.ra\r\n");
  const std::string mylist = w.dir.str() + "/mylist";
  const std::string existing = w.dir.write("old.ram", "old contents\r\n");
  const std::string rmf(".RMF\0\0\0\x12", 8);
  const std::string clip = w.dir.write("song.rm", rmf);
  w.dialogs.answers = {opened, std::nullopt, w.dir.str() + "/no/such/x.ram",
                       clip,   mylist,       existing};
  w.form.Image10_Click();
  w.form.Image26_Click();  // New
  EXPECT_EQ(w.rows(), Lines{});
  const Lines unsaved = {w.temp(), opened, "2", kUntitledUnsaved};
  EXPECT_EQ(stateOf(w.app, w.form), unsaved);
  EXPECT_EQ(readFile(opened), "file:/x.ra\r\nfile:/y.ra\r\n");
  w.setEntries({"file:/b.ra", "", "file:/a.ra"}, {0});
  w.form.Image28_Click();
  EXPECT_TRUE(w.host.messages.empty());
  w.form.Image28_Click();
  ASSERT_EQ(w.host.messages.size(), 1u);
  EXPECT_FALSE(w.host.messages[0].starts_with("(busy)"));  // the pointer is back first
  w.form.Image28_Click();
  EXPECT_EQ(w.host.messages.at(1),
            "This file is a clip or another binary file, not a playlist, so it was not written "
            "over:\n" +
                clip);
  EXPECT_EQ(readFile(clip), rmf);
  EXPECT_EQ(stateOf(w.app, w.form), unsaved);
  w.form.Image28_Click();
  EXPECT_EQ(readFile(mylist), "file:/b.ra\r\n\r\nfile:/a.ra\r\n");
  EXPECT_EQ(stateOf(w.app, w.form), (Lines{mylist, mylist, "1", "PlayList File : mylist"}));
  EXPECT_EQ(w.host.busyCalls, (std::vector<bool>{true, false, true, false}));
  w.form.Image22_Click();  // edits now go to the saved file, not the working list
  EXPECT_EQ(readFile(mylist), "file:/a.ra\r\n");  // empty entries left out
  EXPECT_FALSE(fs::exists(w.temp()));
  w.form.Image26_Click();  // an empty list saves as an empty file
  w.form.Image28_Click();
  EXPECT_EQ(readFile(existing), "");
  w.form.Image26_Click();
  w.form.Image10_Click();  // no answer: cancelled, right after New; temp.ram is not there
  EXPECT_EQ(w.form.Label4.caption, "PlayList File : ");
  EXPECT_EQ(clipLine("/", "song.ra"), "file://song.ra");  // no separator is folded
  // Named Untitled whatever the list is called, in the folder of the last choice.
  EXPECT_EQ(dialogOf(w.dialogs.shown[5]),
            (Lines{"save", "Save As", "Tunelark (*.ram)|*.ram|RealMedia Files (*.ra)|*.ra", "1",
                   "4", "Untitled", w.dir.str()}));
}

}  // namespace
}  // namespace tunelark
