// The settings file: the text rules of its reads and writes, the folder it lives in, and the file
// on disk as the window meets it: read at start-up for the last playlist, and rewritten by
// unload and the exit button, or left as it was with one beep when it cannot be.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>

#include "app/app_state.h"
#include "core/scoped_env.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"
#include "platform/windows_dir.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;

const std::string kStored = "[Option]\r\ntaskbar=3\r\n[Dirlagu]\r\nfile=/old.ram\r\n";

struct SettingsCase {
  const char* what;
  std::optional<std::string> ini;     // the file's bytes, "<fifo>" or "<too large>"; none: no file
  std::optional<std::string> stored;  // the playlist start-up finds
  int startBeeps;
  bool stores;  // whether unload and exit can store the last playlist
  std::string lastfile = "/home/ann/My Music/" + std::string(300, 'm') + ".ram";
};

const SettingsCase kCases[] = {
    {"no file", std::nullopt, std::nullopt, 0, true},
    {"stored path", kStored, "/old.ram", 0, true},
    {"only the Option section", "[Option]\r\ntaskbar=2\r\n", std::nullopt, 0, true},
    {"an empty value beeps", "[Dirlagu]\r\nfile=\r\n", std::nullopt, 1, true},
    {"binary junk", std::string("\0\xff[Dirlagu]\x01\nfile\0=\n", 20), std::nullopt, 0, true},
    {"one huge line", std::string(3 << 20, '['), std::nullopt, 0, true},
    {"a FIFO in its place", "<fifo>", std::nullopt, 0, false},
    {"larger than any settings file", "<too large>", std::nullopt, 0, false},
    {"a NUL in the value", std::string("[Dirlagu]\nfile=/a\0.ram\n", 23), std::nullopt, 0, true},
    {"an escape in the value", "[Dirlagu]\nfile=/a\x1b.ram\n", std::nullopt, 0, true},
    {"a line break in the path", kStored, "/old.ram", 0, false, "/a\n[Option]\ntaskbar=2"}};

TEST(SettingsFile, StartUpReadsTheLastPlaylistAndUnloadOrExitStoreItOrBeepOnce) {
  for (const SettingsCase& c : kCases) {
    for (const bool exitButton : {false, true}) {
      SCOPED_TRACE(::testing::Message() << c.what << (exitButton ? ", exit button" : ", unload"));
      TempDir dir;
      const std::string folder = dir.str() + "/settings", path = folder + "/tunelark.ini";
      if (c.ini == "<fifo>") {
        fs::create_directories(folder);
        ::mkfifo(path.c_str(), 0644);
      } else if (c.ini) {
        dir.write("settings/tunelark.ini", c.ini == "<too large>" ? kStored : *c.ini);
        if (c.ini == "<too large>") fs::resize_file(path, ProfileFile::kMaxBytes + 1);
      }
      const bool regular = fs::is_regular_file(path);
      const std::string before = regular ? readFile(path) : "";
      AppState app;
      testing::FakeHost host;
      Form1 form{app, host};
      // Values a start-up must overwrite, so that each check below can fail.
      form.playershown = form.browsershown = form.listshown = 0;
      form.playstate = form.listmode = 1;
      {
        testing::ScopedEnv windir("TUNELARK_WINDIR", folder);
        form.Form_Load();
      }
      EXPECT_EQ(host.beeps, c.startBeeps);
      EXPECT_EQ(form.Label2.caption, "Tunelark 2.01");
      EXPECT_EQ(app.windowsDir, folder);
      EXPECT_EQ(app.settingsPath, path);
      EXPECT_FALSE(form.RealAudio1.autoStart());
      EXPECT_EQ(
          (std::array{form.playershown, form.browsershown, form.listshown, int{form.playstate}}),
          (std::array{1, 1, 1, 0}));
      // Without a stored playlist the window starts untitled on the working list file; a stored
      // one that is missing is kept for the next start.
      EXPECT_EQ(app.lastfile, c.stored.value_or(folder + "/temp.ram"));
      EXPECT_EQ(form.workfile, app.lastfile);
      EXPECT_EQ(form.listmode, 2);
      EXPECT_EQ(form.Label4.caption, c.stored ? "" : "PlayList File : Untitled.ram");
      EXPECT_EQ(form.RealAudio1.source(), "");
      EXPECT_EQ(regular ? readFile(path) : "", before);  // start-up never writes it

      app.lastfile = c.lastfile;
      exitButton ? form.Image21_Click() : form.Form_Unload();
      EXPECT_EQ(host.beeps, c.startBeeps + (c.stores ? 0 : 1));
      EXPECT_TRUE(host.messages.empty());
      EXPECT_EQ(host.ended, exitButton);
      // Stored, only the key's line changes; otherwise the file is as it was.
      EXPECT_EQ(fs::is_regular_file(path) ? readFile(path) : "",
                c.stores ? *setProfileValue(before, "Dirlagu", "file", c.lastfile) : before);
    }
  }
}

const std::string kJunk = std::string("\0\xff\xfe[Dirlagu\0]\n\x01\x02=\x03\n", 17) +
                          std::string(200000, '\xab') + "\n[\n]\n=\n==\n";

TEST(ProfileRead, FindsTheValueAWindowsProfileReadWould) {
  // What, the text, the section and key, and the value found.
  const std::tuple<const char*, std::string, const char*, const char*, std::optional<std::string>>
      cases[] = {
          {"plain", "[Dirlagu]\nfile=/a.ram\n", "Dirlagu", "file", "/a.ram"},
          {"section case", "[DIRLAGU]\nfile=/a\n", "dirlagu", "file", "/a"},
          {"key case", "[Dirlagu]\nFILE=/a\n", "Dirlagu", "File", "/a"},
          {"names trimmed", "  [  Dirlagu\t]  \n\t file  = /a\n", " Dirlagu ", "file ", "/a"},
          {"value trimmed", "[s]\nk= \t /a b \t \n", "s", "k", "/a b"},
          {"CRLF line", "[s]\r\nk=v\r\n", "s", "k", "v"},
          {"no inline comment", "[s]\na=1 ; x\n", "s", "a", "1 ; x"},
          {"double quotes removed", "[s]\nk=\" /a \"\n", "s", "k", " /a "},
          {"unmatched quotes kept", "[s]\nk=\"/a'\n", "s", "k", "\"/a'"},
          {"empty value", "[s]\nk=\n", "s", "k", ""},
          {"header to last ]", "[a]b]\nk=v\n", "a]b", "k", "v"},
          {"text after header", "[s] ; note\nk=v\n", "s", "k", "v"},
          {"first section wins", "[s]\nx=1\n[S]\nk=2\n", "s", "k", std::nullopt},
          {"first key wins", "[s]\nk=1\nK=2\n", "s", "k", "1"},
          {"key before any section", "k=1\n[s]\n", "s", "k", std::nullopt},
          {"commented key", "[s]\n;k=1\n", "s", "k", std::nullopt},
          {"line without =", "[s]\nk\n", "s", "k", std::nullopt},
          {"unclosed header is no header", "[s]\n[t\nk=1\n", "s", "k", "1"},
          {"missing section", "[Option]\ntaskbar=1\n", "Dirlagu", "file", std::nullopt},
          {"binary junk", kJunk, "Dirlagu", "file", std::nullopt},
          {"NUL in value kept", std::string("[s]\nk=a\0b\n", 10), "s", "k",
           std::string("a\0b", 3)}};
  for (const auto& [what, text, section, key, expected] : cases)
    EXPECT_EQ(findProfileValue(text, section, key), expected) << what;
}

TEST(ProfileWrite, ChangesOnlyTheKeysLine) {
  // What, the text before, the section, key and value written, and the text after.
  const std::tuple<const char*, std::string, const char*, const char*, std::string, std::string>
      cases[] = {{"new file", "", "Dirlagu", "file", "/a.ram", "[Dirlagu]\nfile=/a.ram\n"},
                 {"replace value", "[Dirlagu]\nfile=/old\n", "Dirlagu", "file", "/new",
                  "[Dirlagu]\nfile=/new\n"},
                 {"replace keeps the key's spelling", "; mine\n[DIRLAGU]\n  File = /old\n",
                  "Dirlagu", "file", "/new", "; mine\n[DIRLAGU]\n  File = /new\n"},
                 {"replace in CRLF file", "[s]\r\nk=1\r\n[t]\r\nx=2\r\n", "s", "k", "9",
                  "[s]\r\nk=9\r\n[t]\r\nx=2\r\n"},
                 {"add key after the section's last line", "[s]\na=1\n\n[t]\nb=2\n", "s", "k", "v",
                  "[s]\na=1\nk=v\n\n[t]\nb=2\n"},
                 {"add key after unterminated line", "[s]\na=1", "s", "k", "v", "[s]\na=1\nk=v\n"},
                 {"add section keeps comments", "; c1\n[Option]\ntaskbar=2 ; c2\n", "Dirlagu",
                  "file", "/x", "; c1\n[Option]\ntaskbar=2 ; c2\n[Dirlagu]\nfile=/x\n"},
                 {"add section to CRLF file", "[Option]\r\ntaskbar=1\r\n", "Dirlagu", "file", "/x",
                  "[Option]\r\ntaskbar=1\r\n[Dirlagu]\r\nfile=/x\r\n"},
                 {"first duplicate section written", "[s]\nk=1\n[S]\nk=2\n", "s", "k", "3",
                  "[s]\nk=3\n[S]\nk=2\n"},
                 {"empty value", "[s]\nk=1\n", "s", "k", "", "[s]\nk=\n"},
                 {"padded value quoted", "", "s", "k", " /a ", "[s]\nk=\" /a \"\n"},
                 {"value with ; kept", "", "s", "k", "1 ; x", "[s]\nk=1 ; x\n"}};
  for (const auto& [what, before, section, key, value, after] : cases) {
    const auto written = setProfileValue(before, section, key, value);
    ASSERT_TRUE(written.has_value()) << what;
    EXPECT_EQ(*written, after) << what;
    EXPECT_EQ(findProfileValue(*written, section, key), value) << what;
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

// The settings folder, in an environment of the test's own; "@" stands for the test's temporary
// folder, which is also the current folder.
std::string expand(std::string text, const std::string& root) {
  for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at + root.size()))
    text.replace(at, 1, root);
  return text;
}

TEST(WindowsDir, FollowsTheEnvironmentAndCreatesTheFolder) {
  // The environment as NAME=value words, and the folder expected ("" when none can be had).
  const std::pair<const char*, const char*> cases[] = {
      {"TUNELARK_WINDIR=@/own XDG_CONFIG_HOME=@/xdg HOME=@/h", "@/own"},
      {"TUNELARK_WINDIR= XDG_CONFIG_HOME=@/xdg", "@/xdg/tunelark"},  // empty own one ignored
      {"XDG_CONFIG_HOME=@/xdg HOME=@/h", "@/xdg/tunelark"},
      {"XDG_CONFIG_HOME=relative/xdg HOME=@/h", "@/h/.config/tunelark"},
      {"HOME=@/h", "@/h/.config/tunelark"},
      {"TUNELARK_WINDIR=@/a/b/c", "@/a/b/c"},  // missing parents created
      {"TUNELARK_WINDIR=@/own//", "@/own"},
      {"TUNELARK_WINDIR=@/x/../own/.", "@/own"},
      {"TUNELARK_WINDIR=@/plain-file/sub", ""},
      {"TUNELARK_WINDIR=@/plain-file", ""},
      {"TUNELARK_WINDIR=rel/settings", "@/rel/settings"}};  // relative, and already there
  const std::string previous = fs::current_path().string();
  for (const auto& [words, expectedFolder] : cases) {
    SCOPED_TRACE(words);
    TempDir dir;
    dir.write("plain-file", "not a folder");
    const std::string kept = dir.write("rel/settings/tunelark.ini", "[Dirlagu]\nfile=/a.ram\n");
    fs::current_path(dir.path());  // where a relative folder is found
    std::map<std::string, std::string> environment;
    std::istringstream in(expand(words, dir.str()));
    for (std::string word; in >> word;)
      environment[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
    const auto lookup = [&](const char* name) -> const char* {
      const auto it = environment.find(name);
      return it == environment.end() ? nullptr : it->second.c_str();
    };
    const std::string expected = expand(expectedFolder, dir.str());
    const std::string got = getwindowsdir(lookup);
    fs::current_path(previous);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(testing::readFile(kept), "[Dirlagu]\nfile=/a.ram\n");  // existing files left alone
    if (!expected.empty()) {
      EXPECT_TRUE(fs::is_directory(got));
    }
  }
}

}  // namespace
}  // namespace tunelark
