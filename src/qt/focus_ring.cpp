#include "qt/focus_ring.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>

namespace tunelark::qt {

namespace {

// Amber, apart from the skin's cyan and green text so it never reads as a selected row, with a
// black line inside that keeps it clear of the lit pictures it lies over.
const QColor kRing(0xff, 0xc8, 0x20);

}  // namespace

FocusRing::FocusRing(QWidget* window) : QWidget(window), window_(window) {
  setObjectName(QStringLiteral("focusRing"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_TranslucentBackground);
  setFocusPolicy(Qt::NoFocus);
  hide();
  qApp->installEventFilter(this);
}

FocusRing::~FocusRing() { qApp->removeEventFilter(this); }

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn: {
      auto* w = qobject_cast<QWidget*>(watched);
      if (!w || w->window() != window_ || w == window_) break;
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
          reason == Qt::ShortcutFocusReason)
        keyboard_ = true;
      else if (reason == Qt::MouseFocusReason)
        keyboard_ = false;
      follow(w);
      break;
    }
    case QEvent::FocusOut:
      if (watched == target_) follow(nullptr);
      break;
    case QEvent::MouseButtonPress: {
      auto* w = qobject_cast<QWidget*>(watched);
      if (w && w->window() == window_) {
        keyboard_ = false;
        hide();
      }
      break;
    }
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
      if (watched == target_) place();
      break;
    default:
      break;
  }
  return false;
}

void FocusRing::follow(QWidget* target) {
  target_ = target;
  if (target && parentWidget() != target->parentWidget()) setParent(target->parentWidget());
  place();
}

void FocusRing::place() {
  if (!target_ || !keyboard_ || !target_->isVisible()) return hide();
  setGeometry(target_->geometry());
  raise();
  show();
  update();
}

void FocusRing::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRectF outer =
      QRectF(rect()).adjusted(kWidth / 2.0, kWidth / 2.0, -kWidth / 2.0, -kWidth / 2.0);
  p.setPen(QPen(kRing, kWidth));
  p.drawRect(outer);
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(QRectF(rect()).adjusted(kWidth + 0.5, kWidth + 0.5, -kWidth - 0.5, -kWidth - 0.5));
}

}  // namespace tunelark::qt
