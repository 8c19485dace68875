// The tree widget shows the model's nodes with pictures, and a click reaches tvwControl_Click
// through the guarded path every widget uses.
#include <QLabel>
#include <QListView>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <stdexcept>

#include "qt/tree_icons.h"
#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

// The test's folder is mounted as a second drive.
class TreeWidget : public WindowTest {
 protected:
  void beforeLoad() override {
    form->tvwControl.mountTablePath =
        etc.write("mounts", "/dev/sda1 / ext4 rw 0 0\n/dev/sr0 " + dir.str() + " iso9660 ro 0 0\n");
    form->tvwControl.sysBlockPath = etc.str() + "/none";
  }
  void SetUp() override {
    WindowTest::SetUp();
    window->show();
    tree = qobject_cast<QTreeWidget*>(widgetOf("tvwControl"));
    ASSERT_NE(tree, nullptr);
  }
  QTreeWidgetItem* itemOf(const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.front() : nullptr;
  }
  void clickOn(QTreeWidgetItem* item) {
    ASSERT_NE(item, nullptr);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
  }
  static QStringList childTexts(QTreeWidgetItem* item) {
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i) out << item->child(i)->text(0);
    return out;
  }
  int clipRows() { return qobject_cast<QListView*>(widgetOf("File1"))->model()->rowCount(); }

  tunelark::testing::TempDir etc;
  QTreeWidget* tree = nullptr;
};

// A folder name that is not UTF-8 shows a replacement character and keeps its bytes.
TEST_F(TreeWidget, ShowsTheDrivesAndAClickScansTheFolderAndPointsFile1AtItThroughTheGuard) {
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree->topLevelItem(0);
  EXPECT_TRUE(root->isExpanded());
  EXPECT_EQ(childTexts(root), (QStringList{"/", QString::fromStdString(dir.str())}));
  const std::string cafe = "caf\xe9";
  for (const std::string& name : {std::string("beta"), std::string("Alpha"), cafe})
    std::filesystem::create_directories(dir.path() / name);
  dir.write("clip.ra", "x");
  QTreeWidgetItem* drive = itemOf(QString::fromStdString(dir.str()));
  clickOn(drive);
  EXPECT_EQ(form->tvwControl.SelectedItem(), form->tvwControl.find(dir.str() + "Dir"));
  EXPECT_EQ(form->File1.Path(), dir.str());
  EXPECT_EQ(clipRows(), 1) << "the window was synced after the handler";
  EXPECT_EQ(childTexts(drive), (QStringList{"Alpha", "beta", QStringLiteral("caf\uFFFD")}));
  EXPECT_FALSE(drive->isExpanded());
  EXPECT_EQ(tree->currentItem(), drive);

  drive->setExpanded(true);
  EXPECT_TRUE(form->tvwControl.find(dir.str() + "Dir")->Expanded);
  QTreeWidgetItem* folder = itemOf(QStringLiteral("caf\uFFFD"));
  clickOn(folder);
  EXPECT_EQ(form->File1.Path(), dir.str() + "/" + cafe);
  EXPECT_EQ(clipRows(), 0);
  EXPECT_NE(folder->icon(0).pixmap(16, 16, QIcon::Normal).toImage(),
            folder->icon(0).pixmap(16, 16, QIcon::Selected).toImage())
      << "a folder's picture changes when selected";

  // Whatever a handler throws becomes one message box, and the window is synced all the same.
  host.duringEventPass = [this] {
    form->Label4.caption = "synced";
    throw std::runtime_error("folder vanished");
  };
  clickOn(drive);
  EXPECT_EQ(qobject_cast<QLabel*>(widgetOf("Label4"))->text(), QStringLiteral("synced"));
  host.duringEventPass = [] { throw 42; };
  clickOn(itemOf(QStringLiteral("/")));
  EXPECT_EQ(host.messages, (std::vector<std::string>{"That could not be done: folder vanished",
                                                     "That could not be done."}));
}

// Until the first frame the skin's pictures serve; the desktop theme is looked up once after.
TEST(TreePictures, EveryPictureHasABundledFallbackAndTheThemeComesAfterTheFirstFrame) {
  SkinPictures skin;
  TreeIcons icons(skin);
  for (int i = 1; i <= 9; ++i) {
    EXPECT_FALSE(icons.picture(i).pixmap(16, 16).isNull()) << i;
    EXPECT_FALSE(icons.fromTheme(i)) << i;
  }
  icons.useDesktopTheme();
  EXPECT_TRUE(!QIcon::hasThemeIcon(QStringLiteral("folder")) || icons.fromTheme(8));
}

}  // namespace
}  // namespace tunelark::qt::testing
