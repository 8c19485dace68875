#include "player/module/level_bar.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tunelark::module {

namespace {

class LevelBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit LevelBarAccessible(LevelBar* bar) : QAccessibleWidget(bar, QAccessible::Slider) {}
  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QVariant currentValue() const override {
    return static_cast<int>(std::lround(bar()->value() * 100));
  }
  void setCurrentValue(const QVariant& value) override {
    if (bar()->interactive()) bar()->pick(value.toDouble() / 100);
  }
  QVariant maximumValue() const override { return 100; }
  QVariant minimumValue() const override { return 0; }
  QVariant minimumStepSize() const override { return 5; }

 private:
  LevelBar* bar() const { return static_cast<LevelBar*>(widget()); }
};

QAccessibleInterface* levelBarAccessible(const QString&, QObject* object) {
  auto* bar = qobject_cast<LevelBar*>(object);
  return bar ? new LevelBarAccessible(bar) : nullptr;
}

constexpr double kKeyStep = 0.05;

}  // namespace

LevelBar::LevelBar(QColor fill, QWidget* parent) : QWidget(parent), fill_(fill) {
  // Once per process; the factory is found again for every bar.
  static const bool factoryInstalled = (QAccessible::installFactory(&levelBarAccessible), true);
  (void)factoryInstalled;
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
  // Painted whole by paintEvent, so Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void LevelBar::setValue(double fraction) {
  if (dragging_) return;
  place(fraction);
}

void LevelBar::setInteractive(bool interactive) {
  if (interactive == interactive_) return;  // called on every poll; a cursor change is not free
  interactive_ = interactive;
  setCursor(interactive ? Qt::PointingHandCursor : Qt::ArrowCursor);
  if (!interactive) dragging_ = false;
}

void LevelBar::place(double fraction) {
  if (!std::isfinite(fraction)) fraction = 0;
  fraction = std::clamp(fraction, 0.0, 1.0);
  // Repaint only when a pixel would change: the bar is polled several times a second.
  const int before = static_cast<int>(std::lround(value_ * (width() - 2)));
  const int after = static_cast<int>(std::lround(fraction * (width() - 2)));
  value_ = fraction;
  if (before != after) update();
}

double LevelBar::fractionAt(double x) const {
  if (width() <= 2) return 0;
  return std::clamp((x - 1) / (width() - 2), 0.0, 1.0);
}

void LevelBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  painter.fillRect(rect(), QColor(0x00, 0x14, 0x18));
  const int filled = static_cast<int>(std::lround(value_ * (width() - 2)));
  if (filled > 0) painter.fillRect(QRect(1, 1, filled, height() - 2), fill_);
  painter.setPen(QColor(0x00, 0x80, 0x80));
  painter.drawRect(frame);
}

void LevelBar::mousePressEvent(QMouseEvent* event) {
  if (!interactive_ || event->button() != Qt::LeftButton) return;
  dragging_ = true;
  place(fractionAt(event->position().x()));
  emit moved(value_);
}

void LevelBar::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  place(fractionAt(event->position().x()));
  emit moved(value_);
}

void LevelBar::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  dragging_ = false;
  pick(fractionAt(event->position().x()));
}

void LevelBar::pick(double fraction) {
  place(fraction);
  announce();
  emit picked(value_);
}

void LevelBar::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  double to = value_;
  if (key == Qt::Key_Left || key == Qt::Key_Down)
    to -= kKeyStep;
  else if (key == Qt::Key_Right || key == Qt::Key_Up)
    to += kKeyStep;
  else if (key == Qt::Key_Home)
    to = 0;
  else if (key == Qt::Key_End)
    to = 1;
  else
    return QWidget::keyPressEvent(event);
  if (interactive_) pick(to);
}

void LevelBar::announce() {
  QAccessibleValueChangeEvent changed(this, static_cast<int>(std::lround(value_ * 100)));
  QAccessible::updateAccessibility(&changed);
}

}  // namespace tunelark::module
