#include "qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <tuple>

#include "qt/control_views.h"
#include "qt/delivery.h"
#include "qt/focus_ring.h"
#include "qt/object_names.h"
#include "qt/player_site.h"
#include "qt/playlist_view.h"
#include "qt/skin_manifest.h"
#include "qt/twips.h"
#include "qt/window_keys.h"
#include "ui/form1.h"
#include "ui/form1_layout.h"

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
  setUpKeyboard();
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
  const ClickSink onClick = [this](ControlId control) { click(control); };
  // Frames come first in the layout, so each control finds its frame's widget made.
  for (const LayoutRow& row : form1Layout()) {
    Control& c = form_.control(row.control);
    if (!row.frame) {
      auto view = makeControlView(row.control, c, face_, skin_, onClick);
      frames_[row.control] = view->widget();
      views_.push_back(std::move(view));
      continue;
    }
    QWidget* parent = frames_.at(*row.frame);
    std::unique_ptr<ModelView> view;
    switch (c.kind) {
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
        view = makeControlView(row.control, c, parent, skin_, onClick);
        break;
    }
    if (view) views_.push_back(std::move(view));
  }
}

void MainWindow::setUpKeyboard() {
  new FocusRing(this);
  new WindowKeys(this, [this](ControlId control, UserEvent event) {
    // A loaded dialog disables the window's face; its keys wait for it as its clicks do.
    if (form_.Enabled) deliver(form_, control, event, [this] { sync(); });
  });
  // The keyboard starts in the folder tree, where browsing begins, and not on a picture button
  // that a stray Space would press.
  if (auto* tree = findChild<QWidget*>(objectNameOf(ControlId::tvwControl))) tree->setFocus();
}

namespace {

// Where a widget comes in reading order: area by area from the top, then column by column
// (the skin's buttons stand in columns about 40 px apart), then down the column.
std::tuple<int, int, int, int> readingPlace(QWidget* w, QWidget* face) {
  QWidget* area = w;
  while (area->parentWidget() && area->parentWidget() != face) area = area->parentWidget();
  const QPoint at = w->mapTo(face, QPoint(0, 0));
  constexpr int kColumn = 40;
  return {area->y(), (at.x() - area->x()) / kColumn, at.y(), at.x()};
}

}  // namespace

bool MainWindow::focusNextPrevChild(bool next) {
  std::vector<QWidget*> order;
  for (QWidget* w : face_->findChildren<QWidget*>())
    if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() && w->window() == this &&
        w->isVisibleTo(this) && w->isEnabled())
      order.push_back(w);
  if (order.empty()) return false;
  const auto before = [this](QWidget* a, QWidget* b) {
    return readingPlace(a, face_) < readingPlace(b, face_);
  };
  std::sort(order.begin(), order.end(), before);
  // The focused widget may have just been hidden (a pressed two-state button): its place in
  // the order still says what comes after it.
  QWidget* current = focusWidget();
  QWidget* target = next ? order.front() : order.back();
  if (current && current != this && face_->isAncestorOf(current)) {
    if (next) {
      const auto it = std::upper_bound(order.begin(), order.end(), current, before);
      if (it != order.end()) target = *it;
    } else {
      const auto it = std::lower_bound(order.begin(), order.end(), current, before);
      if (it != order.begin()) target = *std::prev(it);
    }
  }
  target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
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

void MainWindow::click(ControlId control) {
  deliver(form_, control, UserEvent::Click, [this] { sync(); });
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
