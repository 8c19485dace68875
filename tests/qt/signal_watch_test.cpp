// Signals arrive as calls on the UI thread, one call per signal, and only one watch owns them.
#include "qt/signal_watch.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <csignal>

namespace tunelark::qt {
namespace {

template <typename Done>
bool pumpUntil(Done done) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  return done();
}

TEST(SignalWatch, EachSignalRunsItsOwnCallback) {
  SignalWatch watch;
  ASSERT_TRUE(watch.valid());
  int terms = 0;
  int usr1 = 0;
  ASSERT_TRUE(watch.watch(SIGTERM, [&terms] { ++terms; }));
  ASSERT_TRUE(watch.watch(SIGUSR1, [&usr1] { ++usr1; }));
  ::raise(SIGUSR1);
  ASSERT_TRUE(pumpUntil([&] { return usr1 == 1; }));
  EXPECT_EQ(terms, 0);
  ::raise(SIGTERM);
  ::raise(SIGTERM);
  ASSERT_TRUE(pumpUntil([&] { return terms == 2; }));
  EXPECT_EQ(usr1, 1);
}

TEST(SignalWatch, OnlyOneWatchAtATimeAndThePreviousHandlerComesBack) {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction before {};
  ASSERT_EQ(::sigaction(SIGUSR2, &ignore, &before), 0);
  {
    SignalWatch watch;
    SignalWatch second;
    EXPECT_FALSE(second.valid());
    EXPECT_FALSE(second.watch(SIGUSR2, [] {}));
    ASSERT_TRUE(watch.watch(SIGUSR2, [] {}));
    struct sigaction during {};
    ::sigaction(SIGUSR2, nullptr, &during);
    EXPECT_NE(during.sa_handler, SIG_IGN);
  }
  struct sigaction after {};
  ::sigaction(SIGUSR2, nullptr, &after);
  EXPECT_EQ(after.sa_handler, SIG_IGN);
  ::sigaction(SIGUSR2, &before, nullptr);

  SignalWatch again;
  EXPECT_TRUE(again.valid()) << "a new watch may take over once the old one is gone";
}

}  // namespace
}  // namespace tunelark::qt
