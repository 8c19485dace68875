#pragma once
// The Options menu (mnuoption): the main window's popup menu, reached from the tray icon and
// never shown as a menu bar. Its items are the control array mnuopt(0..9).

#include "platform/popup_menu.h"

namespace tunelark {

inline constexpr int kMnuAbout = 0;
inline constexpr int kMnuShowPlaylist = 2;
inline constexpr int kMnuPlay = 4;
inline constexpr int kMnuStop = 5;
inline constexpr int kMnuPrevClip = 6;
inline constexpr int kMnuNextClip = 7;
inline constexpr int kMnuExit = 9;

// The right mouse button, as Form_MouseDown's Button gives it.
inline constexpr int kRightButton = 2;

// The menu as designed, every item enabled.
Menu optionsMenu();

}  // namespace tunelark
