// A handler that fails is reported to the user and leaves the program running.
#include "qt/handler_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/fake_host.h"

namespace tunelark::qt {
namespace {

TEST(HandlerGuard, NormalHandlerRunsWithoutMessage) {
  tunelark::testing::FakeHost host;
  int runs = 0;
  EXPECT_TRUE(runHandler(host, [&runs] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(host.messages.empty());
}

TEST(HandlerGuard, FailureBecomesOneMessageBox) {
  tunelark::testing::FakeHost host;
  EXPECT_FALSE(runHandler(host, [] { throw std::out_of_range("row 80"); }));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], "That could not be done: row 80");

  EXPECT_FALSE(runHandler(host, [] { throw 42; }));
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1], "That could not be done.");
}

}  // namespace
}  // namespace tunelark::qt
