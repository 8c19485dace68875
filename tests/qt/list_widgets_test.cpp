// The clip list File1 and the playlist List1 on screen: selection goes both ways between model
// and screen, File1 drags clips, and List1 takes only those and plays an entry.
#include <QListView>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <memory>

#include "qt/browser_file_list.h"
#include "window_fixture.h"

namespace tunelark::qt::testing {
namespace {

class ListWidgets : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    for (const char* name : {"b.rm", "a.ra", "C.RAM", "notes.txt", "caf\xe9.ra"})
      dir.write(std::string("c/") + name, "x");
    ASSERT_TRUE(form->File1.setPath(dir.str() + "/c"));
    window->sync();
    window->show();
    files = qobject_cast<QListView*>(widgetOf("File1"));
    playlist = qobject_cast<QListWidget*>(widgetOf("List1"));
    ASSERT_TRUE(files && playlist);
  }
  static QPoint centre(QAbstractItemView* view, int row) {
    return view->visualRect(view->model()->index(row, 0)).center();
  }
  static std::vector<int> shownSelection(QAbstractItemView* view) {
    std::vector<int> rows;
    for (int i = 0; i < view->model()->rowCount(); ++i)
      if (view->selectionModel()->isRowSelected(i, {})) rows.push_back(i);
    return rows;
  }

  QListView* files = nullptr;
  QListWidget* playlist = nullptr;
};

// The same for both lists, whose models share selectedRows and setSelected.
TEST_F(ListWidgets, SelectionGoesFromTheModelToTheScreenAndBack) {
  for (const char* row : {"1. a.ra", "2. b.rm", "3. C.RAM"}) form->List1.AddItem(row);
  const auto check = [this](auto& model, const char* name) {
    SCOPED_TRACE(name);
    auto* view = qobject_cast<QAbstractItemView*>(widgetOf(name));
    model.setSelected(0, true);
    model.setSelected(2, true);
    window->sync();
    EXPECT_EQ(shownSelection(view), (std::vector<int>{0, 2}));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre(view, 1));
    EXPECT_EQ(model.selectedRows(), (std::vector<int>{1})) << "a plain click selects one";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, centre(view, 2));
    EXPECT_EQ(model.selectedRows(), (std::vector<int>{1, 2}));
    window->sync();
    EXPECT_EQ(shownSelection(view), (std::vector<int>{1, 2})) << "a sync keeps what the user chose";
  };
  check(form->File1, "File1");
  check(form->List1, "List1");
  EXPECT_EQ(form->File1.FileName(), "C.RAM") << "the clicked row is File1's current one";
}

// File1 shows names converted for display. A press on an unselected clip selects by dragging;
// a selected one may be dragged, carrying the bytes the file system stores. List1 takes only
// that payload, adding File1's current clip, and plays an entry on a double-click.
TEST_F(ListWidgets, ClipsDraggedFromFile1AreDroppedOnList1AndPlayed) {
  QStringList rows;
  for (int i = 0; i < files->model()->rowCount(); ++i)
    rows << files->model()->index(i, 0).data().toString();
  EXPECT_EQ(rows, (QStringList{"a.ra", "b.rm", "C.RAM", QStringLiteral("caf\uFFFD.ra")}));
  QTest::mousePress(files->viewport(), Qt::LeftButton, {}, centre(files, 0));
  EXPECT_FALSE(files->dragEnabled());
  QMouseEvent move(QEvent::MouseMove, centre(files, 2),
                   files->viewport()->mapToGlobal(centre(files, 2)), Qt::NoButton, Qt::LeftButton,
                   {});
  QCoreApplication::sendEvent(files->viewport(), &move);
  QTest::mouseRelease(files->viewport(), Qt::LeftButton, {}, centre(files, 2));
  EXPECT_EQ(form->File1.selectedRows(), (std::vector<int>{0, 1, 2}));
  QTest::mousePress(files->viewport(), Qt::LeftButton, {}, centre(files, 1));
  EXPECT_TRUE(files->dragEnabled());
  QTest::mouseRelease(files->viewport(), Qt::LeftButton, {}, centre(files, 1));
  const QModelIndexList dragged = {files->model()->index(0, 0), files->model()->index(3, 0)};
  EXPECT_TRUE(files->model()->flags(dragged[0]).testFlag(Qt::ItemIsDragEnabled));
  std::unique_ptr<QMimeData> clips(files->model()->mimeData(dragged));
  const std::string folder = dir.str() + "/c/";
  EXPECT_EQ(clips->data(kClipDragMime), QByteArray::fromStdString(folder + "a.ra") + '\0' +
                                            QByteArray::fromStdString(folder + "caf\xe9.ra") +
                                            '\0');

  EXPECT_FALSE(playlist->dragEnabled());
  // Payloads from other programs are the file-drop test's.
  const QPoint at = playlist->viewport()->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, clips.get(), Qt::LeftButton, {});
  QCoreApplication::sendEvent(playlist->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(at), Qt::CopyAction, clips.get(), Qt::LeftButton, {});
  QCoreApplication::sendEvent(playlist->viewport(), &drop);
  ASSERT_EQ(playlist->count(), 1) << "synced after the drop";
  EXPECT_EQ(playlist->item(0)->text(), QStringLiteral("1. b.rm"));
  QTest::mouseDClick(playlist->viewport(), Qt::LeftButton, {}, centre(playlist, 0));
  EXPECT_EQ(form->RealAudio1.source(), "file:" + folder + "b.rm");
  EXPECT_TRUE(form->RealAudio1.autoStart());
  EXPECT_EQ(form->playstate, 1);
  EXPECT_FALSE(widgetOf("Image7")->isHidden()) << "the window was synced after the handler";
  form->List1.setList(0, "1. other.rm");
  window->sync();
  EXPECT_EQ(playlist->item(0)->text(), QStringLiteral("1. other.rm")) << "a row's new text shows";

  dir.write("c/d.ra", "x");
  form->File1.Refresh();
  window->sync();
  EXPECT_EQ(files->model()->rowCount(), 5);
  EXPECT_TRUE(shownSelection(files).empty()) << "new rows clear the selection";
}

}  // namespace
}  // namespace tunelark::qt::testing
