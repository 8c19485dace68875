#include "qt/browser_file_list.h"

#include <QItemSelectionModel>
#include <QMimeData>
#include <QMouseEvent>

#include "qt/browser_palette.h"
#include "qt/control_placement.h"
#include "qt/object_names.h"
#include "qt/skin_style.h"
#include "ui/form1.h"

namespace tunelark::qt {

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : list_.ListCount();
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= list_.ListCount()) return {};
  if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
  // Names that are not valid in the local encoding show replacement characters; the model
  // keeps the bytes.
  const std::string& name = list_.List(index.row());
  return QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size()));
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList FileListModel::mimeTypes() const { return {QString::fromLatin1(kClipDragMime)}; }

namespace {

// A drag starts only from a press on a row that is already selected; a press elsewhere and a
// move extend the selection, as in any list with extended selection.
class ClipListView : public QListView {
 public:
  using QListView::QListView;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    const QModelIndex at = indexAt(event->position().toPoint());
    setDragEnabled(at.isValid() && selectionModel()->isSelected(at));
    QListView::mousePressEvent(event);
  }
};

}  // namespace

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
  QByteArray payload;
  std::string folder = list_.Path();
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  for (const QModelIndex& index : indexes) {
    if (!index.isValid() || index.row() >= list_.ListCount()) continue;
    payload.append(QByteArray::fromStdString(folder + list_.List(index.row())));
    payload.append('\0');
  }
  auto* mime = new QMimeData();
  mime->setData(QString::fromLatin1(kClipDragMime), payload);
  return mime;
}

BrowserFileListView::BrowserFileListView(Form1& form, QWidget* parent)
    : form_(form), view_(new ClipListView(parent)), model_(new FileListModel(form.File1, view_)) {
  view_->setObjectName(objectNameOf(ControlId::File1));
  view_->setModel(model_);
  view_->setFrameShape(QFrame::NoFrame);
  view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view_->setUniformItemSizes(true);
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setDragEnabled(true);
  view_->setDragDropMode(QAbstractItemView::DragOnly);
  view_->setDefaultDropAction(Qt::CopyAction);
  applyBrowserPalette(view_, modelColour(form_.File1.box.color));
  view_->setFont(skinFont());
  QObject::connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, view_,
                   [this] { selectionToModel(); });
  QObject::connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, view_,
                   [this](const QModelIndex& current) {
                     if (syncing_) return;
                     form_.File1.setListIndex(current.isValid() ? current.row() : -1);
                     shownRevision_ = form_.File1.revision();
                   });
}

void BrowserFileListView::selectionToModel() {
  if (syncing_) return;
  FileListBox& list = form_.File1;
  QItemSelectionModel* selection = view_->selectionModel();
  const int n = list.ListCount();
  for (int i = 0; i < n; ++i) {
    const bool on = selection->isRowSelected(i, QModelIndex());
    if (list.Selected(i) != on) list.setSelected(i, on);
  }
  // The widget already shows this selection.
  shownRevision_ = list.revision();
}

void BrowserFileListView::sync() {
  placeAs(view_, form_.File1.box);

  FileListBox& list = form_.File1;
  if (shownRevision_ == list.revision()) return;
  syncing_ = true;
  if (shownRows_ != list.rowsRevision()) {
    model_->rowsReplaced();
    shownRows_ = list.rowsRevision();
  }
  // Runs of selected rows become one range each, so a large selection costs little.
  QItemSelection selection;
  const int n = list.ListCount();
  for (int i = 0; i < n;) {
    if (!list.Selected(i)) {
      ++i;
      continue;
    }
    int end = i;
    while (end + 1 < n && list.Selected(end + 1)) ++end;
    selection.select(model_->index(i), model_->index(end));
    i = end + 1;
  }
  view_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  const QModelIndex current =
      list.ListIndex() >= 0 ? model_->index(list.ListIndex()) : QModelIndex();
  view_->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
  shownRevision_ = list.revision();
  syncing_ = false;
}

}  // namespace tunelark::qt
