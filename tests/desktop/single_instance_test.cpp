// One window per settings folder: a later start hands its files to the running window and ends;
// a socket left by a killed window does not stop the next start.
#include <gtest/gtest.h>
#include <signal.h>

#include "e2e/running_program.h"

namespace tunelark::desktop_testing {
namespace {

using e2e::RunningProgram;
using e2e::waitFor;

std::string workingList(const RunningProgram& p) {
  return tunelark::testing::readFile(p.windir() + "/temp.ram");
}

TEST(SingleInstance, ALaterStartHandsItsFilesToTheRunningWindow) {
  tunelark::testing::TempDir folder;
  folder.write("clips/a.ra", "clip");
  RunningProgram first(folder);
  ASSERT_FALSE(first.waitForWindow().empty()) << first.errors();
  // A path relative to the later start's own folder.
  RunningProgram second(folder, {}, folder.str() + "/clips", {"a.ra"});
  EXPECT_EQ(second.waitForExit(), 0);
  const std::string line = "file:" + folder.str() + "/clips/a.ra\r\n";
  EXPECT_TRUE(waitFor([&] { return workingList(first) == line; })) << workingList(first);
  EXPECT_FALSE(first.waitForExit(std::chrono::milliseconds(100)).has_value());
}

TEST(SingleInstance, AfterTheWindowIsKilledTheNextStartRunsItsOwn) {
  tunelark::testing::TempDir folder;
  const std::string clip = folder.write("a.ra", "clip");
  RunningProgram first(folder);
  ASSERT_FALSE(first.waitForWindow().empty()) << first.errors();
  first.signal(SIGKILL);
  ASSERT_TRUE(first.waitForExit().has_value());
  RunningProgram next(folder, {}, {}, {clip});
  EXPECT_FALSE(next.waitForWindow().empty()) << next.errors();
  EXPECT_TRUE(waitFor([&] { return workingList(next) == "file:" + clip + "\r\n"; }));
}

}  // namespace
}  // namespace tunelark::desktop_testing
