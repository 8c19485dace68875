#pragma once
// Putting the main window in the tray for the presentations that use it, and what happens on a
// desktop that has no tray.

namespace tunelark {

class Form1;

// The tray icon's tip.
inline constexpr const char* kTrayTip = "Tunelark 2.01";
// Told once a run, at the first tray presentation on a desktop without a tray.
inline constexpr const char* kNoTrayMessage = "System Tray Not Available";

// Adds the tray icon (addtray with the tip). False when the desktop has no tray: the caller then
// keeps the window in the taskbar, since a hidden window could not be brought back.
bool enterTray(Form1& form);

}  // namespace tunelark
