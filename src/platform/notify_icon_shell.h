#pragma once
// The shell's bookkeeping of notification icons: one icon per window and number, a second add
// of the same icon refused, a delete of an icon it does not hold refused. Drawing the icons is
// left to a tray display, which the front end provides.

#include <cstdint>
#include <set>
#include <utility>

#include "platform/notify_icon.h"

namespace tunelark {

// Where the icons appear: the desktop's tray.
class TrayIconDisplay {
 public:
  virtual ~TrayIconDisplay() = default;
  virtual bool available() const = 0;
  // Puts up the icon the record describes; its mouse actions go to the record's window as its
  // callback message. False when there is no such window to send them to.
  virtual bool show(const NotifyIconData& data) = 0;
  virtual void remove(std::uint32_t hWnd, std::uint32_t uID) = 0;
};

class NotifyIconShell : public NotifyIconService {
 public:
  explicit NotifyIconShell(TrayIconDisplay& display) : display_(display) {}

  bool Shell_NotifyIconA(std::uint32_t dwMessage, const NotifyIconData& data) override;
  bool trayAvailable() const override { return display_.available(); }

 private:
  TrayIconDisplay& display_;
  std::set<std::pair<std::uint32_t, std::uint32_t>> icons_;  // (hWnd, uID) of each icon
};

}  // namespace tunelark
