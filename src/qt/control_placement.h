#pragma once
// A widget brought in line with the box of the control it draws: place, enabled state and
// visibility. The geometry is set only when it changed, so an unchanged sync causes no relayout.

#include <QWidget>

#include "qt/twips.h"

namespace tunelark::qt {

inline void placeAs(QWidget* widget, const Control& box, const QRect& place) {
  if (widget->geometry() != place) widget->setGeometry(place);
  widget->setEnabled(box.enabled);
  widget->setVisible(box.visible);
}

inline void placeAs(QWidget* widget, const Control& box) { placeAs(widget, box, pxRect(box)); }

}  // namespace tunelark::qt
