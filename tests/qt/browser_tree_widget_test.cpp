// The tree widget shows the model's nodes with pictures, and a click reaches tvwControl_Click.
#include <gtest/gtest.h>

#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "app/app_state.h"
#include "qt/browser_tree_view.h"
#include "qt/tree_icons.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "ui/form1.h"

namespace tunelark::qt {
namespace {

using tunelark::testing::TempDir;

// `dir` is mounted as a second drive.
class TreeWidget : public ::testing::Test {
 protected:
  void SetUp() override {
    form.tvwControl.mountTablePath =
        etc.write("mounts", "/dev/sda1 / ext4 rw 0 0\n/dev/sr0 " + dir.str() + " iso9660 ro 0 0\n");
    form.tvwControl.sysBlockPath = etc.str() + "/none";
    form.buildtree();
    form.tvwControl.box.left = form.tvwControl.box.top = 0;
    form.tvwControl.box.width = form.tvwControl.box.height = 6000;
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
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                      tree()->visualItemRect(item).center());
  }
  static QStringList childTexts(QTreeWidgetItem* item) {
    QStringList out;
    for (int i = 0; i < item->childCount(); ++i) out << item->child(i)->text(0);
    return out;
  }

  TempDir dir, etc;
  AppState app;
  tunelark::testing::FakeHost host;
  Form1 form{app, host};
  QWidget parent;
  SkinPictures skin;
  std::unique_ptr<BrowserTreeView> view;
  int afterCalls = 0;
};

// A folder name that is not UTF-8 shows a replacement character and keeps its bytes.
TEST_F(TreeWidget, ShowsTheDrivesAndAClickScansTheFolderAndPointsFile1AtIt) {
  ASSERT_EQ(tree()->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree()->topLevelItem(0);
  EXPECT_EQ(root->text(0), QStringLiteral("My Computer"));
  EXPECT_TRUE(root->isExpanded());
  EXPECT_EQ(childTexts(root),
            (QStringList{QStringLiteral("/"), QString::fromStdString(dir.str())}));
  const std::string cafe = "caf\xe9";
  for (const std::string& name : {std::string("beta"), std::string("Alpha"), cafe})
    std::filesystem::create_directories(dir.path() / name);
  dir.write("clip.ra", "x");
  const std::string drive = dir.str() + "Dir";
  clickOn(drive);
  EXPECT_EQ(form.tvwControl.SelectedItem(), form.tvwControl.find(drive));
  EXPECT_EQ(afterCalls, 1);
  EXPECT_EQ(form.File1.Path(), dir.str());
  QTreeWidgetItem* item = view->itemOf(drive);
  EXPECT_EQ(childTexts(item), (QStringList{QStringLiteral("Alpha"), QStringLiteral("beta"),
                                           QStringLiteral("caf\uFFFD")}));
  EXPECT_FALSE(item->isExpanded());
  EXPECT_EQ(tree()->currentItem(), item);

  item->setExpanded(true);
  EXPECT_TRUE(form.tvwControl.find(drive)->Expanded);
  clickOn(dir.str() + "/" + cafe + "Dir");
  EXPECT_EQ(form.File1.Path(), dir.str() + "/" + cafe);
  EXPECT_EQ(afterCalls, 2);
  const QIcon icon = view->itemOf(dir.str() + "/" + cafe + "Dir")->icon(0);
  EXPECT_NE(icon.pixmap(16, 16, QIcon::Normal).toImage(),
            icon.pixmap(16, 16, QIcon::Selected).toImage())
      << "a folder's picture changes when selected";
}

TEST_F(TreeWidget, AFailingClickIsReportedNotThrownThroughQt) {
  host.duringEventPass = [] { throw std::runtime_error("folder vanished"); };
  clickOn(dir.str() + "Dir");
  EXPECT_EQ(host.messages, (std::vector<std::string>{"That could not be done: folder vanished"}));
  EXPECT_EQ(afterCalls, 1);
}

// Until the first frame the skin's pictures serve; the desktop theme is looked up once after.
TEST(TreePictures, EveryPictureHasABundledFallbackAndTheThemeComesAfterTheFirstFrame) {
  SkinPictures skin;
  TreeIcons icons(skin);
  for (int i = 1; i <= 9; ++i) {
    SCOPED_TRACE(i);
    const QString bundled =
        QStringLiteral(":/skin/%1.svg").arg(QLatin1String(treePictureSource(i).bundled));
    EXPECT_FALSE(QIcon(bundled).pixmap(16, 16).isNull());
    EXPECT_FALSE(icons.picture(i).pixmap(16, 16).isNull());
    EXPECT_FALSE(icons.fromTheme(i));
  }
  EXPECT_TRUE(icons.picture(10).isNull());
  icons.useDesktopTheme();
  EXPECT_TRUE(!QIcon::hasThemeIcon(QStringLiteral("folder")) || icons.fromTheme(8));
  EXPECT_FALSE(icons.useDesktopTheme()) << "a second call changes nothing";
}

}  // namespace
}  // namespace tunelark::qt
