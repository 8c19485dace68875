#include "qt/window_message.h"

namespace tunelark::qt {

QEvent::Type WindowMessageEvent::eventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

}  // namespace tunelark::qt
