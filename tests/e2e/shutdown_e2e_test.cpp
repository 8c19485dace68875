// Every orderly end of a run leaves a settings file naming the working list file.
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

// The window manager's close and SIGTERM end the run as the exit button does (the journeys
// use the button).
TEST_F(RunEnd, WindowManagerCloseAndSigtermStoreTheWorkingListFile) {
  for (const bool windowManager : {true, false}) {
    SCOPED_TRACE(windowManager ? "window manager close" : "SIGTERM");
    RunningProgram& p = start();
    if (windowManager) {
      ASSERT_TRUE(askWindowToClose(p.window()));
    } else {
      p.signal(SIGTERM);
    }
    expectCleanEnd(p);
  }
}

}  // namespace
}  // namespace tunelark::e2e
