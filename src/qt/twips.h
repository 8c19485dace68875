#pragma once
// Twips to logical pixels: 15 twips to a pixel; Qt scales logical pixels for high-DPI screens.

#include <QRect>

#include "ui/control.h"

namespace tunelark::qt {

inline constexpr int kTwipsPerPixel = 15;

// Rounded to the nearest pixel, so a frame top of 1300 lands on 87 and not on 86.
constexpr int px(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline QRect pxRect(const Control& c) {
  return QRect(px(c.left), px(c.top), px(c.width), px(c.height));
}

}  // namespace tunelark::qt
