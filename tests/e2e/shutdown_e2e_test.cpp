// How a run ends, seen from the files it leaves: the exit button and SIGTERM both leave a
// settings file that names the working list file, and the next run starts on it.
#include <signal.h>

#include "e2e_fixture.h"
#include "window_manager_close.h"

namespace tunelark::e2e {
namespace {

using RunEnd = ProgramTest;

std::string expectedSettings(const RunningProgram& p) {
  return "[Dirlagu]\nfile=" + p.windir() + "/temp.ram";
}

TEST_F(RunEnd, ExitButtonStoresTheWorkingListFile) {
  RunningProgram& p = start();
  p.click(kExitButton.x, kExitButton.y);
  const auto status = p.waitForExit();
  ASSERT_TRUE(status.has_value()) << "the exit button did not end the run";
  EXPECT_EQ(*status, 0);
  const std::string settings = tunelark::testing::readFile(p.settingsPath());
  EXPECT_NE(settings.find(expectedSettings(p)), std::string::npos) << settings;
}

TEST_F(RunEnd, SigtermStoresTheWorkingListFile) {
  RunningProgram& p = start();
  p.signal(SIGTERM);
  const auto status = p.waitForExit();
  ASSERT_TRUE(status.has_value()) << "SIGTERM did not end the run";
  EXPECT_EQ(*status, 0) << "an orderly end, not death by signal";
  const std::string settings = tunelark::testing::readFile(p.settingsPath());
  EXPECT_NE(settings.find(expectedSettings(p)), std::string::npos) << settings;
}

TEST_F(RunEnd, WindowManagerCloseStoresTheWorkingListFile) {
  RunningProgram& p = start();
  ASSERT_TRUE(askWindowToClose(p.window()));
  const auto status = p.waitForExit();
  ASSERT_TRUE(status.has_value()) << "closing the window did not end the run\n"
                                  << p.errors()
                                  << "settings: " << tunelark::testing::readFile(p.settingsPath());
  EXPECT_EQ(*status, 0);
  const std::string settings = tunelark::testing::readFile(p.settingsPath());
  EXPECT_NE(settings.find(expectedSettings(p)), std::string::npos) << settings;
}

// Clips added in one run are the playlist of the next: the second run's sort rewrites the
// working list file that the first run stored, so it must have loaded its entries.
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
    ASSERT_TRUE(p.waitForExit().has_value());
  }
  RunningProgram& again = start({}, dir);
  again.click(kSortDescending.x, kSortDescending.y);
  const std::string list = again.windir() + "/temp.ram";
  EXPECT_TRUE(waitFor([&] { return tunelark::testing::readFile(list) == b + a; }))
      << tunelark::testing::readFile(list);
  again.signal(SIGTERM);
  ASSERT_TRUE(again.waitForExit().has_value());
  const std::string settings = tunelark::testing::readFile(again.settingsPath());
  EXPECT_NE(settings.find(expectedSettings(again)), std::string::npos) << settings;
}

}  // namespace
}  // namespace tunelark::e2e
