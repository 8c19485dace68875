// Files given from outside (command line, a later start, a file manager's drop): a playlist
// opens as Open opens it, clips are appended as Add appends them, the rest is named once.
#include "playlist/given_files.h"

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "core/playlist_window.h"

namespace tunelark {
namespace {

using testing::Lines;
using testing::readFile;

struct GivenCase {
  const char* what;
  Lines given;         // below the temporary folder; "many" stands for 81 clips
  Lines entries;       // "@" stands for the temporary folder
  std::string opened;  // the playlist now open, "" for none
  Lines messages;
};

void expectTaken(const GivenCase& c) {
  testing::Window w;
  auto [dir, app, host, player, form] = std::tie(w.dir, w.app, w.host, w.player, w.form);
  dir.write("one.ram", "file:/x/1.ra\r\n");
  dir.write("two.ram", "file:/x/2.ra\r\n");
  dir.write("a.ra", "clip");
  dir.write("B.RM", "clip");
  dir.write("notes.txt", "text");
  dir.write("folder/c.ra", "clip");
  dir.write("odd\rname/d.ra", "clip");
  const std::string rmf(".RMF\0\0\0\x12", 8);
  dir.write("clip.ram", rmf);
  Lines paths;
  for (const auto& name : c.given) {
    if (name != "many") paths.push_back(dir.str() + "/" + name);
    for (int i = 0; name == "many" && i < 81; ++i)
      paths.push_back(dir.write("many/" + std::to_string(i) + ".ra", "clip"));
  }
  takeGivenFiles(form, paths);

  Lines expected;
  for (const auto& line : c.entries) expected.push_back(w.at(line));
  EXPECT_EQ(w.entries(), expected);
  EXPECT_EQ(form.List1.ListCount(), app.entryCount);
  Lines messages;
  for (const auto& m : c.messages) messages.push_back(w.at(m));
  EXPECT_EQ(host.messages, messages);
  const std::string opened = c.opened.empty() ? "" : dir.str() + "/" + c.opened;
  if (!opened.empty()) {
    EXPECT_EQ(app.lastfile, opened);
    EXPECT_EQ(form.Label4.caption, "PlayList File : " + c.opened);
    EXPECT_EQ(player.calls, Lines{"source:" + opened});
  }
  // Appended clips rewrite the list's file: the opened playlist, else the working list.
  const bool added = c.entries.size() > (opened.empty() ? 0u : 1u);
  std::string file;
  for (const auto& line : expected) file += line + "\r\n";
  if (added || opened.empty()) {
    EXPECT_EQ(readFile(added && !opened.empty() ? opened : w.temp()), added ? file : "");
  }
  EXPECT_EQ(readFile(dir.str() + "/clip.ram"), rmf);
}

Lines manyEntries() {
  Lines lines;
  for (int i = 0; i < 80; ++i) lines.push_back("file:@/many/" + std::to_string(i) + ".ra");
  return lines;
}

TEST(GivenFiles, AreTakenAsOpenAndAddTakeThem) {
  const GivenCase cases[] = {
      GivenCase{"a playlist", {"one.ram"}, {"file:/x/1.ra"}, "one.ram", {}},
      GivenCase{
          "the last of two playlists", {"one.ram", "two.ram"}, {"file:/x/2.ra"}, "two.ram", {}},
      GivenCase{"clips any case", {"a.ra", "B.RM"}, {"file:@/a.ra", "file:@/B.RM"}, "", {}},
      GivenCase{"clips after the playlist",
                {"a.ra", "one.ram"},
                {"file:/x/1.ra", "file:@/a.ra"},
                "one.ram",
                {}},
      GivenCase{"81 clips", {"many"}, manyEntries(), "", {"Sorry ... Only 80 songs for one list"}},
      GivenCase{"missing folder and text named once",
                {"gone.ra", "folder", "a.ra", "notes.txt"},
                {"file:@/a.ra"},
                "",
                {"These files could not be taken:\n@/gone.ra (not found)\n@/folder (a folder)\n"
                 "@/notes.txt (neither a playlist (.ram) nor a clip (.ra, .rm))"}},
      GivenCase{
          "a clip named as a playlist, a folder with a line break",
          {"clip.ram", "odd\rname/d.ra", "a.ra"},
          {"file:@/a.ra"},
          "",
          {"A clip whose path holds a line break cannot go into a playlist:\n@/odd\rname/d.ra",
           "These files could not be taken:\n@/clip.ram (a clip or another binary file, "
           "not a playlist)"}}};
  for (const GivenCase& c : cases) {
    SCOPED_TRACE(c.what);
    expectTaken(c);
  }
}

TEST(CommandLine, HelpAndVersionFirstThenFilesAfterDashDash) {
  EXPECT_EQ(informationRequested({"x.ra", "--version", "--help"}), "Tunelark 2.01\n");
  EXPECT_FALSE(informationRequested({"--", "--help"}));
  const CommandLine line = readCommandLine({"-q", "a.ra", "--", "-b.ra"});
  EXPECT_EQ(line.files, (Lines{"a.ra", "-b.ra"}));
  EXPECT_EQ(line.unknown, Lines{"-q"});
  EXPECT_EQ(absoluteGiven("../x/./a.ra", "/w/d"), "/w/x/a.ra");
}

}  // namespace
}  // namespace tunelark
