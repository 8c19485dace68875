// Every way a run ends leaves a settings file naming the working list file; the next run uses it.
#include <signal.h>

#include "e2e_fixture.h"
#include "window_manager_close.h"

namespace tunelark::e2e {
namespace {

using RunEnd = ProgramTest;

std::string expectedSettings(const RunningProgram& p) {
  return "[Dirlagu]\nfile=" + p.windir() + "/temp.ram";
}

// Ends the run and checks it stored the working list file and exited cleanly.
void expectCleanEnd(RunningProgram& p) {
  const auto status = p.waitForExit();
  ASSERT_TRUE(status.has_value()) << "the run did not end\n" << p.errors();
  EXPECT_EQ(*status, 0) << "an orderly end, not death by signal";
  const std::string settings = tunelark::testing::readFile(p.settingsPath());
  EXPECT_NE(settings.find(expectedSettings(p)), std::string::npos) << settings;
}

TEST_F(RunEnd, WindowManagerCloseStoresTheWorkingListFile) {
  RunningProgram& p = start();
  ASSERT_TRUE(askWindowToClose(p.window()));
  expectCleanEnd(p);
}

// The exit button and SIGTERM store the working list file; the next run's sort rewrites it, so it
// must have loaded the entries the first run added.
TEST_F(RunEnd, TheNextRunGetsBackThePlaylistThisOneStored) {
  folder.write("clips/a.rm", "x");
  folder.write("clips/b.rm", "x");
  const std::string dir = folder.str() + "/clips";
  const std::string a = "file:" + dir + "/a.rm\r\n";
  const std::string b = "file:" + dir + "/b.rm\r\n";
  {
    RunningProgram& p = start({}, dir);
    p.click(kClipRow0.x, kClipRow0.y);
    p.shiftClick(kClipRow1.x, kClipRow1.y);
    p.click(kAddButton.x, kAddButton.y);
    const std::string list = p.windir() + "/temp.ram";
    ASSERT_TRUE(waitFor([&] { return tunelark::testing::readFile(list) == a + b; }))
        << tunelark::testing::readFile(list);
    p.click(kExitButton.x, kExitButton.y);
    expectCleanEnd(p);
  }
  RunningProgram& again = start({}, dir);
  again.click(kSortDescending.x, kSortDescending.y);
  const std::string list = again.windir() + "/temp.ram";
  EXPECT_TRUE(waitFor([&] { return tunelark::testing::readFile(list) == b + a; }))
      << tunelark::testing::readFile(list);
  again.signal(SIGTERM);
  expectCleanEnd(again);
}

}  // namespace
}  // namespace tunelark::e2e
