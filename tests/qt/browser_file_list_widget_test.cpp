// The clip list widget on the offscreen platform: rows from File1, selection kept in the
// model both ways, and a drag payload of the type the playlist takes.
#include <gtest/gtest.h>

#include <QListView>
#include <QMimeData>
#include <QTest>
#include <memory>

#include "qt/browser_file_list.h"
#include "support/temp_dir.h"
#include "window_fixture.h"

namespace tunelark::qt {
namespace {

using tunelark::testing::TempDir;

class FileListWidget : public testing::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    for (const char* name : {"b.rm", "a.ra", "C.RAM", "notes.txt", "caf\xe9.ra"})
      clips.write(name, "x");
    ASSERT_TRUE(form->File1.setPath(clips.str()));
    window->sync();
    list = window->findChild<QListView*>(QStringLiteral("File1"));
    ASSERT_NE(list, nullptr);
  }
  QStringList shownRows() const {
    QStringList out;
    for (int i = 0; i < list->model()->rowCount(); ++i)
      out << list->model()->index(i, 0).data().toString();
    return out;
  }

  TempDir clips;
  QListView* list = nullptr;
};

TEST_F(FileListWidget, ShowsFile1RowsAndLetsSeveralBeSelected) {
  const QStringList rows = shownRows();
  ASSERT_EQ(rows.size(), 4);
  EXPECT_EQ(rows.mid(0, 3),
            (QStringList{QStringLiteral("a.ra"), QStringLiteral("b.rm"), QStringLiteral("C.RAM")}));
  EXPECT_TRUE(rows[3].contains(QChar(0xFFFD)));
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(FileListWidget, UserSelectionReachesTheModel) {
  list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
  list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::Select);
  list->selectionModel()->setCurrentIndex(list->model()->index(2, 0),
                                          QItemSelectionModel::NoUpdate);
  EXPECT_EQ(form->File1.selectedRows(), (std::vector<int>{0, 2}));
  EXPECT_EQ(form->File1.FileName(), "C.RAM");
  window->sync();  // a sync keeps what the user chose
  EXPECT_TRUE(list->selectionModel()->isRowSelected(0, {}));
  EXPECT_TRUE(list->selectionModel()->isRowSelected(2, {}));
}

TEST_F(FileListWidget, ModelSelectionAndNewRowsAreShownAfterSync) {
  form->File1.setSelected(1, true);
  form->File1.setSelected(3, true);
  window->sync();
  EXPECT_EQ(list->selectionModel()->selectedRows().size(), 2);
  EXPECT_TRUE(list->selectionModel()->isRowSelected(3, {}));
  clips.write("d.ra", "x");
  form->File1.Refresh();
  window->sync();
  EXPECT_EQ(shownRows().size(), 5);
  EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty());
}

TEST_F(FileListWidget, DragCarriesFullPathsAsBytesInTheClipType) {
  const QModelIndexList rows = {list->model()->index(0, 0), list->model()->index(3, 0)};
  std::unique_ptr<QMimeData> mime(list->model()->mimeData(rows));
  ASSERT_TRUE(mime->hasFormat(kClipDragMime));
  const QByteArray expected = QByteArray::fromStdString(clips.str() + "/a.ra") + '\0' +
                              QByteArray::fromStdString(clips.str() + "/caf\xe9.ra") + '\0';
  EXPECT_EQ(mime->data(kClipDragMime), expected);
  EXPECT_TRUE(list->model()->flags(rows[0]).testFlag(Qt::ItemIsDragEnabled));
}

}  // namespace
}  // namespace tunelark::qt
