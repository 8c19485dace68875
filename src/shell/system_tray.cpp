#include "shell/system_tray.h"

#include <algorithm>

#include "ui/form1.h"

namespace tunelark {

void SystemTrayBas::addtray(const std::string& tip) {
  traydata.cbSize = sizeof(NotifyIconData);
  traydata.hWnd = form_.hWnd;
  traydata.uID = form_.hWnd;
  traydata.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  traydata.uCallbackMessage = WM_RBUTTONDOWN;
  traydata.hIcon = form_.Icon;
  // The tip ends at its NUL; the rest of the field is spaces, as the record has always carried
  // it. A tip too long for the field is cut so that the NUL still fits.
  traydata.szTip.fill(' ');
  const std::size_t length = std::min(tip.size(), traydata.szTip.size() - 1);
  std::copy_n(tip.begin(), length, traydata.szTip.begin());
  traydata.szTip[length] = '\0';
  if (NotifyIconService* shell = form_.host.notifyIcons())
    shell->Shell_NotifyIconA(NIM_ADD, traydata);
}

void SystemTrayBas::deletetray() {
  if (NotifyIconService* shell = form_.host.notifyIcons())
    shell->Shell_NotifyIconA(NIM_DELETE, traydata);
}

}  // namespace tunelark
