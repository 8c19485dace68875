#include "qt/playlist_view.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

#include "playlist/given_files.h"
#include "qt/control_placement.h"
#include "qt/delivery.h"
#include "qt/object_names.h"
#include "qt/skin_style.h"
#include "ui/form1.h"

namespace tunelark::qt {

namespace {

using FilesSink = std::function<void(const std::vector<std::string>&)>;

// The local files of a drop from another program (a file manager's text/uri-list); none for
// anything else, a drag from within this program included.
std::vector<std::string> filesFromOutside(const QDropEvent* e) {
  std::vector<std::string> files;
  if (e->source() || !e->mimeData()->hasUrls()) return files;
  for (const QUrl& url : e->mimeData()->urls())
    if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  return files;
}

// Accepts clips dragged from File1, and files dropped from a file manager, which are taken as
// files given on the command line; its own rows cannot be dragged. Like a list box, it keeps its
// selection when the space below the last row is pressed, and a double-click anywhere in it
// plays the selected rows.
class PlaylistWidget : public QListWidget {
 public:
  PlaylistWidget(QWidget* parent, std::function<void()> onDrop, std::function<void()> onDblClick,
                 FilesSink onFiles)
      : QListWidget(parent),
        onDrop_(std::move(onDrop)),
        onDblClick_(std::move(onDblClick)),
        onFiles_(std::move(onFiles)) {
    setDragEnabled(false);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (itemAt(e->position().toPoint()))
      QListWidget::mousePressEvent(e);
    else
      e->accept();
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (itemAt(e->position().toPoint())) QListWidget::mouseDoubleClickEvent(e);
    e->accept();
    onDblClick_();
  }
  void dragEnterEvent(QDragEnterEvent* e) override { acceptIfOurs(e); }
  void dragMoveEvent(QDragMoveEvent* e) override { acceptIfOurs(e); }
  void dropEvent(QDropEvent* e) override {
    if (e->mimeData()->hasFormat(kClipDragMime)) {
      e->acceptProposedAction();
      // The model reads which clips to add from File1's selection, not from the payload.
      onDrop_();
      return;
    }
    const std::vector<std::string> files = filesFromOutside(e);
    if (files.empty()) {
      e->ignore();
      return;
    }
    e->setDropAction(Qt::CopyAction);
    e->accept();
    onFiles_(files);
  }

 private:
  void acceptIfOurs(QDropEvent* e) {
    if (e->mimeData()->hasFormat(kClipDragMime)) {
      e->acceptProposedAction();
    } else if (!filesFromOutside(e).empty()) {
      e->setDropAction(Qt::CopyAction);
      e->accept();
    } else {
      e->ignore();
    }
  }

  std::function<void()> onDrop_;
  std::function<void()> onDblClick_;
  FilesSink onFiles_;
};

class PlaylistView : public ModelView {
 public:
  PlaylistView(Form1& form, QWidget* parent, AfterHandler after)
      : form_(form),
        after_(std::move(after)),
        list_(new PlaylistWidget(
            parent, [this] { toModel(UserEvent::DragDrop); },
            [this] { toModel(UserEvent::DblClick); },
            [this](const std::vector<std::string>& files) {
              deliver(
                  form_.host, [this, &files] { takeGivenFiles(form_, files); }, after_);
            })) {
    list_->setObjectName(objectNameOf(ControlId::List1));
    list_->setFrameShape(QFrame::NoFrame);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setUniformItemSizes(true);
    QPalette pal = list_->palette();
    const QColor text = modelColour(form_.List1.box.color);
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Text, text);
    pal.setColor(QPalette::Highlight, text);
    pal.setColor(QPalette::HighlightedText, Qt::black);
    list_->setPalette(pal);
    list_->setFont(skinFont());
    QObject::connect(list_, &QListWidget::itemSelectionChanged, list_,
                     [this] { selectionToModel(); });
  }

  QWidget* widget() override { return list_; }

  void sync() override {
    placeAs(list_, form_.List1.box);

    QSignalBlocker quiet(list_);
    ListBox& model = form_.List1;
    const int n = model.ListCount();
    while (list_->count() > n) delete list_->takeItem(list_->count() - 1);
    for (int i = 0; i < n; ++i) {
      const QString text = QString::fromLocal8Bit(model.List(i).c_str());
      if (i < list_->count()) {
        if (list_->item(i)->text() != text) list_->item(i)->setText(text);
      } else {
        list_->addItem(text);
      }
      list_->item(i)->setSelected(model.Selected(i));
    }
    // Item selection changes done while blocked do not repaint the viewport by themselves.
    list_->viewport()->update();
  }

 private:
  void selectionToModel() {
    ListBox& model = form_.List1;
    const int n = std::min(model.ListCount(), list_->count());
    for (int i = 0; i < n; ++i) model.setSelected(i, list_->item(i)->isSelected());
  }

  void toModel(UserEvent event) {
    selectionToModel();
    deliver(form_, ControlId::List1, event, after_);
  }

  Form1& form_;
  AfterHandler after_;
  PlaylistWidget* list_;
};

}  // namespace

std::unique_ptr<ModelView> makePlaylistView(Form1& form, QWidget* parent, AfterHandler after) {
  return std::make_unique<PlaylistView>(form, parent, std::move(after));
}

}  // namespace tunelark::qt
