// A start-up without a stored playlist, and what unload and the exit button store.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>

#include "app/app_state.h"
#include "core/scoped_env.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::readFile;

struct Started {
  testing::TempDir dir;
  std::string folder = dir.str() + "/settings";
  AppState app;
  testing::FakeHost host;
  Form1 form{app, host};
  std::string settings() const { return folder + "/tunelark.ini"; }
  void start(const std::optional<std::string>& ini) {
    if (ini) dir.write("settings/tunelark.ini", *ini);
    testing::ScopedEnv windir("TUNELARK_WINDIR", folder);
    form.Form_Load();
  }
};

TEST(StartUp, WithoutAStoredPathStartsUntitledOnTheWorkingListFile) {
  const std::pair<std::optional<std::string>, int> cases[] = {
      {std::nullopt, 0},
      {"[Option]\r\ntaskbar=2\r\n", 0},
      {"[Dirlagu]\r\nfile=\r\n", 1},  // an empty value beeps
      {std::string("\0\xff[Dirlagu]\x01\nfile\0=\n", 20), 0}};
  for (const auto& [ini, beeps] : cases) {
    SCOPED_TRACE(ini.value_or("no file"));
    Started s;
    // Values a start-up must overwrite, so that each check below can fail.
    s.form.playershown = s.form.browsershown = s.form.listshown = 0;
    s.form.playstate = 1;
    s.form.listmode = 1;
    s.start(ini);
    EXPECT_EQ(s.host.beeps, beeps);
    EXPECT_TRUE(s.host.messages.empty());
    EXPECT_FALSE(s.host.ended);
    EXPECT_EQ(s.form.Label2.caption, "Tunelark 2.01");
    EXPECT_EQ(s.app.windowsDir, s.folder);
    EXPECT_EQ(s.app.settingsPath, s.settings());
    EXPECT_FALSE(s.form.RealAudio1.autoStart());
    EXPECT_EQ(s.form.RealAudio1.source(), "");
    EXPECT_EQ((std::array{s.form.playershown, s.form.browsershown, s.form.listshown}),
              (std::array{1, 1, 1}));
    EXPECT_EQ(s.form.playstate, 0);
    EXPECT_EQ(s.form.Label4.caption, "PlayList File : Untitled.ram");
    EXPECT_EQ(s.form.workfile, s.folder + "/temp.ram");
    EXPECT_EQ(s.app.lastfile, s.folder + "/temp.ram");
    EXPECT_EQ(s.form.listmode, 2);
    // Start-up reads the settings file and never writes it.
    EXPECT_EQ(fs::exists(s.settings()), ini.has_value());
    EXPECT_EQ(readFile(s.settings()), ini.value_or(""));
  }
}

// Unload and the exit button store the last playlist, keeping the rest of the file; when the
// store fails they beep once and leave the file as it was.
TEST(Shutdown, UnloadAndExitStoreTheLastPlaylistOrBeepOnce) {
  const std::pair<const char*, void (*)(Started&)> cases[] = {
      {"stored", [](Started&) {}},
      {"read-only settings file", [](Started& s) { ::chmod(s.settings().c_str(), 0444); }},
      {"a line break in the path", [](Started& s) { s.app.lastfile = "/a\n[Option]\ntaskbar=2"; }},
      {"settings path never set", [](Started& s) { s.app.settingsPath.clear(); }}};
  for (const auto& [what, prepare] : cases) {
    for (const bool exitButton : {false, true}) {
      SCOPED_TRACE(::testing::Message() << what << (exitButton ? ", exit button" : ", unload"));
      Started s;
      const std::string ini = "[Option]\r\ntaskbar=3\r\n[Dirlagu]\r\nfile=/old.ram\r\n";
      s.start(ini);
      s.app.lastfile = "/home/ann/My Music/" + std::string(300, 'm') + ".ram";
      prepare(s);
      if (exitButton) {
        s.form.Image21_Click();
      } else {
        s.form.Form_Unload();
      }
      const bool stored = prepare == cases[0].second;
      EXPECT_EQ(s.host.beeps, stored ? 0 : 1);
      EXPECT_TRUE(s.host.messages.empty());
      EXPECT_EQ(s.host.ended, exitButton);
      EXPECT_EQ(
          readFile(s.settings()),
          stored ? "[Option]\r\ntaskbar=3\r\n[Dirlagu]\r\nfile=" + s.app.lastfile + "\r\n" : ini);
    }
  }
}

}  // namespace
}  // namespace tunelark
