// Shutdown: what the main window stores when the run ends, by the exit button or otherwise.
#include "app/last_playlist_setting.h"
#include "ui/form1.h"

namespace tunelark {

void Form1::Form_Unload() {
  if (!storeLastPlaylist(app.settingsPath, app.lastfile)) host.beep();
}

void Form1::Image21_Click() {
  // Ending the process at once runs no unload handler, so the path is stored here, once.
  if (!storeLastPlaylist(app.settingsPath, app.lastfile)) host.beep();
  host.endProcess();
}

}  // namespace tunelark
