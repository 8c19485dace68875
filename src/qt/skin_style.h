#pragma once
// The colours and the lettering of the window's text, one place for every widget: the model
// keeps colours as 0xRRGGBB, and all text is drawn in one small face that the skin's boxes are
// sized for.

#include <QColor>
#include <QFont>

namespace tunelark::qt {

inline QColor modelColour(unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

// DejaVu Sans at `pixels`; 11 px fits the 255-twip (17 px) rows and boxes of the skin.
inline QFont skinFont(int pixels = 11) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  return font;
}

}  // namespace tunelark::qt
