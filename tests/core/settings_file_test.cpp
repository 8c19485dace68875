// The settings file on disk as the window meets it: read at start-up for the last playlist, and
// rewritten by unload and the exit button, or left as it was with one beep when it cannot be.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "core/scoped_env.h"
#include "platform/profile_file.h"
#include "platform/profile_text.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;

struct SettingsCase {
  const char* what;
  void (*prepare)(const std::string& path);  // makes the settings file
  std::optional<std::string> stored;         // the playlist start-up finds
  int startBeeps;
  bool stores;  // whether unload and exit can store the last playlist
  std::string lastfile = "/home/ann/My Music/" + std::string(300, 'm') + ".ram";
};

void write(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

const std::string kStored = "[Option]\r\ntaskbar=3\r\n[Dirlagu]\r\nfile=/old.ram\r\n";

const SettingsCase kCases[] = {
    {"no file", [](const std::string&) {}, std::nullopt, 0, true},
    {"stored path", [](const std::string& p) { write(p, kStored); }, "/old.ram", 0, true},
    {"only the Option section", [](const std::string& p) { write(p, "[Option]\r\ntaskbar=2\r\n"); },
     std::nullopt, 0, true},
    {"an empty value beeps", [](const std::string& p) { write(p, "[Dirlagu]\r\nfile=\r\n"); },
     std::nullopt, 1, true},
    {"binary junk",
     [](const std::string& p) { write(p, std::string("\0\xff[Dirlagu]\x01\nfile\0=\n", 20)); },
     std::nullopt, 0, true},
    {"one huge line", [](const std::string& p) { write(p, std::string(3 << 20, '[')); },
     std::nullopt, 0, true},
    {"read-only file",
     [](const std::string& p) {
       write(p, kStored);
       ::chmod(p.c_str(), 0444);
     },
     "/old.ram", 0, false},
    {"a FIFO in its place",
     [](const std::string& p) {
       fs::create_directories(fs::path(p).parent_path());
       ::mkfifo(p.c_str(), 0644);
     },
     std::nullopt, 0, false},
    {"larger than any settings file",
     [](const std::string& p) {
       write(p, kStored);
       fs::resize_file(p, ProfileFile::kMaxBytes + 1);
     },
     std::nullopt, 0, false},
    {"a line break in the path", [](const std::string& p) { write(p, kStored); }, "/old.ram", 0,
     false, "/a\n[Option]\ntaskbar=2"}};

TEST(SettingsFile, StartUpReadsTheLastPlaylistAndUnloadOrExitStoreItOrBeepOnce) {
  for (const SettingsCase& c : kCases) {
    for (const bool exitButton : {false, true}) {
      SCOPED_TRACE(::testing::Message() << c.what << (exitButton ? ", exit button" : ", unload"));
      TempDir dir;
      const std::string folder = dir.str() + "/settings", path = folder + "/tunelark.ini";
      c.prepare(path);
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
      EXPECT_EQ((std::array{form.playershown, form.browsershown, form.listshown}),
                (std::array{1, 1, 1}));
      EXPECT_EQ(form.playstate, 0);
      // Without a stored playlist the window starts untitled on the working list file; a stored
      // one that is missing is kept for the next start.
      EXPECT_EQ(app.lastfile, c.stored.value_or(folder + "/temp.ram"));
      EXPECT_EQ(form.workfile, app.lastfile);
      EXPECT_EQ(form.listmode, 2);
      EXPECT_EQ(form.Label4.caption, c.stored ? "" : "PlayList File : Untitled.ram");
      EXPECT_EQ(form.RealAudio1.source(), "");
      EXPECT_EQ(regular ? readFile(path) : "", before);  // start-up never writes it

      app.lastfile = c.lastfile;
      if (exitButton) {
        form.Image21_Click();
      } else {
        form.Form_Unload();
      }
      EXPECT_EQ(host.beeps, c.startBeeps + (c.stores ? 0 : 1));
      EXPECT_TRUE(host.messages.empty());
      EXPECT_EQ(host.ended, exitButton);
      // Stored, only the key's line changes; otherwise the file is as it was.
      EXPECT_EQ(fs::is_regular_file(path) ? readFile(path) : "",
                c.stores ? *setProfileValue(before, "Dirlagu", "file", c.lastfile) : before);
    }
  }
}

TEST(SettingsFile, ReadStringFallsBackOnlyWhenTheValueIsMissing) {
  TempDir dir;
  const ProfileFile file(dir.write("tunelark.ini", "[Option]\ntaskbar=\n"));
  EXPECT_EQ(file.readString("option", "taskbar", "0"), "");
  EXPECT_EQ(file.readString("option", "missing", "0"), "0");
  EXPECT_EQ(ProfileFile(dir.str() + "/none.ini").readString("Option", "taskbar", "0"), "0");
}

}  // namespace
}  // namespace tunelark
