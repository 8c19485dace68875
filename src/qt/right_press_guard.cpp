#include "qt/right_press_guard.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace tunelark::qt {

RightPressGuard::RightPressGuard(QWidget* window,
                                 std::function<void(int shift, int x, int y)> onPress)
    : QObject(window), window_(window), onPress_(std::move(onPress)) {
  qApp->installEventFilter(this);
}

bool RightPressGuard::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
      type != QEvent::MouseButtonRelease && type != QEvent::MouseMove)
    return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != window_) return false;
  auto* mouse = static_cast<QMouseEvent*>(event);
  const bool right = mouse->button() == Qt::RightButton ||
                     (type == QEvent::MouseMove && (mouse->buttons() & Qt::RightButton));
  if (!right) return false;
  if (type == QEvent::MouseButtonPress && onPress_) {
    const QPoint at = widget->mapTo(window_, mouse->position().toPoint());
    const Qt::KeyboardModifiers keys = mouse->modifiers();
    const int shift = (keys & Qt::ShiftModifier ? 1 : 0) | (keys & Qt::ControlModifier ? 2 : 0) |
                      (keys & Qt::AltModifier ? 4 : 0);
    onPress_(shift, at.x(), at.y());
  }
  return true;
}

}  // namespace tunelark::qt
