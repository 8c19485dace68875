#include "qt/control_views.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "qt/control_placement.h"
#include "qt/skin_style.h"
#include "qt/twips.h"

namespace tunelark::qt {

namespace {

void fillWith(QWidget* w, unsigned colour) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, modelColour(colour));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

// A skin picture; a button (tooltip, accessible name, pointing hand) when the model gives it a
// tooltip. Clicks go to the sink, which knows whether the control has a handler.
class ImageWidget : public QWidget {
 public:
  ImageWidget(const Control& c, QWidget* parent, SkinPictures& skin, ClickSink onClick)
      : QWidget(parent), control_(c), skin_(skin), onClick_(std::move(onClick)) {
    if (!c.tooltip.empty()) setToolTip(QString::fromStdString(c.tooltip));
  }

  // What a button needs only once the window is on screen: the first accessible name set in a
  // process starts the accessibility bridge (about 2 ms), and the first cursor loads the cursor
  // theme from disk (about 1 ms).
  void finishButton() {
    if (control_.tooltip.empty()) return;
    setAccessibleName(QString::fromStdString(control_.tooltip));
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(
        0, 0, skin_.picture(QString::fromStdString(control_.picture), size(), devicePixelRatioF()));
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
    if (click && onClick_) onClick_(control_.name);
  }

 private:
  const Control& control_;
  SkinPictures& skin_;
  ClickSink onClick_;
  bool pressed_ = false;
};

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

std::unique_ptr<ModelView> makeControlView(Control& control, QWidget* parent, SkinPictures& skin,
                                           ClickSink onClick) {
  switch (control.kind) {
    case ControlKind::Frame: {
      auto* w = new QWidget(parent);
      fillWith(w, 0x000000);
      return std::make_unique<ControlView>(control, w);
    }
    case ControlKind::Image:
    case ControlKind::PictureBox:
      return std::make_unique<ImageView>(
          control, new ImageWidget(control, parent, skin, std::move(onClick)));
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
}

}  // namespace tunelark::qt
