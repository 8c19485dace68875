// The host services on screen: the message box every warning and every failed handler uses, the
// busy pointer and the event pass.
#include "qt/qt_host.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <stdexcept>

#include "qt/delivery.h"
#include "support/fake_host.h"

namespace tunelark::qt {
namespace {

TEST(QtHost, MessageBoxIsTitledTunelarkWithExclamationAndOkOnly) {
  QtHost host;
  bool seen = false;
  // The box is modal: inspect and close it from inside its own event loop.
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    seen = true;
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Tunelark"));
    EXPECT_EQ(box->text(), QStringLiteral("Clip Not Selected"));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->buttons().size(), 1);
    box->button(QMessageBox::Ok)->click();
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* w = QApplication::activeModalWidget()) w->close();  // never hang the suite
  });
  host.messageBox("Clip Not Selected");
  EXPECT_TRUE(seen);
}

TEST(QtHost, BusyPointerIsSetOnceAndClearedAndPendingEventsAreLetThrough) {
  {
    QtHost host;
    host.setBusy(true);
    host.setBusy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    host.setBusy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "two busy calls push one cursor";
    host.setBusy(true);
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    host.processPendingEvents();
    EXPECT_TRUE(ran);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "a host going away clears its pointer";
}

TEST(Delivery, AFailureBecomesOneMessageBoxAndTheWindowIsStillSynced) {
  tunelark::testing::FakeHost host;
  int synced = 0;
  const auto sync = [&synced] { ++synced; };
  deliver(
      host, [] { throw std::out_of_range("row 80"); }, sync);
  deliver(
      host, [] { throw 42; }, sync);
  EXPECT_EQ(host.messages, (std::vector<std::string>{"That could not be done: row 80",
                                                     "That could not be done."}));
  EXPECT_EQ(synced, 2);
}

}  // namespace
}  // namespace tunelark::qt
