#include "player/module/level_bar.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tunelark::module {

LevelBar::LevelBar(QColor fill, QWidget* parent) : QWidget(parent), fill_(fill) {
  setCursor(Qt::PointingHandCursor);
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
  place(fractionAt(event->position().x()));
  emit picked(value_);
}

}  // namespace tunelark::module
