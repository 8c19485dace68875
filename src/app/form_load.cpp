// Start-up: everything the main window does before it is first shown.
#include <algorithm>

#include "app/last_playlist_setting.h"
#include "platform/ascii.h"
#include "platform/windows_dir.h"
#include "playlist/startup_load.h"
#include "ui/form1.h"

namespace tunelark {

void Form1::Form_Load() {
  buildtree();
  Label2.caption = "Tunelark 2.01";
  app.windowsDir = getwindowsdir();
  RealAudio1.setAutoStart(false);
  playershown = 1;
  browsershown = 1;
  listshown = 1;
  playstate = 0;
  app.settingsPath = app.windowsDir + "/" + kSettingsFileName;

  // A missing file or key is an ordinary first start; an empty value is worth a beep. A value
  // with a control character in it names no file anyone made, and could not be stored back.
  if (const auto stored = readLastPlaylist(app.settingsPath)) {
    if (stored->empty()) {
      host.beep();
    } else if (!std::ranges::any_of(*stored, isControlByte)) {
      app.lastfile = *stored;
    }
  }
  startupLoad(*this);
}

}  // namespace tunelark
