#pragma once
// Tests that need a part of the test environment (the X display, the sound server, the tray
// host, the session bus, a tmpfs mount). Inside scripts/test-env a missing part is a failure,
// with its reason: nothing may pass there by skipping. Elsewhere such a test skips, saying why.

#include <gtest/gtest.h>

#include <cstdlib>

namespace tunelark::testing {

inline bool insideTestEnvironment() { return std::getenv("TUNELARK_TEST_ENV") != nullptr; }

}  // namespace tunelark::testing

// Ends the current test (or its SetUp) because `reason` is missing from the environment.
#define TUNELARK_NEEDS(reason)                                 \
  do {                                                         \
    if (::tunelark::testing::insideTestEnvironment())          \
      GTEST_FAIL() << (reason) << ", inside scripts/test-env"; \
    else                                                       \
      GTEST_SKIP() << (reason);                                \
  } while (0)
