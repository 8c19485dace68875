#include "qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QTimer>

#include "qt/control_views.h"
#include "qt/delivery.h"
#include "qt/player_site.h"
#include "qt/playlist_view.h"
#include "qt/skin_manifest.h"
#include "qt/twips.h"
#include "ui/form1.h"

namespace tunelark::qt {

MainWindow::MainWindow(Form1& form)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      form_(form),
      skin_(&PrerenderedSkin::builtIn()),
      face_(new QWidget(this)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString());  // the window's caption is empty and no code changes it
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);
  face_->setObjectName(QStringLiteral("face"));
  renderFirstFrameAhead();
  buildViews();
  // The first paint of any widget of this window marks the first frame.
  qApp->installEventFilter(this);
  sync();
  // ---- Desktop integration ----
  setUpDesktop();
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  // Views refer to the model and to child widgets; drop them while both still exist.
  views_.clear();
}

void MainWindow::renderFirstFrameAhead() {
  // Pictures not prerendered for this screen (any ratio but 1) are most of the first frame's
  // cost; a second core can render them while the widgets are being made.
  skin_.renderAhead(shownSkinPictureUses(form_), qApp->devicePixelRatio());
}

void MainWindow::buildViews() {
  const AfterHandler after = [this] { afterHandler(); };
  const ClickSink onClick = [this](const std::string& name) { click(name); };
  for (Control* c : form_.controls()) {
    if (c->kind == ControlKind::Frame) {
      auto view = makeControlView(*c, face_, skin_, onClick);
      frames_[c->name] = view->widget();
      views_.push_back(std::move(view));
      continue;
    }
    auto frame = frames_.find(c->frame);
    QWidget* parent = frame == frames_.end() ? face_ : frame->second;
    std::unique_ptr<ModelView> view;
    switch (c->kind) {
      case ControlKind::ListBox:
        view = makePlaylistView(form_, parent, after);
        break;
      case ControlKind::TreeView:
        view = makeTreeView(form_, parent, skin_, after);
        break;
      case ControlKind::FileListBox:
        view = makeFileListView(form_, parent, after);
        break;
      case ControlKind::Player: {
        auto site = std::make_unique<PlayerSite>(form_.RealAudio1, parent);
        player_ = site.get();
        view = std::move(site);
        break;
      }
      default:
        view = makeControlView(*c, parent, skin_, onClick);
        break;
    }
    if (view) views_.push_back(std::move(view));
  }
}

void MainWindow::sync() {
  const QSize size(px(form_.Width), px(form_.Height));
  if (this->size() != size || minimumSize() != size || maximumSize() != size) {
    // Only the height ever changes; a resize keeps the top-left corner where it is.
    setFixedSize(size);
  }
  if (face_->size() != size) face_->resize(size);
  face_->setEnabled(form_.Enabled);
  // ---- Desktop integration ----
  syncWindowState();
  // Hiding and showing follow the model once the window has been shown at start-up; before
  // that a sync must not put it on screen half made.
  if (testAttribute(Qt::WA_WState_ExplicitShowHide) && isVisible() != form_.Visible)
    setVisible(form_.Visible);
  for (auto& view : views_) view->sync();
  syncForm5Dialog(form_, this, [this] { afterHandler(); });
  // ---- Desktop integration ----
  syncDesktop();
}

void MainWindow::afterHandler() { sync(); }

void MainWindow::click(const std::string& controlName) {
  deliver(form_, controlName, UserEvent::Click, [this] { sync(); });
}

void MainWindow::centreOnScreen() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void MainWindow::unloadOnce() {
  if (unloaded_) return;
  unloaded_ = true;
  form_.Form_Unload();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  unloadOnce();
  event->accept();
  if (onClosed_) QTimer::singleShot(0, this, [this] { onClosed_(); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (firstFramePending_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    firstFramePending_ = false;
    qApp->removeEventFilter(this);
    // Painting and flushing to the screen finish in the same pass; the next turn of the event
    // loop comes after the frame is out. The frame is reported before anything else is done.
    QTimer::singleShot(0, this, [this] {
      if (onFirstFrame_) onFirstFrame_();
      finishButtons(face_);
      // ---- Desktop integration ----
      finishLinks();
      for (auto& view : views_) view->afterFirstFrame();
    });
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tunelark::qt
