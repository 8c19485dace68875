#pragma once
// The browser lists' colours: text of the given colour on black, the selection inverted, and
// scroll bars in dark shades so they sit in the skin instead of shining white.

#include <QColor>

class QAbstractScrollArea;

namespace tunelark::qt {

void applyBrowserPalette(QAbstractScrollArea* view, QColor text);

}  // namespace tunelark::qt
