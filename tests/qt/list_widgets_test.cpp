// The clip list File1 and the playlist List1 on screen: rows and selection follow the model, the
// user's selection goes back into it, File1 drags clips, and List1 takes only those and plays
// an entry on a double-click.
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
  void fillPlaylist() {
    for (int i = 0; i < 3; ++i) {
      const std::string name = "clip" + std::to_string(i) + ".rm";
      app.entries[i] = "file:" + dir.str() + "/" + name;
      form->List1.AddItem(std::to_string(i + 1) + ". " + name);
    }
    app.entryCount = 3;
    window->sync();
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

struct SelectionCase {
  const char* list;
  std::vector<int> (*selected)(Form1&);
  void (*select)(Form1&, int);
};

TEST_F(ListWidgets, SelectionGoesFromTheModelToTheScreenAndBack) {
  fillPlaylist();
  for (const SelectionCase& c :
       {SelectionCase{"File1", [](Form1&f) { return f.File1.selectedRows(); },
                      [](Form1&f, int row) { f.File1.setSelected(row, true); }},
        SelectionCase{"List1", [](Form1&f) { return f.List1.selectedRows(); },
                      [](Form1&f, int row) { f.List1.setSelected(row, true); }}}) {
    SCOPED_TRACE(c.list);
    auto* view = qobject_cast<QAbstractItemView*>(widgetOf(c.list));
    c.select(*form, 0);
    c.select(*form, 2);
    window->sync();
    EXPECT_EQ(shownSelection(view), (std::vector<int>{0, 2}));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre(view, 1));
    EXPECT_EQ(c.selected(*form), (std::vector<int>{1})) << "a plain click selects one";
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, centre(view, 2));
    EXPECT_EQ(c.selected(*form), (std::vector<int>{1, 2}));
    window->sync();
    EXPECT_EQ(shownSelection(view), (std::vector<int>{1, 2})) << "a sync keeps what the user chose";
  }
  EXPECT_EQ(form->File1.FileName(), "C.RAM") << "the clicked row is File1's current one";
}

// Names are shown converted for display; a drag carries the bytes the file system stores.
TEST_F(ListWidgets, File1ShowsItsRowsAndDragsTheirFullPaths) {
  ASSERT_EQ(files->model()->rowCount(), 4);
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(files->model()->index(row, 0).data().toString(),
              (QStringList{QStringLiteral("a.ra"), QStringLiteral("b.rm"), QStringLiteral("C.RAM")})
                  .at(row));
  EXPECT_TRUE(files->model()->index(3, 0).data().toString().contains(QChar(0xFFFD)));
  EXPECT_EQ(files->selectionMode(), QAbstractItemView::ExtendedSelection);
  const QModelIndexList rows = {files->model()->index(0, 0), files->model()->index(3, 0)};
  std::unique_ptr<QMimeData> mime(files->model()->mimeData(rows));
  ASSERT_TRUE(mime->hasFormat(kClipDragMime));
  const std::string folder = dir.str() + "/c/";
  EXPECT_EQ(mime->data(kClipDragMime), QByteArray::fromStdString(folder + "a.ra") + '\0' +
                                           QByteArray::fromStdString(folder + "caf\xe9.ra") + '\0');
  EXPECT_TRUE(files->model()->flags(rows[0]).testFlag(Qt::ItemIsDragEnabled));

  // A press on an unselected clip selects by dragging; only a selected one may be dragged.
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

  // New rows clear the selection.
  dir.write("c/d.ra", "x");
  form->File1.Refresh();
  window->sync();
  EXPECT_EQ(files->model()->rowCount(), 5);
  EXPECT_TRUE(shownSelection(files).empty());
}

// A drop adds File1's current clip; nothing is dragged out of the list.
TEST_F(ListWidgets, List1TakesOnlyAClipDropFromTheClipList) {
  form->File1.setListIndex(1);
  EXPECT_FALSE(playlist->dragEnabled());
  for (const auto& [type, taken] : {std::pair{"text/uri-list", false}, {kClipDragMime, true}}) {
    SCOPED_TRACE(type);
    QMimeData data;
    data.setData(QString::fromLatin1(type), "x");
    const QPoint at = playlist->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(playlist->viewport(), &enter);
    EXPECT_EQ(enter.isAccepted(), taken);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(playlist->viewport(), &drop);
    ASSERT_EQ(playlist->count(), taken ? 1 : 0) << "the window was synced after the drop";
  }
  EXPECT_EQ(playlist->item(0)->text(), QStringLiteral("1. b.rm"));
}

TEST_F(ListWidgets, List1RowsFollowTheModelAndADoubleClickPlaysTheEntry) {
  fillPlaylist();
  ASSERT_EQ(playlist->count(), 3);
  EXPECT_EQ(playlist->item(1)->text(), QStringLiteral("2. clip1.rm"));
  QTest::mouseDClick(playlist->viewport(), Qt::LeftButton, {}, centre(playlist, 1));
  EXPECT_EQ(form->RealAudio1.source(), app.entries[1]);
  EXPECT_TRUE(form->RealAudio1.autoStart());
  EXPECT_EQ(form->playstate, 1);
  EXPECT_FALSE(widgetOf("Image7")->isHidden()) << "the window was synced after the handler";

  form->List1.RemoveItem(0);
  form->List1.setList(0, "1. clip1.rm");
  window->sync();
  EXPECT_EQ(playlist->item(0)->text(), QStringLiteral("1. clip1.rm"));
  form->List1.Clear();
  window->sync();
  EXPECT_EQ(playlist->count(), 0);
}

}  // namespace
}  // namespace tunelark::qt::testing
