#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "core/case_name.h"
#include "core/scoped_env.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::FakeHost;
using testing::readFile;
using testing::ScopedEnv;
using testing::TempDir;

// A settings folder as a previous run (or a user) left it.
struct StartCase {
  const char* what;
  std::optional<std::string> settings;  // contents of tunelark.ini; nothing for no file
  int beeps;
};

class StartUp : public ::testing::TestWithParam<StartCase> {};

TEST_P(StartUp, WithoutAStoredPathStartsUntitledOnTheWorkingListFile) {
  const StartCase& c = GetParam();
  TempDir dir;
  const std::string folder = dir.str() + "/settings";
  if (c.settings) dir.write("settings/tunelark.ini", *c.settings);
  ScopedEnv windir("TUNELARK_WINDIR", folder);
  AppState app;
  FakeHost host;
  Form1 form(app, host);
  // Values a start-up must overwrite, so that each check below can fail.
  form.playershown = form.browsershown = form.listshown = 0;
  form.playstate = 1;
  form.listmode = 1;

  form.Form_Load();

  EXPECT_EQ(host.beeps, c.beeps);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_FALSE(host.ended);
  EXPECT_EQ(form.Label2.caption, "Tunelark 2.01");
  EXPECT_EQ(app.windowsDir, folder);
  EXPECT_EQ(app.settingsPath, folder + "/tunelark.ini");
  EXPECT_FALSE(form.RealAudio1.autoStart());
  EXPECT_EQ(form.RealAudio1.source(), "");
  EXPECT_EQ((std::array{form.playershown, form.browsershown, form.listshown}),
            (std::array{1, 1, 1}));
  EXPECT_EQ(form.playstate, 0);
  EXPECT_EQ(form.Label4.caption, "PlayList File : Untitled.ram");
  EXPECT_EQ(form.workfile, folder + "/temp.ram");
  EXPECT_EQ(app.lastfile, folder + "/temp.ram");
  EXPECT_EQ(form.listmode, 2);
  // Start-up reads the settings file and never writes it.
  if (c.settings) {
    EXPECT_EQ(readFile(app.settingsPath), *c.settings);
  } else {
    EXPECT_FALSE(fs::exists(app.settingsPath));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartUp,
    ::testing::Values(StartCase{"no settings file", std::nullopt, 0},
                      StartCase{"only the Option section", "[Option]\r\ntaskbar=2\r\n", 0},
                      StartCase{"empty file value", "[Dirlagu]\r\nfile=\r\n", 1},
                      StartCase{"binary junk", std::string("\0\xff[Dirlagu]\x01\nfile\0=\n", 20),
                                0}),
    [](const auto& row) { return testing::caseName(row.param.what); });

}  // namespace
}  // namespace tunelark
