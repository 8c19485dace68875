#pragma once
// The tray host of the test display: whether one is running, stopping it the hard way (its
// connection to the display is cut, as when it crashes) and starting a new one.

namespace tunelark::desktop_testing {

bool trayHostRunning();
// True once no tray host owns the tray any more.
bool stopTrayHost();
// True once a new tray host owns the tray. It lives as long as the display.
bool startTrayHost();

}  // namespace tunelark::desktop_testing
