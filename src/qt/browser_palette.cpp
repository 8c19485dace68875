#include "qt/browser_palette.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace tunelark::qt {

void applyBrowserPalette(QAbstractScrollArea* view, QColor text) {
  QPalette pal = view->palette();
  pal.setColor(QPalette::Base, Qt::black);
  pal.setColor(QPalette::Text, text);
  pal.setColor(QPalette::Highlight, text);
  pal.setColor(QPalette::HighlightedText, Qt::black);
  view->setPalette(pal);

  QPalette bars = pal;
  const QColor groove(0x0a, 0x14, 0x18);
  const QColor handle(0x1d, 0x4f, 0x5c);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    bars.setColor(group, QPalette::Window, groove);
    bars.setColor(group, QPalette::Base, groove);
    bars.setColor(group, QPalette::Button, handle);
    bars.setColor(group, QPalette::ButtonText, text);
    bars.setColor(group, QPalette::WindowText, text);
    bars.setColor(group, QPalette::Light, handle.lighter(130));
    bars.setColor(group, QPalette::Midlight, handle.lighter(115));
    bars.setColor(group, QPalette::Mid, handle.darker(130));
    bars.setColor(group, QPalette::Dark, groove);
    bars.setColor(group, QPalette::Shadow, Qt::black);
  }
  view->horizontalScrollBar()->setPalette(bars);
  view->verticalScrollBar()->setPalette(bars);
}

}  // namespace tunelark::qt
