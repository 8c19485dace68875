// The minimise button and the tray host leaving: where the main window lives.
#include "shell/presentation.h"

#include "app/last_playlist_setting.h"
#include "platform/notify_icon.h"
#include "shell/presentation_setting.h"
#include "ui/form1.h"

namespace tunelark {

bool enterTray(Form1& form) {
  form.SystemTray.addtray(kTrayTip);
  const NotifyIconService* shell = form.host.notifyIcons();
  if (shell && shell->trayAvailable()) return true;
  if (!form.SystemTray.trayMissingTold) {
    form.SystemTray.trayMissingTold = true;
    form.host.messageBox(kNoTrayMessage);
  }
  return false;
}

void Form1::Image27_Click() {
  // The choice is read anew each time, so a change made in Preferences counts at once.
  app.settingsPath = app.windowsDir + "/" + kSettingsFileName;
  const StoredPresentation stored = readPresentation(app.settingsPath);
  if (stored.noCharacters) host.beep();
  switch (stored.value) {
    case kTrayOnly:
      Visible = !enterTray(*this);
      break;
    case kTaskbarAndTray:
      enterTray(*this);
      Visible = true;
      break;
    default:  // taskbar only, and anything that is not a presentation
      Visible = true;
      break;
  }
  WindowState = ShowState::Minimised;
}

void Form1::trayHostLost() {
  // A hidden window's only way back was its tray icon; with the tray gone it returns to the
  // taskbar as it was.
  Visible = true;
}

}  // namespace tunelark
