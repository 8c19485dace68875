#include "platform/notify_icon_shell.h"

namespace tunelark {

bool NotifyIconShell::Shell_NotifyIconA(std::uint32_t dwMessage, const NotifyIconData& data) {
  // A record that was never filled names no window: nothing can be added or deleted with it.
  if (data.cbSize != sizeof(NotifyIconData) || data.hWnd == 0) return false;
  const std::pair<std::uint32_t, std::uint32_t> key{data.hWnd, data.uID};
  switch (dwMessage) {
    case NIM_ADD:
      if (icons_.count(key) || !display_.available() || !display_.show(data)) return false;
      icons_.insert(key);
      return true;
    case NIM_DELETE:
      if (!icons_.erase(key)) return false;
      display_.remove(data.hWnd, data.uID);
      return true;
    default:
      return false;
  }
}

}  // namespace tunelark
