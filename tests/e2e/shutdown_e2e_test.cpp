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

struct Ending {
  const char* how;
  void (*end)(RunningProgram& p);
};

class EachEnding : public ProgramTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(EachEnding, StoresTheWorkingListFileAndExitsCleanly) {
  RunningProgram& p = start();
  GetParam().end(p);
  const auto status = p.waitForExit();
  ASSERT_TRUE(status.has_value()) << "the run did not end\n" << p.errors();
  EXPECT_EQ(*status, 0) << "an orderly end, not death by signal";
  const std::string settings = tunelark::testing::readFile(p.settingsPath());
  EXPECT_NE(settings.find(expectedSettings(p)), std::string::npos) << settings;
}

INSTANTIATE_TEST_SUITE_P(
    Ways, EachEnding,
    ::testing::Values(Ending{"ExitButton",
                             [](RunningProgram& p) { p.click(kExitButton.x, kExitButton.y); }},
                      Ending{"Sigterm", [](RunningProgram& p) { p.signal(SIGTERM); }},
                      Ending{"WindowManagerClose",
                             [](RunningProgram& p) { ASSERT_TRUE(askWindowToClose(p.window())); }}),
    [](const auto& row) { return std::string(row.param.how); });

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
