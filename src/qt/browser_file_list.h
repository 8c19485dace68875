#pragma once
// The clip list widget of File1: the model's rows on black in cyan, extended selection kept in
// the model, and a drag source for dropping clips onto the playlist.

#include <QAbstractListModel>
#include <QListView>

#include "qt/model_view.h"

namespace tunelark {
class Form1;
class FileListBox;
}  // namespace tunelark

namespace tunelark::qt {

// File1's rows for a Qt view. Names are shown converted for display; a drag carries the full
// paths as the bytes the file system stores, separated by NUL.
class FileListModel : public QAbstractListModel {
 public:
  explicit FileListModel(FileListBox& list, QObject* parent = nullptr)
      : QAbstractListModel(parent), list_(list) {}
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }
  // Tells attached views that every row may have changed.
  void rowsReplaced() {
    beginResetModel();
    endResetModel();
  }

 private:
  FileListBox& list_;
};

class BrowserFileListView : public ModelView {
 public:
  // File1 has no handlers of its own: a drop reaches List1_DragDrop through the playlist view.
  BrowserFileListView(Form1& form, QWidget* parent);
  QWidget* widget() override { return view_; }
  void sync() override;
  FileListModel& model() { return *model_; }

 private:
  void selectionToModel();

  Form1& form_;
  QListView* view_;
  FileListModel* model_;
  unsigned long shownRows_ = ~0ul;
  unsigned long shownRevision_ = ~0ul;
  bool syncing_ = false;
};

}  // namespace tunelark::qt
