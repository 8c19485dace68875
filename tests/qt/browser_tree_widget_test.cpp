// The tree widget shows the model's nodes with pictures, and a click reaches tvwControl_Click.
#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "app/app_state.h"
#include "qt/browser_tree_view.h"
#include "qt/tree_icons.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark::qt {
namespace {

namespace fs = std::filesystem;
using tunelark::testing::FakeHost;
using tunelark::testing::TempDir;

class TreeWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    form.tvwControl.mountTablePath =
        etc.write("mounts", "/dev/sda1 / ext4 rw 0 0\n/dev/sr0 " + dir.str() + " iso9660 ro 0 0\n");
    form.tvwControl.sysBlockPath = etc.str() + "/none";
    form.buildtree();
    form.tvwControl.box.left = 0;
    form.tvwControl.box.top = 0;
    form.tvwControl.box.width = 6000;
    form.tvwControl.box.height = 6000;
    parent.resize(400, 400);
    view = std::make_unique<BrowserTreeView>(form, &parent, skin, [this] {
      ++afterCalls;
      view->sync();
    });
    view->sync();
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  }

  QTreeWidget* tree() { return static_cast<QTreeWidget*>(view->widget()); }
  void clickOn(const std::string& key) {
    QTreeWidgetItem* item = view->itemOf(key);
    ASSERT_NE(item, nullptr) << key;
    tree()->scrollToItem(item);
    const QRect rect = tree()->visualItemRect(item);
    ASSERT_TRUE(rect.isValid()) << key;
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, rect.center());
  }
  static QStringList childTexts(QTreeWidgetItem* item) {
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i) out << item->child(i)->text(0);
    return out;
  }

  TempDir dir;
  TempDir etc;
  AppState app;
  FakeHost host;
  Form1 form{app, host};
  QWidget parent;
  SkinPictures skin;
  std::unique_ptr<BrowserTreeView> view;
  int afterCalls = 0;
};

TEST_F(TreeWidget, ShowsRootAndDrivesFromTheModel) {
  ASSERT_EQ(tree()->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree()->topLevelItem(0);
  EXPECT_EQ(root->text(0), QStringLiteral("My Computer"));
  EXPECT_TRUE(root->isExpanded());
  EXPECT_EQ(childTexts(root),
            (QStringList{QStringLiteral("/"), QString::fromStdString(dir.str())}));
  for (QTreeWidgetItem* item : {root, root->child(0), root->child(1)}) {
    EXPECT_FALSE(item->icon(0).pixmap(16, 16).isNull()) << item->text(0).toStdString();
  }
}

TEST_F(TreeWidget, ClickScansTheFolderAndPointsFile1AtIt) {
  fs::create_directories(dir.path() / "beta");
  fs::create_directories(dir.path() / "Alpha");
  dir.write("clip.ra", "x");
  clickOn(dir.str() + "Dir");
  EXPECT_EQ(form.tvwControl.SelectedItem(), form.tvwControl.find(dir.str() + "Dir"));
  EXPECT_EQ(afterCalls, 1);
  EXPECT_EQ(form.File1.Path(), dir.str());
  QTreeWidgetItem* drive = view->itemOf(dir.str() + "Dir");
  EXPECT_EQ(childTexts(drive), (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta")}));
  EXPECT_FALSE(drive->isExpanded());
  EXPECT_EQ(tree()->currentItem(), drive);

  drive->setExpanded(true);
  EXPECT_TRUE(form.tvwControl.find(dir.str() + "Dir")->Expanded);
  clickOn(dir.str() + "/AlphaDir");
  EXPECT_EQ(form.File1.Path(), dir.str() + "/Alpha");
  EXPECT_EQ(afterCalls, 2);
  const QIcon icon = view->itemOf(dir.str() + "/AlphaDir")->icon(0);
  EXPECT_NE(icon.pixmap(16, 16, QIcon::Normal).toImage(),
            icon.pixmap(16, 16, QIcon::Selected).toImage())
      << "a folder's picture changes when selected";
}

TEST_F(TreeWidget, FolderNamesThatAreNotUtf8ShowReplacementAndKeepBytes) {
  const std::string name = "caf\xe9";
  fs::create_directories(dir.path() / name);
  clickOn(dir.str() + "Dir");
  QTreeWidgetItem* item = view->itemOf(dir.str() + "/" + name + "Dir");
  ASSERT_NE(item, nullptr);
  EXPECT_TRUE(item->text(0).contains(QChar(0xFFFD)));
  clickOn(dir.str() + "/" + name + "Dir");
  EXPECT_EQ(form.File1.Path(), dir.str() + "/" + name);
}

TEST(TreePictures, EveryPictureHasABundledFallbackThatRenders) {
  SkinPictures skin;
  TreeIcons icons(skin);
  for (int i = 1; i <= 9; ++i) {
    SCOPED_TRACE(i);
    const TreePictureSource& source = treePictureSource(i);
    const QString bundled = QStringLiteral(":/skin/%1.svg").arg(QLatin1String(source.bundled));
    EXPECT_TRUE(QFile::exists(bundled));
    EXPECT_FALSE(QIcon(bundled).pixmap(16, 16).isNull());
    EXPECT_FALSE(icons.picture(i).pixmap(16, 16).isNull());
  }
  EXPECT_TRUE(icons.picture(10).isNull());
}

TEST(TreePictures, TheDesktopThemeIsConsultedOnlyAfterTheFirstFrame) {
  SkinPictures skin;
  TreeIcons icons(skin);
  for (int i = 1; i <= 9; ++i) EXPECT_FALSE(icons.fromTheme(i)) << i;
  icons.useDesktopTheme();
  EXPECT_TRUE(!QIcon::hasThemeIcon(QStringLiteral("folder")) || icons.fromTheme(8));
  EXPECT_FALSE(icons.useDesktopTheme()) << "a second call changes nothing";
}

}  // namespace
}  // namespace tunelark::qt
