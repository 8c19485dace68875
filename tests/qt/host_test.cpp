// The host services on screen: the message box every warning uses and the busy pointer; and
// signals arriving as calls on the UI thread.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <csignal>

#include "qt/qt_host.h"
#include "qt/signal_watch.h"

namespace tunelark::qt {
namespace {

TEST(QtHost, MessageBoxIsTitledTunelarkWithExclamationAndOkOnly) {
  QtHost host;
  QStringList seen;
  // The box is modal: read and close it from inside its own event loop.
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen << box->windowTitle() << box->text() << QString::number(box->icon())
         << QString::number(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* w = QApplication::activeModalWidget()) w->close();  // never hang the suite
  });
  host.messageBox("Clip Not Selected");
  EXPECT_EQ(seen, (QStringList{"Tunelark", "Clip Not Selected",
                               QString::number(QMessageBox::Warning), "1"}));
}

TEST(QtHost, BusyPointerIsSetOnceAndCleared) {
  {
    QtHost host;
    host.setBusy(true);
    host.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "two busy calls push one cursor";
    host.setBusy(true);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "a host going away clears its pointer";
}

// Each raise is one call of its own signal's callback; one watch at a time.
TEST(SignalWatch, EachSignalRunsItsOwnCallbackAndOnlyOneWatchOwnsThem) {
  {
    SignalWatch watch;
    SignalWatch second;
    ASSERT_TRUE(watch.valid());
    EXPECT_FALSE(second.valid());
    EXPECT_FALSE(second.watch(SIGUSR2, [] {}));
    std::vector<int> calls;
    ASSERT_TRUE(watch.watch(SIGUSR2, [&calls] { calls.push_back(SIGUSR2); }));
    ASSERT_TRUE(watch.watch(SIGUSR1, [&calls] { calls.push_back(SIGUSR1); }));
    ::raise(SIGUSR1);
    ASSERT_TRUE(QTest::qWaitFor([&calls] { return calls.size() == 1; }, 5000));
    ::raise(SIGUSR2);
    ::raise(SIGUSR2);
    ASSERT_TRUE(QTest::qWaitFor([&calls] { return calls.size() == 3; }, 5000));
    EXPECT_EQ(calls, (std::vector<int>{SIGUSR1, SIGUSR2, SIGUSR2}));
  }
  SignalWatch again;
  EXPECT_TRUE(again.valid()) << "a new watch may take over once the old one is gone";
}

}  // namespace
}  // namespace tunelark::qt
