#pragma once
// The services the window model asks of its host: on screen the Qt front end provides them,
// in tests a recording fake does.

#include <string>

namespace tunelark {

// ---- Desktop integration: each service has an interface file of its own ----
class NotifyIconService;
class ShellOpen;
class PopupMenus;

class HostServices {
 public:
  virtual ~HostServices() = default;
  // The system beep.
  virtual void beep() = 0;
  // A message box titled "Tunelark" with the exclamation icon and an OK button; returns when
  // the user has closed it.
  virtual void messageBox(const std::string& text) = 0;
  // Lets pending window messages through once (before a folder scan, so the window repaints).
  virtual void processPendingEvents() = 0;
  // Shows or clears the busy mouse pointer.
  virtual void setBusy(bool busy) = 0;
  // Ends the process at once, running no unload handler.
  virtual void endProcess() = 0;

  // ---- Desktop integration ----
  // The tray's icons, opening links, popup menus. None on a host without a desktop (the build's
  // tools, benchmarks, model-only tests): the tray then counts as missing, links open nothing
  // and a popup menu is dismissed at once.
  virtual NotifyIconService* notifyIcons() { return nullptr; }
  virtual ShellOpen* shellOpen() { return nullptr; }
  virtual PopupMenus* popupMenus() { return nullptr; }
};

}  // namespace tunelark
