// The start-up load of the remembered playlist, and what a failed one protects.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/case_name.h"
#include "core/recording_player.h"
#include "core/scoped_env.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempDir;

struct LoadCase {
  const char* what;
  // Makes the remembered file below `dir`; returns its path.
  std::function<std::string(const TempDir& dir)> make;
  int entries;  // entries loaded
  bool loaded;  // the load completed
};

std::string lines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += "file:/c" + std::to_string(i) + ".ra\r\n";
  return text;
}

// A run started with a settings folder under `dir` that remembers `remembered`.
struct StartedOn {
  StartedOn(const TempDir& dir, const std::string& remembered)
      : windir("TUNELARK_WINDIR", dir.str() + "/win") {
    dir.write("win/tunelark.ini", "[Dirlagu]\r\nfile=" + remembered + "\r\n");
    form.Form_Load();
  }
  testing::ScopedEnv windir;
  AppState app;
  testing::FakeHost host;
  Form1 form{app, host};
};

class StartupLoad : public ::testing::TestWithParam<LoadCase> {};

TEST_P(StartupLoad, RemembersThePlaylistOrStartsOnAGuardedOne) {
  const LoadCase& c = GetParam();
  TempDir dir;
  const std::string remembered = c.make(dir);
  StartedOn run(dir, remembered);
  const AppState& app = run.app;
  Form1& form = run.form;

  EXPECT_EQ(app.entryCount, c.entries);
  EXPECT_EQ(form.List1.ListCount(), c.entries);
  EXPECT_EQ(app.lastfile, remembered);
  EXPECT_EQ(form.workfile, remembered);
  EXPECT_EQ(form.listmode, c.loaded ? 1 : 2);
  EXPECT_EQ(form.Label4.caption,
            c.loaded ? "PlayList File : " + fs::path(remembered).filename().string() : "");
  EXPECT_EQ(form.RealAudio1.source(), c.loaded ? remembered : "");
  EXPECT_TRUE(run.host.messages.empty());
  EXPECT_EQ(run.host.beeps, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartupLoad,
    ::testing::Values(
        LoadCase{"three entries", [](auto& d) { return d.write("l.ram", lines(3)); }, 3, true},
        LoadCase{"single spaces are entries",
                 [](auto& d) { return d.write("l.ram", " \r\n \r\n"); }, 2, true},
        LoadCase{"85 lines", [](auto& d) { return d.write("l.ram", lines(85)); }, 80, true},
        LoadCase{"larger than 16 MiB",
                 [](auto& d) {
                   return d.write("l.ram", lines(85) + std::string(17 << 20, 'x') + "\r\n");
                 },
                 80, true},
        LoadCase{"missing", [](auto& d) { return d.str() + "/gone.ram"; }, 0, false},
        LoadCase{"a folder",
                 [](auto& d) {
                   fs::create_directories(d.path() / "dir.ram");
                   return d.str() + "/dir.ram";
                 },
                 0, false},
        LoadCase{"a FIFO",
                 [](auto& d) {
                   const std::string p = d.str() + "/fifo.ram";
                   ::mkfifo(p.c_str(), 0600);
                   return p;
                 },
                 0, false},
        LoadCase{"a device", [](auto&) { return std::string("/dev/zero"); }, 0, false}),
    [](const auto& row) { return testing::caseName(row.param.what); });

// After a failed load the remembered file is never overwritten: edits go to the working list
// file until a file is current again, and the next start tries the remembered one again.
TEST(StartupLoadGuard, TheUnreadFileOutlivesEditsAndIsRememberedAtExit) {
  TempDir dir;
  const std::string remembered = dir.str() + "/dir.ram";
  fs::create_directories(remembered);
  StartedOn run(dir, remembered);
  AppState& app = run.app;
  Form1& form = run.form;
  app.entries[0] = "file:/b.ra";
  app.entries[1] = "file:/a.ra";
  app.entryCount = 2;
  form.List1.AddItem("1. ");
  form.List1.AddItem("2. ");
  form.mnusort();
  form.List1.setSelected(0, true);
  form.Image22_Click();
  EXPECT_TRUE(fs::is_directory(remembered));
  EXPECT_EQ(readFile(app.workingListFile()), "file:/b.ra\r\n");
  EXPECT_EQ(form.workfile, app.workingListFile());
  EXPECT_EQ(app.lastfile, remembered);
  form.Form_Unload();
  EXPECT_NE(readFile(app.settingsPath).find("file=" + remembered), std::string::npos);
}

}  // namespace
}  // namespace tunelark
