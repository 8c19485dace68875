#pragma once
// What a window manager does when the user clicks its close button: a WM_DELETE_WINDOW message
// sent to the window. Lets the tests close the window the way a desktop would, with no window
// manager running.

#include <string>

namespace tunelark::e2e {

// Sends WM_DELETE_WINDOW to the window with X id `windowId` (decimal) on $DISPLAY; false when
// the display cannot be reached.
bool askWindowToClose(const std::string& windowId);

}  // namespace tunelark::e2e
