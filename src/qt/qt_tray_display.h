#pragma once
// The desktop's tray as the shell's display: one QSystemTrayIcon per icon, showing the icon of
// the window the record names and the record's tip. The icon's mouse actions are posted to that
// window as the record's callback message with the mouse message they stand for; when the tray
// host goes away, the windows with icons are told.

#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <map>
#include <memory>
#include <utility>

#include "platform/notify_icon_shell.h"

namespace tunelark::qt {

class QtTrayDisplay : public QObject, public TrayIconDisplay {
 public:
  QtTrayDisplay();
  ~QtTrayDisplay() override;

  bool available() const override;
  bool show(const NotifyIconData& data) override;
  void remove(std::uint32_t hWnd, std::uint32_t uID) override;

  // The mouse message a tray activation stands for.
  static std::uint32_t mouseMessageFor(QSystemTrayIcon::ActivationReason reason);

 private:
  void watchTrayHost();

  using Key = std::pair<std::uint32_t, std::uint32_t>;  // (hWnd, uID)
  std::map<Key, std::unique_ptr<QSystemTrayIcon>> icons_;
  // Qt announces no tray host leaving, so while icons exist the tray is looked at now and then
  // (a cached answer on X11, no round trip while the host is there).
  QTimer hostWatch_;
  bool hostSeen_ = false;
};

}  // namespace tunelark::qt
