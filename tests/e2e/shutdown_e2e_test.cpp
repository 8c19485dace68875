// How a run ends, seen from the files it leaves: the exit button and SIGTERM both leave a
// settings file that names the working list file.
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
                                  << p.errors() << "settings: "
                                  << tunelark::testing::readFile(p.settingsPath());
  EXPECT_EQ(*status, 0);
  const std::string settings = tunelark::testing::readFile(p.settingsPath());
  EXPECT_NE(settings.find(expectedSettings(p)), std::string::npos) << settings;
}

TEST_F(RunEnd, SecondRunLoadsWhatTheFirstStored) {
  {
    RunningProgram& p = start();
    p.signal(SIGTERM);
    ASSERT_TRUE(p.waitForExit().has_value());
  }
  RunningProgram& again = start();
  ASSERT_FALSE(again.window().empty());
  again.signal(SIGTERM);
  ASSERT_TRUE(again.waitForExit().has_value());
  const std::string settings = tunelark::testing::readFile(again.settingsPath());
  EXPECT_NE(settings.find(expectedSettings(again)), std::string::npos) << settings;
}

}  // namespace
}  // namespace tunelark::e2e
