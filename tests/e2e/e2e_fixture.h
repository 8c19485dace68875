#pragma once
// Shared set-up of the end-to-end tests: they need an X display (scripts/test-env gives one)
// and skip themselves, visibly, without it outside the test environment.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "running_program.h"
#include "support/environment.h"

namespace tunelark::e2e {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) TUNELARK_NEEDS("no X display; run under scripts/test-env");
  }

  // Starts the program and waits for its window; fails the test when none appears.
  RunningProgram& start(const std::map<std::string, std::string>& env = {},
                        const std::string& cwd = {}) {
    program = std::make_unique<RunningProgram>(folder, env, cwd);
    EXPECT_FALSE(program->waitForWindow().empty()) << program->errors();
    return *program;
  }

  tunelark::testing::TempDir folder;
  std::unique_ptr<RunningProgram> program;
};

// Centres of the top strip's buttons, in window pixels.
struct Spot {
  int x;
  int y;
};
inline constexpr Spot kPlayerToggle{86, 47};     // Image18 / Image16
inline constexpr Spot kBrowserToggle{134, 31};   // Image20 / Image19
inline constexpr Spot kPlaylistToggle{134, 47};  // Image15 / Image14
inline constexpr Spot kExitButton{86, 31};       // Image21
// The first two rows of the clip list, the add button, and sort descending (normal view).
inline constexpr Spot kClipRow0{260, 260};
inline constexpr Spot kClipRow1{260, 273};
inline constexpr Spot kAddButton{407, 349};       // Image5
inline constexpr Spot kSortDescending{119, 485};  // Image25
inline constexpr Spot kPlaylistRow0{200, 387};    // the first row of List1

}  // namespace tunelark::e2e
