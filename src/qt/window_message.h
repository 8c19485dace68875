#pragma once
// A message for a window from the shell, delivered as a Qt event to the widget whose handle it
// names: the tray icon's callback (a mouse message in lParam), or the tray host leaving.

#include <QEvent>
#include <cstdint>

namespace tunelark::qt {

// Not a Windows message: the tray host has gone away, and every icon with it.
inline constexpr std::uint32_t kTrayHostLost = 0x8001;

class WindowMessageEvent : public QEvent {
 public:
  WindowMessageEvent(std::uint32_t message, std::uint32_t lParam)
      : QEvent(eventType()), message_(message), lParam_(lParam) {}
  static QEvent::Type eventType();
  std::uint32_t message() const { return message_; }
  std::uint32_t lParam() const { return lParam_; }

 private:
  std::uint32_t message_;
  std::uint32_t lParam_;
};

}  // namespace tunelark::qt
