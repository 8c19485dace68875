// Every widget hands user input to the model through one guarded path: a handler that fails is
// reported in a message box, the window is synced and the program goes on.
#include "qt/delivery.h"

#include <QTest>
#include <QTreeWidget>
#include <stdexcept>

#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

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

using TreeDelivery = WindowTest;

TEST_F(TreeDelivery, AFailingTreeClickIsReportedNotThrownThroughQt) {
  host.duringEventPass = [] { throw std::runtime_error("folder vanished"); };
  window->show();
  auto* tree = qobject_cast<QTreeWidget*>(widgetOf("tvwControl"));
  ASSERT_NE(tree, nullptr);
  QTreeWidgetItem* drive = tree->topLevelItem(0)->child(0);
  ASSERT_NE(drive, nullptr);
  tree->scrollToItem(drive);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(drive).center());
  EXPECT_EQ(host.messages, (std::vector<std::string>{"That could not be done: folder vanished"}));
}

}  // namespace
}  // namespace tunelark::qt::testing
