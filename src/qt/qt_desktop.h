#pragma once
// The desktop services on screen: the tray's icons (kept by the shell's rules, shown with
// QSystemTrayIcon), links opened with QDesktopServices, popup menus as QMenu. And the
// program's host, which offers them beside the basic services.

#include "platform/notify_icon_shell.h"
#include "platform/popup_menu.h"
#include "platform/shell_open.h"
#include "qt/qt_host.h"
#include "qt/qt_tray_display.h"

namespace tunelark::qt {

class QtDesktop : public ShellOpen, public PopupMenus {
 public:
  // A bare host name becomes an http URL; a "mailto:" link stays one.
  void ShellExecuteA(std::uint32_t hWnd, const std::string& file) override;
  int PopupMenu(const Menu& menu, int defaultItem) override;

  NotifyIconShell& notifyIcons() { return shell_; }
  QtTrayDisplay& tray() { return display_; }

 private:
  QtTrayDisplay display_;
  NotifyIconShell shell_{display_};
};

class QtDesktopHost : public QtHost {
 public:
  NotifyIconService* notifyIcons() override { return &desktop_.notifyIcons(); }
  ShellOpen* shellOpen() override { return &desktop_; }
  PopupMenus* popupMenus() override { return &desktop_; }

 private:
  QtDesktop desktop_;
};

}  // namespace tunelark::qt
