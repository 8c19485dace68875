#include "qt/control_views.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include "qt/control_placement.h"
#include "qt/object_names.h"
#include "qt/skin_style.h"
#include "qt/twips.h"
#include "ui/handler_table.h"
#include "ui/key_table.h"

namespace tunelark::qt {

namespace {

void fillWith(QWidget* w, unsigned colour) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, modelColour(colour));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

// A skin picture; a button (tooltip naming its key, pointing hand) when the model gives it a
// tooltip, and one the keyboard reaches when it has a handler. Clicks, Space and Enter go to the
// sink as one click each.
class ImageWidget : public QWidget {
 public:
  ImageWidget(ControlId id, const Control& c, QWidget* parent, SkinPictures& skin,
              ClickSink onClick)
      : QWidget(parent),
        id_(id),
        control_(c),
        skin_(skin),
        onClick_(std::move(onClick)),
        acts_(handlerFor(id) != nullptr) {
    if (!c.tooltip.empty()) setToolTip(QString::fromStdString(tooltipWithKey(id, c.tooltip)));
    // Tab only: a mouse click on a button leaves the focus where the user was working.
    if (isButton() && acts_) setFocusPolicy(Qt::TabFocus);
  }

  bool isButton() const { return !control_.tooltip.empty(); }
  bool acts() const { return acts_; }
  ControlId id() const { return id_; }
  const Control& control() const { return control_; }

  // The first cursor set in a process loads the cursor theme from disk (about 1 ms): it waits
  // until the window is on screen.
  void finishButton() {
    if (isButton()) setCursor(Qt::PointingHandCursor);
  }

  // One click, as the mouse gives it. A two-state button has swapped to its pair by the time
  // the handler returns; the keyboard focus follows to the picture now in its place.
  void press() {
    if (!acts_ || !onClick_) return;
    const bool focused = hasFocus();
    const QPointer<ImageWidget> self(this);
    onClick_(id_);
    if (self && focused && isHidden()) focusPair();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(
        0, 0, skin_.picture(QString::fromStdString(control_.picture), size(), devicePixelRatioF()));
  }
  void keyPressEvent(QKeyEvent* e) override {
    const bool pressKey =
        e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (!pressKey || (e->modifiers() & ~Qt::KeypadModifier)) return QWidget::keyPressEvent(e);
    e->accept();
    if (!e->isAutoRepeat()) press();
  }
  void mousePressEvent(QMouseEvent* e) override {
    pressed_ = e->button() == Qt::LeftButton;
    e->accept();
  }
  // The second press of a double-click is one Click already given: the first press and release
  // made it. A two-state button has by then swapped to its pair, which gets only this event.
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    pressed_ = false;
    e->accept();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    const bool inside = rect().contains(e->position().toPoint());
    const bool click = pressed_ && e->button() == Qt::LeftButton && inside;
    pressed_ = false;
    e->accept();
    if (click && onClick_) onClick_(id_);
  }

 private:
  void focusPair() {
    for (QObject* o : parentWidget()->children()) {
      auto* pair = dynamic_cast<ImageWidget*>(o);
      if (pair && pair != this && !pair->isHidden() && pair->geometry() == geometry() &&
          pair->focusPolicy() != Qt::NoFocus)
        return pair->setFocus(Qt::TabFocusReason);
    }
  }

  ControlId id_;
  const Control& control_;
  SkinPictures& skin_;
  ClickSink onClick_;
  bool acts_;
  bool pressed_ = false;
};

// What a screen reader reads of a picture button: a push button named by its tooltip (without
// the key, which it reads from the action), whose press action is one click. A picture with a
// tooltip but no handler (the inactive stop) reads as an unavailable button.
class ImageAccessible : public QAccessibleWidget {
 public:
  explicit ImageAccessible(ImageWidget* image) : QAccessibleWidget(image, QAccessible::Button) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) return QString::fromStdString(image()->control().tooltip);
    return QAccessibleWidget::text(t);
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    if (!image()->acts()) s.disabled = true;
    return s;
  }
  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (image()->acts()) names.prepend(pressAction());
    return names;
  }
  // Run from the event loop: a handler may open a modal dialog, which must not hold the screen
  // reader's call open until it closes.
  void doAction(const QString& action) override {
    if (action != pressAction()) return QAccessibleWidget::doAction(action);
    QTimer::singleShot(0, image(), [image = QPointer<ImageWidget>(image())] {
      if (image && image->isVisible() && image->isEnabled()) image->press();
    });
  }
  QStringList keyBindingsForAction(const QString& action) const override {
    const std::string_view key = keyFor(image()->id());
    if (action != pressAction() || key.empty())
      return QAccessibleWidget::keyBindingsForAction(action);
    return {QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()))};
  }

 private:
  ImageWidget* image() const { return static_cast<ImageWidget*>(widget()); }
};

QAccessibleInterface* imageAccessible(const QString&, QObject* object) {
  auto* image = dynamic_cast<ImageWidget*>(object);
  return image && image->isButton() ? new ImageAccessible(image) : nullptr;
}

// A 1-px outlined rectangle.
class ShapeWidget : public QWidget {
 public:
  explicit ShapeWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(QPen(modelColour(kShapeOutline), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
};

// Geometry, visibility and enabled state are common to every control.
class ControlView : public ModelView {
 public:
  ControlView(Control& c, QWidget* w) : control_(c), widget_(w) {
    widget_->setObjectName(QString::fromStdString(c.name));
  }
  ~ControlView() override = default;
  QWidget* widget() override { return widget_; }
  void sync() override {
    QRect r = pxRect(control_);
    if (control_.kind == ControlKind::Line) r.setHeight(std::max(1, r.height()));
    placeAs(widget_, control_, r);
    syncContents();
  }

 protected:
  virtual void syncContents() {}
  Control& control_;
  QWidget* widget_;
};

class ImageView : public ControlView {
 public:
  using ControlView::ControlView;

 protected:
  void syncContents() override {
    // Two-state buttons swap visibility, not pictures, but a picture change must still show.
    if (picture_ != control_.picture) {
      picture_ = control_.picture;
      widget_->update();
    }
  }

 private:
  std::string picture_;
};

class LabelView : public ControlView {
 public:
  LabelView(Control& c, QLabel* label) : ControlView(c, label), label_(label) {}

 protected:
  void syncContents() override {
    const QString text = QString::fromLocal8Bit(control_.caption.c_str());
    if (label_->text() != text) label_->setText(text);
    QPalette pal = label_->palette();
    if (pal.color(QPalette::WindowText) != modelColour(control_.color)) {
      pal.setColor(QPalette::WindowText, modelColour(control_.color));
      label_->setPalette(pal);
    }
  }

 private:
  QLabel* label_;
};

QLabel* makeLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setTextFormat(Qt::PlainText);
  label->setFont(skinFont());
  return label;
}

}  // namespace

std::unique_ptr<ModelView> makeControlView(ControlId id, Control& control, QWidget* parent,
                                           SkinPictures& skin, ClickSink onClick) {
  switch (control.kind) {
    case ControlKind::Frame: {
      auto* w = new QWidget(parent);
      fillWith(w, 0x000000);
      return std::make_unique<ControlView>(control, w);
    }
    case ControlKind::Image:
    case ControlKind::PictureBox: {
      // Once per process; every window's pictures are found by their type.
      static const bool factoryInstalled = (QAccessible::installFactory(&imageAccessible), true);
      (void)factoryInstalled;
      return std::make_unique<ImageView>(
          control, new ImageWidget(id, control, parent, skin, std::move(onClick)));
    }
    case ControlKind::Label:
      return std::make_unique<LabelView>(control, makeLabel(parent));
    case ControlKind::Shape:
      return std::make_unique<ControlView>(control, new ShapeWidget(parent));
    case ControlKind::Line: {
      auto* w = new QWidget(parent);
      w->setAttribute(Qt::WA_TransparentForMouseEvents);
      fillWith(w, control.color);
      return std::make_unique<ControlView>(control, w);
    }
    case ControlKind::ListBox:
    case ControlKind::FileListBox:
    case ControlKind::TreeView:
    case ControlKind::Player:
      break;
  }
  return nullptr;
}

void finishButtons(QWidget* root) {
  for (QWidget* w : root->findChildren<QWidget*>())
    if (auto* image = dynamic_cast<ImageWidget*>(w)) image->finishButton();
  // The first accessible name set in a process starts the accessibility bridge (about 2 ms).
  for (const auto& [list, name] : {std::pair{ControlId::List1, "Playlist"},
                                   {ControlId::File1, "Clips"},
                                   {ControlId::tvwControl, "Folders"}})
    if (auto* w = root->findChild<QWidget*>(objectNameOf(list))) w->setAccessibleName(name);
}

}  // namespace tunelark::qt
