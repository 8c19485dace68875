// List1 on screen: rows and selection follow the model, the user's selection goes back into the
// model, a double-click plays the entry, and only clip drops from File1 are taken.
#include "qt/playlist_view.h"

#include <QListWidget>
#include <QMimeData>
#include <QTest>

#include "qt/model_view.h"
#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

class PlaylistBox : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    for (int i = 0; i < 3; ++i) {
      const std::string name = "clip" + std::to_string(i) + ".rm";
      app.entries[i] = "file:" + dir.str() + "/" + name;
      form->List1.AddItem(std::to_string(i + 1) + ". " + name);
    }
    app.entryCount = 3;
    window->sync();
    window->show();
    list = qobject_cast<QListWidget*>(widgetOf("List1"));
    ASSERT_NE(list, nullptr);
  }

  QPoint rowCentre(int row) const { return list->visualItemRect(list->item(row)).center(); }

  QListWidget* list = nullptr;
};

TEST_F(PlaylistBox, RowsAndSelectionFollowTheModel) {
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->item(1)->text(), QStringLiteral("2. clip1.rm"));
  form->List1.setSelected(0, true);
  form->List1.setSelected(2, true);
  window->sync();
  EXPECT_EQ(list->selectedItems(), (QList<QListWidgetItem*>{list->item(0), list->item(2)}));

  form->List1.RemoveItem(0);
  form->List1.setList(0, "1. clip1.rm");
  window->sync();
  EXPECT_EQ(list->item(0)->text(), QStringLiteral("1. clip1.rm"));
  form->List1.Clear();
  window->sync();
  EXPECT_EQ(list->count(), 0);
}

TEST_F(PlaylistBox, ClicksSelectAndADoubleClickPlaysTheEntry) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(2));
  EXPECT_EQ(form->List1.selectedRows(), (std::vector<int>{0, 2}));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
  EXPECT_EQ(form->List1.selectedRows(), (std::vector<int>{1})) << "a plain click selects one";
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(1));
  EXPECT_EQ(form->RealAudio1.source(), app.entries[1]);
  EXPECT_TRUE(form->RealAudio1.autoStart());
  EXPECT_EQ(form->playstate, 1);
  EXPECT_FALSE(widgetOf("Image7")->isHidden()) << "the window was synced after the handler";
}

// A drop adds File1's current clip; nothing is dragged out of the list.
class PlaylistDrop : public WindowTest,
                     public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(PlaylistDrop, OnlyAClipDragFromTheClipListAddsItsCurrentClip) {
  dir.write("clips/a.ra", "x");
  dir.write("clips/b.ra", "x");
  ASSERT_TRUE(form->File1.setPath(dir.str() + "/clips"));
  form->File1.setListIndex(1);
  window->sync();
  auto* list = qobject_cast<QListWidget*>(widgetOf("List1"));
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(list->dragEnabled());

  QMimeData data;
  data.setData(QString::fromLatin1(GetParam().first), "x");
  QWidget* target = list->viewport();
  const QPoint at = target->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(target, &enter);
  EXPECT_EQ(enter.isAccepted(), GetParam().second);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
  QCoreApplication::sendEvent(target, &drop);

  ASSERT_EQ(list->count(), GetParam().second ? 1 : 0) << "the window was synced after the drop";
  if (GetParam().second) {
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("1. b.ra"));
  }
}

INSTANTIATE_TEST_SUITE_P(Payloads, PlaylistDrop,
                         ::testing::Values(std::make_pair(kClipDragMime, true),
                                           std::make_pair("text/uri-list", false)));

}  // namespace
}  // namespace tunelark::qt::testing
